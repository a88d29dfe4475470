// SPDX-License-Identifier: MIT
#include "surface/sdl/video_drivers.hpp"

#include <SDL.h>

#include <string>

#include "surface/sdl/plain_window_system.hpp"
#include "surface/sdl/x11_window_system.hpp"

namespace testcard {
namespace {

template <typename System>
std::unique_ptr<WindowSystem> Open(SDL_Window* window) {
  return std::make_unique<System>(window);
}

constexpr VideoDriver kDrivers[] = {
    {"x11", true, Open<X11WindowSystem>},
    {"offscreen", false, Open<PlainWindowSystem>},
    {"dummy", false, Open<PlainWindowSystem>},
};
constexpr VideoDriver kAnyOtherDriver = {"", true, Open<PlainWindowSystem>};

}  // namespace

void ChooseVideoDriver() {
  // A hint of normal priority gives way to the SDL_VIDEODRIVER variable.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
}

const VideoDriver& CurrentVideoDriver() {
  const char* current = SDL_GetCurrentVideoDriver();
  for (const VideoDriver& driver : kDrivers) {
    if (current != nullptr && std::string(current) == driver.name) return driver;
  }
  return kAnyOtherDriver;
}

}  // namespace testcard
