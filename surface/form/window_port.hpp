// SPDX-License-Identifier: MIT
#pragma once

namespace testcard {

// A rectangle of the screen in device pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PixelSize {
  int width = 0;
  int height = 0;
};

// What GridForm needs from a real window: the window system behind it
// implements this (the SDL window does); a headless GridForm has none.
class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // Places the window so that its client area covers `client`, in device
  // pixels, and returns the client size the window really got, in device
  // pixels (the canvas takes exactly that size). Raises RunTimeError when
  // the window system refuses.
  virtual PixelSize Place(const PixelRect& client) = 0;
};

}  // namespace testcard
