// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

struct xkb_state;

namespace testcard {

// Whether a key press types at least one character on Wayland, where the
// client reads the keyboard itself: what xkbcommon makes of the key in the keyboard's
// current state (layout, Shift, AltGr, Caps Lock, and Ctrl, which turns
// letters and their ASCII neighbours into control characters as X11 does).
// Control characters count (Enter, Escape, Backspace, Tab, Ctrl+A,
// Ctrl+Space's NUL); Delete, which edits rather than types, does not; nor
// do keys that type nothing (arrows, function keys, modifiers, a dead key
// on its own).
//
// `key` is the evdev key code as wl_keyboard sends it (xkbcommon's key code
// less 8).
bool TypesCharacter(xkb_state* state, std::uint32_t key);

}  // namespace testcard
