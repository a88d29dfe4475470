// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_events.h>

#include "surface/grid_form.hpp"

namespace testcard {

// What the window must do after an event has been handled.
enum class EventOutcome {
  kNothing,
  // A new pattern is on the form: put the picture on the screen.
  kPictureChanged,
  // The window system lost what the window showed: put the same picture up
  // again, nothing is redrawn.
  kShowAgain,
  // The third key press, or a close request: the program ends, with success.
  kEndProgram,
  // The window may have another size in pixels now (another output, a new
  // resolution or scale): the pattern on show is to fit it.
  kSizeChanged,
};

// Handles one event of the window's event loop on `form`: each key press
// that yields a character (see KeyPressesIn) goes to OnKeyPress, in order;
// repaints, size changes and close requests are reported to the caller.
// Mouse and all other events are ignored. Needs no window: events can be
// made up.
EventOutcome DispatchEvent(GridForm& form, const SDL_Event& event);

}  // namespace testcard
