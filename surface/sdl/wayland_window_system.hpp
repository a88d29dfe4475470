// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/sdl/renderer_presenter.hpp"
#include "surface/sdl/window_system.hpp"

struct SDL_Window;

namespace testcard {

// A window on SDL's Wayland driver. A Wayland window cannot place itself:
// it covers the whole output the compositor gives it, already when it is
// made, and that output is the screen, in device pixels. Place leaves the
// window where it is and reports the part of the output the picture may
// take. The picture goes through a renderer (RendererPresenter), since SDL
// gives a Wayland window no pixel buffer of its own.
//
// A window asked to be full screen before it is mapped may be put on
// another output than the one with the focus, and without the keyboard
// focus: so it is first shown as an ordinary window, and goes full screen
// once it has the focus.
class WaylandWindowSystem : public WindowSystem {
 public:
  explicit WaylandWindowSystem(SDL_Window* window);

  PixelSize ScreenSize() const override { return presenter_.OutputSize(); }
  PixelSize ClientSize() const override { return presenter_.OutputSize(); }
  PixelSize Place(const PixelRect& client) override;
  void Present(const Canvas& picture) override { presenter_.Show(picture); }
  WindowEvent SystemEvent(const SDL_Event&) override { return {}; }

 private:
  // Makes the window cover the output it is on and waits until the
  // compositor has sized it.
  void CoverOutput();

  SDL_Window* window_;
  RendererPresenter presenter_;
};

}  // namespace testcard
