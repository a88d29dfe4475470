// SPDX-License-Identifier: MIT
#include "surface/sdl/renderer_presenter.hpp"

#include <SDL.h>

#include <cstring>

#include "surface/sdl/sdl_error.hpp"
#include "surface/window/app_window.hpp"

namespace testcard {

RendererPresenter::RendererPresenter(SDL_Window* window) {
  // One texture pixel on one screen pixel leaves nothing to interpolate;
  // nearest sampling makes sure nothing would be.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer_ = SDL_CreateRenderer(window, -1, 0);
  if (renderer_ == nullptr) {
    throw WindowUnavailable("cannot draw in the window (no renderer): " + SdlError());
  }
}

RendererPresenter::~RendererPresenter() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
}

PixelSize RendererPresenter::OutputSize() const {
  PixelSize size;
  if (SDL_GetRendererOutputSize(renderer_, &size.width, &size.height) != 0) {
    RaiseWindowFailure("Cannot read the window's size");
  }
  return size;
}

void RendererPresenter::ShowBlack(int frames, bool waitForShown) {
  if (waitForShown) SDL_RenderSetVSync(renderer_, 1);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  for (int frame = 0; frame < frames; ++frame) {
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
  }
  if (waitForShown) SDL_RenderSetVSync(renderer_, 0);
}

void RendererPresenter::Show(const Canvas& picture) {
  const PixelSize size = OutputSize();
  if (texture_ == nullptr || size.width != textureSize_.width ||
      size.height != textureSize_.height) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    // The canvas's own layout: no colour conversion on the way.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                 size.width, size.height);
    if (texture_ == nullptr) RaiseWindowFailure("Cannot make a picture the window's size");
    textureSize_ = size;
  }
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) {
    RaiseWindowFailure("Cannot reach the window's pixels");
  }
  CopyPicture(picture, {static_cast<std::uint8_t*>(pixels), size, std::size_t(pitch)},
              [](const Colour* from, std::uint8_t* to, int count) {
                std::memcpy(to, from, std::size_t(count) * sizeof(Colour));
              });
  SDL_UnlockTexture(texture_);
  if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    RaiseWindowFailure("Cannot show the picture");
  }
  SDL_RenderPresent(renderer_);
}

}  // namespace testcard
