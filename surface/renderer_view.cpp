// SPDX-License-Identifier: MIT
#include "surface/renderer_view.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "surface/app_window.hpp"
#include "surface/run_time_error.hpp"
#include "surface/sdl_error.hpp"

namespace testcard {
namespace {

// Long enough for a compositor on a busy machine; the waits end as soon as
// the answer is there.
constexpr Uint32 kFocusWait = 1000;
constexpr Uint32 kResizeWait = 1000;

// Handles the window system's messages until `done` holds or `timeout`
// milliseconds have passed. Only window events are taken from the queue:
// key presses stay in it for the program.
template <typename Done>
void WaitFor(Done done, Uint32 timeout) {
  const Uint32 start = SDL_GetTicks();
  while (SDL_GetTicks() - start < timeout) {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1) {
      if (done(&event)) return;
    }
    if (done(nullptr)) return;
    SDL_Delay(2);
  }
}

}  // namespace

RendererView::RendererView(SDL_Window* window) : window_(window) {
  // One texture pixel on one screen pixel leaves nothing to interpolate;
  // nearest sampling makes sure nothing would be.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // A pointer the compositor draws over the pattern would hide its pixels.
  SDL_ShowCursor(SDL_DISABLE);
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) {
    throw WindowUnavailable("cannot draw in the window (no renderer): " + SdlError());
  }
}

RendererView::~RendererView() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
}

void RendererView::CoverOutput() {
  SDL_ShowWindow(window_);
  // A window is mapped with its first frame.
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderPresent(renderer_);
  // Mapped, the window is sized for its place (the compositor's first
  // answer only acknowledges it) and gets the focus. With no keyboard at all
  // the focus never comes; the window then goes full screen where it is.
  bool placed = false;
  WaitFor(
      [&](const SDL_Event* event) {
        placed |= event != nullptr && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED;
        return placed && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
      },
      kFocusWait);
  // Full screen goes to the output SDL believes the window is on, which it
  // learns once the compositor has shown a frame of the window: the second
  // of two frames waits for the first to be shown.
  SDL_RenderSetVSync(renderer_, 1);
  for (int frame = 0; frame < 2; ++frame) {
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
  }
  SDL_RenderSetVSync(renderer_, 0);
  SDL_PumpEvents();
  if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    RaiseWindowFailure("Cannot make the window full screen");
  }
  WaitFor(
      [](const SDL_Event* event) {
        return event != nullptr && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED;
      },
      kResizeWait);
}

PixelSize RendererView::OutputSize() const {
  PixelSize size;
  if (SDL_GetRendererOutputSize(renderer_, &size.width, &size.height) != 0) {
    RaiseWindowFailure("Cannot read the window's size");
  }
  return size;
}

void RendererView::Present(const Canvas& picture) {
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
  const int width = std::min(picture.Width(), size.width);
  const int height = std::min(picture.Height(), size.height);
  for (int y = 0; y < size.height; ++y) {
    auto* row = static_cast<std::uint8_t*>(pixels) + std::size_t(y) * std::size_t(pitch);
    const std::size_t shown = y < height ? std::size_t(width) * sizeof(Colour) : 0;
    if (shown > 0) std::memcpy(row, picture.Row(y).data(), shown);
    std::memset(row + shown, 0, std::size_t(size.width) * sizeof(Colour) - shown);
  }
  SDL_UnlockTexture(texture_);
  if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    RaiseWindowFailure("Cannot show the picture");
  }
  SDL_RenderPresent(renderer_);
}

}  // namespace testcard
