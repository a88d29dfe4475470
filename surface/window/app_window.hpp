// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

#include "surface/form/window_port.hpp"
#include "surface/raster/canvas.hpp"
#include "surface/window/window_event.hpp"

namespace testcard {

// Raised when no window can be had at all (no display, no video driver):
// the program cannot start. what() says what failed.
class WindowUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when the connection to the window system is gone (the compositor or
// X server ended, crashed or the session closed): there is no display left
// to show anything on, so the program ends with status 1 and what() as its
// one line.
class WindowLost : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The window the desktop program runs in, whatever the window system: the
// SDL window on a real display, stand-ins in the tests. Its events arrive
// already turned into WindowEvents. Failures raise RunTimeError.
class AppWindow : public WindowPort {
 public:
  // The size of the screen the window is to cover, in device pixels: the
  // primary display on X11, the output the compositor gave it on Wayland.
  virtual PixelSize PrimaryDisplaySize() const = 0;
  // The client area's size in device pixels, as it is now.
  virtual PixelSize ClientSize() const = 0;
  // Shows `picture` in the client area from now on: puts it on the screen
  // and makes the window visible. `picture` must outlive the window's use.
  virtual void Show(const Canvas& picture) = 0;
  // Puts the picture on the screen again, after it changed or after the
  // window system lost the window's contents.
  virtual void Present() = 0;
  // Waits for the next event of the window system that means something to
  // the program.
  virtual WindowEvent NextEvent() = 0;
  // Tells the user about a fatal error in a message box, with the window out
  // of the way. Returns false when the box could not be shown.
  virtual bool ShowErrorBox(const std::string& title, const std::string& text) = 0;
};

}  // namespace testcard
