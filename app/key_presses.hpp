#pragma once

#include <SDL_events.h>

namespace testcard {

// How many key presses "that yield a character" an SDL event carries: the
// presses that advance the pattern cycle.
//
// - A text event (SDL_TEXTINPUT) counts one press per character it carries:
//   letters, digits, space, punctuation, and whatever a dead key or an input
//   method composes.
// - A key-down counts one press when the key yields a control character,
//   which SDL never reports as text: Enter (main or keypad), Escape,
//   Backspace, Tab, and Ctrl with a letter. With Alt or the system key held
//   these are the system's shortcuts (Alt+Tab, Alt+Enter, ...) and yield
//   nothing. An auto-repeated key-down counts like any other.
// - Every other event counts nothing: arrows, function keys, Insert, Delete,
//   Home, End, Page Up and Down, modifier and lock keys alone, key-ups.
//
// A printable key arrives as a key-down followed by its text event; only the
// text event counts, so the pair is one press.
int KeyPressesIn(const SDL_Event& event);

}  // namespace testcard
