// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "surface/form/grid_form.hpp"

namespace testcard {

// The three test patterns. Each clears the form, records its number in Tag
// ("1", "2", "3") and draws its whole pattern from the form's client size.
// They raise RunTimeError when the size overflows their 16-bit arithmetic.

// Grey cell outlines inside a red border and a white frame.
void GridTest(GridForm& form);
// A centre cross, marker lines and circles inside a red border.
void CrossTest(GridForm& form);
// Seven colour ramps, alternating line blocks, a diagonal cross and a circle.
void ColorTest(GridForm& form);

// The patterns by name, numbered as they record themselves in Tag.
enum class Pattern { kGrid = 1, kCross = 2, kColour = 3 };

// The pattern whose number Tag holds: the one on show. Nothing before the
// first pattern is drawn (Tag empty) or when Tag holds anything else.
std::optional<Pattern> PatternInTag(const GridForm& form);

// Draws `pattern` on `form` by calling its pattern function.
void DrawPattern(GridForm& form, Pattern pattern);

}  // namespace testcard
