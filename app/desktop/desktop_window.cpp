// SPDX-License-Identifier: MIT
#include "app/desktop/desktop_window.hpp"

#include <cstdlib>
#include <string>
#include <string_view>

#include "surface/sdl/sdl_window.hpp"
#include "surface/wayland/wayland_socket.hpp"
#include "surface/wayland/wayland_window.hpp"

namespace testcard {
namespace {

// The user's choice of window system, if any: SDL_VIDEODRIVER, which SDL
// reads too ("x11", "wayland", or a list such as "wayland,x11").
std::string_view AskedDriver() {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return asked != nullptr ? asked : "";
}

bool WaylandWanted() {
  const std::string_view asked = AskedDriver();
  if (!asked.empty()) return asked.find("wayland") != std::string_view::npos;
  return WaylandSocketReachable();
}

bool Always() {
  return true;
}

struct DesktopWindowSystem {
  const char* name;
  bool (*wanted)();
  std::unique_ptr<AppWindow> (*open)();
};

constexpr DesktopWindowSystem kSystems[] = {
    {"Wayland", WaylandWanted,
     []() -> std::unique_ptr<AppWindow> {
       return std::make_unique<WaylandWindow>(ShowSdlErrorBox);
     }},
    {"SDL", Always, []() -> std::unique_ptr<AppWindow> { return std::make_unique<SdlWindow>(); }},
};

}  // namespace

std::unique_ptr<AppWindow> OpenDesktopWindow() {
  std::string reasons;
  for (const DesktopWindowSystem& system : kSystems) {
    if (!system.wanted()) continue;
    try {
      return system.open();
    } catch (const WindowUnavailable& error) {
      reasons += (reasons.empty() ? "" : "; ") + std::string(error.what());
    }
  }
  throw WindowUnavailable(reasons);
}

}  // namespace testcard
