// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "surface/app_window.hpp"
#include "surface/canvas.hpp"
#include "surface/renderer_view.hpp"

struct SDL_Window;

namespace testcard {

class X11DeepColour;

// The test window on SDL2: borderless, caption "Form1", the icon drawn by
// DrawWindowIcon, created hidden on the primary display.
//
// It shows a Canvas one canvas pixel to one device pixel: no scaling, no
// filtering, no colour conversion, on high-DPI displays too. The canvas is
// the persistent picture; whenever the window system loses what is on the
// screen, Present puts the same canvas up again, nothing is redrawn.
//
// Place covers the whole primary display with a full-screen-desktop window
// when asked for exactly that, which also covers panels and task bars; any
// other rectangle gets a borderless window kept above the others.
//
// Pixel formats: 8 bits a channel shows the picture exactly; 10 bits (X11
// at depth 30) shows each value at its 10-bit equivalent; 5 or 6 bits
// (depth 16) through SDL's conversion; a palette is refused at run time.
//
// On X11 the primary display is the RandR primary output (SDL lists it
// first); NextEvent also reports control characters typed as text events
// (x11_key_text.hpp), and a window destroyed by another program ends the
// process with status 1 (x11_window_watch.hpp).
//
// On Wayland (SDL's Wayland driver, chosen first in a Wayland session; see
// ChooseVideoDriver) the window covers the whole output the compositor gives
// it, already at construction; the "primary display" is that output, in
// device pixels, and a RendererView shows the picture.
//
// Other failures after the window exists raise RunTimeError.
class SdlWindow : public AppWindow {
 public:
  SdlWindow();  // throws WindowUnavailable
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  PixelSize PrimaryDisplaySize() const override;
  PixelSize ClientSize() const override;
  PixelSize Place(const PixelRect& client) override;
  void Show(const Canvas& picture) override;
  void Present() override;
  SDL_Event NextEvent() override;
  // Hides the window first, so that nothing covers the box.
  bool ShowErrorBox(const std::string& title, const std::string& text) override;

 private:
  void Close();

  SDL_Window* window_ = nullptr;
  std::unique_ptr<RendererView> view_;  // on Wayland, what shows the picture
  const Canvas* picture_ = nullptr;
  const void* populated_ = nullptr;  // the window buffer whose pages are mapped in
  // Set on X11 at 10 bits a channel, where SDL has no window surface.
  std::unique_ptr<X11DeepColour> deepColour_;
};

}  // namespace testcard
