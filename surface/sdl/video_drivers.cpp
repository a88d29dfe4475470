// SPDX-License-Identifier: MIT
#include "surface/sdl/video_drivers.hpp"

#include <SDL.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "surface/sdl/plain_window_system.hpp"
#include "surface/sdl/wayland_window_system.hpp"
#include "surface/sdl/x11_window_system.hpp"

namespace testcard {
namespace {

bool IsSocket(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

template <typename System>
std::unique_ptr<WindowSystem> Open(SDL_Window* window) {
  return std::make_unique<System>(window);
}

constexpr VideoDriver kDrivers[] = {
    {"x11", true, true, Open<X11WindowSystem>},
    {"wayland", true, false, Open<WaylandWindowSystem>},
    {"offscreen", false, true, Open<PlainWindowSystem>},
    {"dummy", false, true, Open<PlainWindowSystem>},
};
constexpr VideoDriver kAnyOtherDriver = {"", true, true, Open<PlainWindowSystem>};

}  // namespace

bool WaylandSocketReachable() {
  const std::string display = Variable("WAYLAND_DISPLAY");
  if (!display.empty() && display.front() == '/') return IsSocket(display);
  const std::string runtime = Variable("XDG_RUNTIME_DIR");
  if (runtime.empty()) return false;
  return IsSocket(runtime + "/" + (display.empty() ? "wayland-0" : display));
}

void ChooseVideoDriver() {
  // A hint of normal priority gives way to the SDL_VIDEODRIVER variable.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, WaylandSocketReachable() ? "wayland,x11" : "x11");
}

const VideoDriver& CurrentVideoDriver() {
  const char* current = SDL_GetCurrentVideoDriver();
  for (const VideoDriver& driver : kDrivers) {
    if (current != nullptr && std::string(current) == driver.name) return driver;
  }
  return kAnyOtherDriver;
}

}  // namespace testcard
