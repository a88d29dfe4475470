// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_events.h>

#include "surface/window/window_event.hpp"

namespace testcard {

// What one of SDL's events means to the program: key presses that typed a
// character (counted by KeyPressesIn), a close request, a repaint, a new
// size. A kResized event comes back without its sizes, which only the
// window can fill in. Mouse and every other event mean nothing, and so do
// the window system's raw events (SDL_SYSWMEVENT), which its own part of
// the window reads. Needs no window: events can be made up.
WindowEvent TranslateSdlEvent(const SDL_Event& event);

}  // namespace testcard
