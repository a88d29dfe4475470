// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/canvas.hpp"

struct SDL_Window;

namespace testcard {

// Shows the picture on an X11 window of 10 bits a channel (an X server at
// depth 30), which SDL has no window surface for. Each 8-bit value v is
// shown as its 10-bit equivalent, v × 1023 / 255 rounded, so that 255 is
// full brightness and every step of a ramp stays a step of its own. Pixels
// beyond the picture are black.
class X11DeepColour {
 public:
  // The output for `window` when it is an X11 window at depth 30; nothing
  // for any other window, which SDL's window surface serves.
  static std::unique_ptr<X11DeepColour> For(SDL_Window* window);
  ~X11DeepColour();
  X11DeepColour(const X11DeepColour&) = delete;
  X11DeepColour& operator=(const X11DeepColour&) = delete;

  // Puts `picture` into the window from its top-left corner. Raises
  // RunTimeError when the window cannot take it.
  void Show(const Canvas& picture);

 private:
  X11DeepColour() = default;
  void* display_ = nullptr;  // Xlib's Display and GC, kept out of this header
  unsigned long window_ = 0;
  void* gc_ = nullptr;
  unsigned long masks_[3] = {};  // red, green, blue
};

}  // namespace testcard
