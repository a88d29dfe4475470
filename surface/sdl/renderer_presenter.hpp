// SPDX-License-Identifier: MIT
#pragma once

#include "surface/window/presenter.hpp"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace testcard {

// Shows the picture through an SDL renderer, for window systems that give a
// window no pixel buffer of its own (SDL's Wayland driver): a streaming
// texture exactly the size of the renderer's output in device pixels,
// copied onto it without scaling or filtering.
//
// The constructor throws WindowUnavailable when the window cannot have a
// renderer; other failures raise RunTimeError.
class RendererPresenter : public Presenter {
 public:
  explicit RendererPresenter(SDL_Window* window);
  ~RendererPresenter() override;
  RendererPresenter(const RendererPresenter&) = delete;
  RendererPresenter& operator=(const RendererPresenter&) = delete;

  void Show(const Canvas& picture) override;
  // What the window covers now, in device pixels.
  PixelSize OutputSize() const;
  // Shows `frames` all-black frames; with `waitForShown` each waits until
  // the frame before it has been shown (vertical sync).
  void ShowBlack(int frames, bool waitForShown);

 private:
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  PixelSize textureSize_;
};

}  // namespace testcard
