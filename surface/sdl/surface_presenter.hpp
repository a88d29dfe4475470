// SPDX-License-Identifier: MIT
#pragma once

#include "surface/window/presenter.hpp"

struct SDL_Window;

namespace testcard {

// Shows the picture in the window's own pixel buffer (SDL's window surface:
// shared memory on X11), in whatever pixel format the buffer has: copied
// as it is where the layouts agree, red and blue swapped for the usual
// XRGB, through SDL's conversion otherwise (at depth 16, the top bits of
// each value).
class SurfacePresenter : public Presenter {
 public:
  explicit SurfacePresenter(SDL_Window* window) : window_(window) {}
  void Show(const Canvas& picture) override;

 private:
  SDL_Window* window_;
  const void* populated_ = nullptr;  // the buffer whose pages are mapped in
};

}  // namespace testcard
