// SPDX-License-Identifier: MIT
#include "surface/sdl/plain_window_system.hpp"

#include <SDL.h>

#include "surface/sdl/sdl_error.hpp"
#include "surface/sdl/surface_presenter.hpp"

namespace testcard {
namespace {

constexpr int kPrimaryDisplay = 0;

// Whole units of `to` for `value` units of `from`, rounded to nearest; the
// ratio of window units to device pixels, which is 1 unless the window
// system scales windows for a high-DPI display.
int Rescale(int value, int to, int from) {
  if (to == from || from <= 0) return value;
  return static_cast<int>((static_cast<long long>(value) * to + from / 2) / from);
}

}  // namespace

PlainWindowSystem::PlainWindowSystem(SDL_Window* window)
    : PlainWindowSystem(window, std::make_unique<SurfacePresenter>(window)) {}

PlainWindowSystem::PlainWindowSystem(SDL_Window* window, std::unique_ptr<Presenter> presenter)
    : window_(window), presenter_(std::move(presenter)) {}

PixelSize PlainWindowSystem::ScreenSize() const {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &mode) != 0) {
    RaiseWindowFailure("Cannot read the screen size");
  }
  return {mode.w, mode.h};
}

PixelSize PlainWindowSystem::ClientSize() const {
  PixelSize size;
  SDL_GetWindowSizeInPixels(window_, &size.width, &size.height);
  return size;
}

PixelSize PlainWindowSystem::Place(const PixelRect& client) {
  SDL_Rect display{};
  if (SDL_GetDisplayBounds(kPrimaryDisplay, &display) != 0) {
    RaiseWindowFailure("Cannot find the primary display");
  }
  const PixelSize screen = ScreenSize();
  const bool wholeScreen = client.left == 0 && client.top == 0 && client.width == screen.width &&
                           client.height == screen.height;

  // A full-screen window ignores new sizes, so it leaves full screen first.
  if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0 &&
      SDL_SetWindowFullscreen(window_, 0) != 0) {
    RaiseWindowFailure("Cannot leave full screen");
  }
  // Sizes and positions go to the window system in its own units, which a
  // high-DPI system may make larger than device pixels; the ratio shows in
  // the window as it is.
  int unitsWide = 0;
  int unitsHigh = 0;
  SDL_GetWindowSize(window_, &unitsWide, &unitsHigh);
  const PixelSize pixels = ClientSize();
  SDL_SetWindowSize(window_, Rescale(client.width, unitsWide, pixels.width),
                    Rescale(client.height, unitsHigh, pixels.height));
  SDL_SetWindowPosition(window_, display.x + Rescale(client.left, unitsWide, pixels.width),
                        display.y + Rescale(client.top, unitsHigh, pixels.height));

  if (wholeScreen && ManagesWindows()) {
    // Full-screen desktop: the window manager puts it above panels and task
    // bars without changing the display mode. Sized to the display already,
    // it looks the same where the window system cannot do full screen; with
    // no window manager at all there is nothing to ask (and SDL would wait
    // in vain for an answer), the window covers the screen as it is.
    SDL_SetWindowAlwaysOnTop(window_, SDL_FALSE);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      RaiseWindowFailure("Cannot make the window full screen");
    }
  } else {
    // Full screen would take the whole display, but the picture must keep
    // its even size: an ordinary window kept above the others instead.
    SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
  }
  return ClientSize();
}

}  // namespace testcard
