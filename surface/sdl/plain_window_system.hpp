// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/sdl/window_system.hpp"
#include "surface/window/presenter.hpp"

struct SDL_Window;

namespace testcard {

// A window whose window system SDL serves on its own: SDL places it, its
// screen is SDL's primary display (the first SDL lists), and the picture
// goes into the window's own pixel buffer (SurfacePresenter) unless a
// subclass offers a better way.
//
// Place covers the whole primary display with a full-screen-desktop window
// when asked for exactly that and a window manager can grant it, which also
// covers panels and task bars; any other rectangle gets a borderless window
// kept above the others.
class PlainWindowSystem : public WindowSystem {
 public:
  explicit PlainWindowSystem(SDL_Window* window);

  PixelSize ScreenSize() const override;
  PixelSize ClientSize() const override;
  PixelSize Place(const PixelRect& client) override;
  void Present(const Canvas& picture) override { presenter_->Show(picture); }
  WindowEvent SystemEvent(const SDL_Event&) override { return {}; }

 protected:
  PlainWindowSystem(SDL_Window* window, std::unique_ptr<Presenter> presenter);
  // Whether someone answers a request for full screen.
  virtual bool ManagesWindows() const { return true; }

  SDL_Window* window_;

 private:
  std::unique_ptr<Presenter> presenter_;
};

}  // namespace testcard
