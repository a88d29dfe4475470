// SPDX-License-Identifier: MIT
#include "app/events.hpp"

#include "app/handlers.hpp"
#include "app/key_presses.hpp"

namespace testcard {

EventOutcome DispatchEvent(GridForm& form, const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return EventOutcome::kEndProgram;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          return EventOutcome::kEndProgram;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          return EventOutcome::kShowAgain;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
          return EventOutcome::kSizeChanged;
        default:
          return EventOutcome::kNothing;
      }
    default:
      break;
  }
  const int presses = KeyPressesIn(event);
  for (int press = 0; press < presses; ++press) {
    if (OnKeyPress(form) == KeyPressResult::kEndProgram) return EventOutcome::kEndProgram;
  }
  return presses > 0 ? EventOutcome::kPictureChanged : EventOutcome::kNothing;
}

}  // namespace testcard
