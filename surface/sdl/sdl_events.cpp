// SPDX-License-Identifier: MIT
#include "surface/sdl/sdl_events.hpp"

#include "surface/sdl/sdl_key_presses.hpp"

namespace testcard {
namespace {

WindowEvent TranslateWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      return WindowEvent::Of(WindowEvent::Kind::kClose);
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      return WindowEvent::Of(WindowEvent::Kind::kShowAgain);
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      return WindowEvent::Of(WindowEvent::Kind::kResized);
    default:
      return {};
  }
}

}  // namespace

WindowEvent TranslateSdlEvent(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return WindowEvent::Of(WindowEvent::Kind::kClose);
  if (event.type == SDL_WINDOWEVENT) return TranslateWindowEvent(event.window);
  const int presses = KeyPressesIn(event);
  return presses > 0 ? WindowEvent::Typed(presses) : WindowEvent{};
}

}  // namespace testcard
