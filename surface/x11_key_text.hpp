// SPDX-License-Identifier: MIT
#pragma once

#include <string>

union SDL_Event;

namespace testcard {

// Key presses on X11 that type a control character.
//
// SDL reports what a key types only when it is printable: Enter, Escape,
// Backspace, Tab, Ctrl+A, Ctrl+[ or Ctrl+Space type control characters and
// arrive as bare key-downs, whose SDL key code cannot say what the user's
// layout made of them. X11 itself can: StartX11KeyText has SDL hand over the
// raw X events (and drop its key-downs, which would say the same again), and
// X11ControlText reads each key press with XLookupString.
//
// Control characters travel in SDL text events as their Unicode control
// pictures (U+2400 + code, U+2421 for DEL), one character each: an SDL
// text is a C string and could not hold NUL (Ctrl+Space, Ctrl+@).

// On the X11 video driver, turns on the raw events and turns off SDL's
// key-downs; returns whether it did. Call after SDL_Init.
bool StartX11KeyText();

// For a raw X key press that types control characters, their pictures in
// UTF-8; for anything else (printable text, which SDL reports itself; keys
// that type nothing; Delete, which edits rather than types) nothing.
std::string X11ControlText(const SDL_Event& event);

}  // namespace testcard
