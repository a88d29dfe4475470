// SPDX-License-Identifier: MIT
#pragma once

#include "surface/form/grid_form.hpp"
#include "surface/form/screen.hpp"

namespace testcard {

// The test window's two event handlers, OnLoad and OnKeyPress, and the two
// steps of start-up that a new window size repeats. None knows about the
// window system: they work on any GridForm, with or without a window behind
// it. PatternCycle is what calls them.

// Start-up: sizes the form to the primary screen, rounded down to an even
// number of pixels each way, at the screen's top-left corner, and draws the
// grid pattern. Runs before the window is first shown.
void OnLoad(GridForm& form, const Screen& screen);

// The sizing of OnLoad alone: the form covers `screen` from its top-left
// corner, rounded down to an even number of pixels each way.
void SizeToScreen(GridForm& form, const Screen& screen);

// Draws the pattern whose number is in Tag again, from scratch, on the form
// as it is now (the grid when Tag holds no pattern's number).
void RedrawPattern(GridForm& form);

enum class KeyPressResult { kContinue, kEndProgram };

// A key press that typed a character: steps from the pattern whose number is
// in Tag to the next one, the cross after the grid and the colour pattern
// after the cross. After the colour pattern (or with any other Tag) the
// program is to end, which the result says; the form is left as it was.
KeyPressResult OnKeyPress(GridForm& form);

}  // namespace testcard
