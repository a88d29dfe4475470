// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/sdl/window_system.hpp"

struct SDL_Window;

namespace testcard {

// The window systems testcard knows, by SDL video driver: the one place that
// decides which window system testcard runs on and what that means.

// Chooses which of SDL's video drivers to try, before SDL starts its video
// system: Wayland first in a Wayland session (SDL on its own would take
// XWayland, which a compositor scales on high-DPI outputs), then X11; X11
// alone where no Wayland compositor can be reached, so that libwayland has
// no chance to print its own complaints about a missing session. A driver
// the user names in SDL_VIDEODRIVER always wins.
void ChooseVideoDriver();

// Whether a Wayland compositor's socket can be reached: WAYLAND_DISPLAY (a
// path, or a name in XDG_RUNTIME_DIR), else "wayland-0" in XDG_RUNTIME_DIR.
bool WaylandSocketReachable();

// What testcard makes of the video driver SDL runs on.
struct VideoDriver {
  const char* name;  // SDL's name for it
  // False for the drivers SDL falls back to where no display can be reached,
  // which draw into memory only: a window there would run unseen and never
  // get a key.
  bool showsWindows;
  // Whether a window has a pixel buffer of its own (shared memory on X11)
  // to put the picture in. Where it has, no 3D renderer is wanted: there is
  // nothing to scale or blend, and a renderer costs a graphics stack,
  // hundreds of milliseconds at start-up and copies of the picture.
  bool windowBuffer;
  // The window system's part of a new window; it may show the window.
  std::unique_ptr<WindowSystem> (*open)(SDL_Window* window);
};

// The entry for SDL's current video driver; drivers the table does not name
// get one that leaves everything to SDL.
const VideoDriver& CurrentVideoDriver();

}  // namespace testcard
