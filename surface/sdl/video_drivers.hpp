// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/sdl/window_system.hpp"

struct SDL_Window;

namespace testcard {

// The video drivers SDL may run testcard's window on, and what each means:
// the one place on the SDL side that decides which window system it is.

// Asks SDL for its X11 driver before it starts its video system: on
// Wayland testcard is a client of its own (surface/wayland/), so SDL is
// there for X11 (XWayland too, when asked for). A driver the user names in
// SDL_VIDEODRIVER wins.
void ChooseVideoDriver();

// What testcard makes of the video driver SDL runs on.
struct VideoDriver {
  const char* name;  // SDL's name for it
  // False for the drivers SDL falls back to where no display can be reached,
  // which draw into memory only: a window there would run unseen and never
  // get a key.
  bool showsWindows;
  // The window system's part of a new window.
  std::unique_ptr<WindowSystem> (*open)(SDL_Window* window);
};

// The entry for SDL's current video driver; drivers the table does not name
// get one that leaves everything to SDL.
const VideoDriver& CurrentVideoDriver();

}  // namespace testcard
