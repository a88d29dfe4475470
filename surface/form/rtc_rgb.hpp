// SPDX-License-Identifier: MIT
#pragma once

#include "surface/raster/colour.hpp"

namespace testcard {

// Builds a colour from components 0 to 255: the only way the patterns make
// one. A component outside that range is a caller's bug and raises the
// run-time error "Invalid procedure call or argument" rather than bleeding
// into a neighbouring component.
Colour rtcRgb(int red, int green, int blue);

}  // namespace testcard
