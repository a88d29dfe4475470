// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_events.h>

#include <stdexcept>
#include <string>

#include "surface/canvas.hpp"
#include "surface/window_port.hpp"

namespace testcard {

// Raised when no window can be had at all (no display, no video driver):
// the program cannot start. what() says what failed.
class WindowUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The window the program runs in, as the program uses it: SdlWindow on a
// real display, stand-ins in the tests. Failures raise RunTimeError. It is
// the window part's interface, not the drawing core's: its events are SDL's
// own, so only the window library, the program and their tests include it.
class AppWindow : public WindowPort {
 public:
  // The primary display's size in device pixels.
  virtual PixelSize PrimaryDisplaySize() const = 0;
  // The client area's size in device pixels, as it is now.
  virtual PixelSize ClientSize() const = 0;
  // Shows `picture` in the client area from now on: puts it on the screen
  // and makes the window visible. `picture` must outlive the window's use.
  virtual void Show(const Canvas& picture) = 0;
  // Puts the picture on the screen again: after it changed, or after the
  // window system lost the window's contents (exposed, restored).
  virtual void Present() = 0;
  // Waits for the next event of the window system.
  virtual SDL_Event NextEvent() = 0;
  // Tells the user about a fatal error in a message box, with the window out
  // of the way. Returns false when the box could not be shown.
  virtual bool ShowErrorBox(const std::string& title, const std::string& text) = 0;
};

}  // namespace testcard
