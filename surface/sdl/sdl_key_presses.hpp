// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_events.h>

namespace testcard {

// How many key presses "that yield a character" an SDL event carries: the
// presses that advance the pattern cycle.
//
// The rule: a key press advances exactly when, on the user's keyboard
// layout, it types at least one character, control characters included.
// So letters, digits, space and punctuation advance with any modifier that
// still types them (Shift, AltGr, Ctrl+1, Alt+A, Super+A); so do Enter,
// Escape, Backspace, Tab, Ctrl with a letter, Ctrl+[ (Escape) and
// Ctrl+Space or Ctrl+@ (NUL). A dead key types nothing until the next key,
// so dead key + E is one press. Arrows, function keys, Insert, Delete,
// Home, End, Page Up and Down, Shift+Tab, and modifier and lock keys alone
// type nothing.
//
// - A text event (SDL_TEXTINPUT) counts one press per character it carries.
// - SDL reports only printable text, and a key-down counts one press when
//   its key types a control character: Enter (main or keypad), Escape,
//   Backspace and Tab (not Shift+Tab) with any modifier, and Ctrl with a
//   letter, [, \, ], or space. An auto-repeated key-down counts like any
//   other. On X11 SDL's key-downs are off and X itself says which keys type
//   control characters (see x11/x11_key_text.hpp), so a key counts once.
// - Every other event counts nothing.
int KeyPressesIn(const SDL_Event& event);

}  // namespace testcard
