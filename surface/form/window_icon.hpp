// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace testcard {

// One icon pixel as 0xAABBGGRR: the canvas colour layout with an alpha byte
// on top (0xFF opaque, 0x00 transparent).
using IconPixel = std::uint32_t;

inline constexpr IconPixel kTransparent = 0;

// The window's icon, square, `size` x `size` pixels row by row from the top
// left: a miniature of the colour pattern in the classic 16-colour palette.
// Transparent bands at top and bottom (two pixels high at 16 x 16) leave a
// 4:3 picture in between, framed by one red pixel, filled with seven bars
// (red, yellow, green, cyan, blue, magenta, white-grey) that run from their
// bright colour on the left to their dark colour on the right.
//
// Drawn by code so that every size the window system asks for comes from the
// same rules. `size` runs from kMinIconSize to kMaxIconSize; anything else
// raises the run-time error "Invalid procedure call or argument".
inline constexpr int kMinIconSize = 8;
inline constexpr int kMaxIconSize = 1024;
std::vector<IconPixel> DrawWindowIcon(int size);

}  // namespace testcard
