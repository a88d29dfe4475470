#pragma once

#include <SDL_events.h>

#include <cstring>

namespace testcard::testing {

// Events as SDL delivers them, made up for the tests.

inline SDL_Event KeyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.repeat = repeat;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_SCANCODE_UNKNOWN;
  event.key.keysym.mod = modifiers;
  return event;
}

inline SDL_Event KeyUp(SDL_Keycode key) {
  SDL_Event event = KeyDown(key);
  event.type = SDL_KEYUP;
  event.key.state = SDL_RELEASED;
  return event;
}

inline SDL_Event Text(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
  return event;
}

inline SDL_Event WindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  return event;
}

}  // namespace testcard::testing
