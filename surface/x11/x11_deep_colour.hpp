// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "surface/window/presenter.hpp"
#include "surface/x11/x11_types.hpp"

namespace testcard {

// Shows the picture on an X11 window of 10 bits a channel (an X server at
// depth 30), which SDL has no window surface for. Each 8-bit value v is
// shown as its 10-bit equivalent, v × 1023 / 255 rounded, so that 255 is
// full brightness and every step of a ramp stays a step of its own.
class X11DeepColour : public Presenter {
 public:
  // The presenter for `window` when it is at depth 30 with a true or direct
  // colour visual; nothing for any other window.
  static std::unique_ptr<X11DeepColour> For(X11Display* display, X11Window window);
  ~X11DeepColour() override;
  X11DeepColour(const X11DeepColour&) = delete;
  X11DeepColour& operator=(const X11DeepColour&) = delete;

  void Show(const Canvas& picture) override;

 private:
  X11DeepColour() = default;
  X11Display* display_ = nullptr;
  X11Window window_ = 0;
  void* gc_ = nullptr;  // Xlib's GC, kept out of this header
  // Each 8-bit value at its place in a pixel: red, green, blue.
  std::array<std::array<std::uint32_t, 256>, 3> channels_{};
};

}  // namespace testcard
