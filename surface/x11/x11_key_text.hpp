// SPDX-License-Identifier: MIT
#pragma once

#include "surface/x11/x11_types.hpp"

namespace testcard {

// Key presses on X11 that type control characters.
//
// SDL reports what a key types only when it is printable: Enter, Escape,
// Backspace, Tab, Ctrl+A, Ctrl+[ or Ctrl+Space type control characters and
// arrive as bare key-downs, whose SDL key code cannot say what the user's
// layout made of them. X11 itself can: the window hands over the raw X key
// press, and XLookupString says what it types.
//
// Returns how many control characters (DEL too) the raw X event types: 0
// for anything but a key press, for a key that types printable text (which
// SDL reports itself), for one that types nothing, and for Delete, which
// edits rather than types.
int X11ControlCharacters(const X11Event& event);

}  // namespace testcard
