// SPDX-License-Identifier: MIT
#include "surface/sdl/wayland_window_system.hpp"

#include <SDL.h>

#include <algorithm>

#include "surface/sdl/sdl_error.hpp"

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

// A pointer the compositor draws over the pattern would hide its pixels;
// hidden before the renderer is made.
SDL_Window* WithoutPointer(SDL_Window* window) {
  SDL_ShowCursor(SDL_DISABLE);
  return window;
}

}  // namespace

WaylandWindowSystem::WaylandWindowSystem(SDL_Window* window)
    : window_(window), presenter_(WithoutPointer(window)) {
  CoverOutput();
}

PixelSize WaylandWindowSystem::Place(const PixelRect& client) {
  const PixelSize output = presenter_.OutputSize();
  return {std::min(client.width, output.width), std::min(client.height, output.height)};
}

void WaylandWindowSystem::CoverOutput() {
  SDL_ShowWindow(window_);
  // A window is mapped with its first frame.
  presenter_.ShowBlack(1, false);
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
  presenter_.ShowBlack(2, true);
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

}  // namespace testcard
