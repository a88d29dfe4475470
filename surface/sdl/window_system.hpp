// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_events.h>

#include "surface/form/window_port.hpp"
#include "surface/raster/canvas.hpp"
#include "surface/window/window_event.hpp"

namespace testcard {

// What one window system does for an SDL window beyond what SDL does for
// every one: how the window covers its screen, the sizes it reports, how
// the picture reaches the screen (a Presenter chosen from what the window
// system offers) and what its own raw events mean. One implementation per
// window system, picked once from the table in video_drivers.hpp.
//
// Failures raise RunTimeError.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The size of the screen the window is to cover, in device pixels.
  virtual PixelSize ScreenSize() const = 0;
  // The window's client size in device pixels, as it is now.
  virtual PixelSize ClientSize() const = 0;
  // Places the window's client area on `client` (at least 1 x 1) as well
  // as the window system lets it, and returns the client size it got.
  virtual PixelSize Place(const PixelRect& client) = 0;
  // Puts `picture` on the screen.
  virtual void Present(const Canvas& picture) = 0;
  // What a raw event of the window system (SDL_SYSWMEVENT) means.
  virtual WindowEvent SystemEvent(const SDL_Event& event) = 0;
};

}  // namespace testcard
