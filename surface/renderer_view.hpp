// SPDX-License-Identifier: MIT
#pragma once

#include "surface/canvas.hpp"
#include "surface/window_port.hpp"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace testcard {

// Shows a Canvas in an SDL window through an SDL renderer, one canvas pixel
// to one device pixel: a streaming texture exactly the size of the window's
// buffer in device pixels, copied without scaling or filtering. For window
// systems that give a window no pixel buffer of its own (SDL's Wayland
// driver), and whose full-screen size is known only once the compositor has
// answered.
//
// Failures raise RunTimeError; the constructor throws WindowUnavailable.
class RendererView {
 public:
  explicit RendererView(SDL_Window* window);
  ~RendererView();
  RendererView(const RendererView&) = delete;
  RendererView& operator=(const RendererView&) = delete;

  // Makes the window cover the output it is on and waits until the
  // compositor has sized it. A window asked to be full screen before it is
  // mapped may be put on another output than the one with the focus, and
  // without the keyboard focus: so it is first shown as an ordinary window,
  // and goes full screen once it has the focus.
  void CoverOutput();
  // What the window covers now, in device pixels.
  PixelSize OutputSize() const;
  // Puts `picture` on the screen from the top-left corner; what the window
  // covers beyond it is black.
  void Present(const Canvas& picture);

 private:
  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  PixelSize textureSize_;
};

}  // namespace testcard
