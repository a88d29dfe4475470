// SPDX-License-Identifier: MIT
#include "surface/form/window_icon.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "surface/form/run_time_error.hpp"

namespace testcard {
namespace {

// The 16-colour palette by letter: bright capitals, half-bright small
// letters, L light grey, D grey, '.' transparent.
IconPixel Palette(char letter) {
  static const std::map<char, IconPixel> colours = {
      {'.', kTransparent}, {'R', 0xFF0000FF}, {'r', 0xFF000080}, {'Y', 0xFF00FFFF},
      {'y', 0xFF008080},   {'G', 0xFF00FF00}, {'g', 0xFF008000}, {'C', 0xFFFFFF00},
      {'c', 0xFF808000},   {'B', 0xFFFF0000}, {'b', 0xFF800000}, {'M', 0xFFFF00FF},
      {'m', 0xFF800080},   {'W', 0xFFFFFFFF}, {'L', 0xFFC0C0C0}, {'D', 0xFF808080}};
  return colours.at(letter);
}

TEST(WindowIcon, SixteenPixelsAreTheMiniature) {
  const char* const golden[16] = {
      "................", "................", "RRRRRRRRRRRRRRRR", "RRRRRRRRrrrrrrrR",
      "RRRRRRRRrrrrrrrR", "RYYYYYYYyyyyyyyR", "RGGGGGGGgggggggR", "RGGGGGGGgggggggR",
      "RCCCCCCCcccccccR", "RBBBBBBBbbbbbbbR", "RBBBBBBBbbbbbbbR", "RMMMMMMMmmmmmmmR",
      "RWWWWWLLLLLDDDDR", "RRRRRRRRRRRRRRRR", "................", "................"};
  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(icon[y * 16 + x], Palette(golden[y][x])) << "(" << x << ", " << y << ")";
  }
}

// At every size: transparent bands of size / 8 rows rounded, a red frame
// size / 16 wide (one at the least), the red bar first, bright to dark.
TEST(WindowIcon, EverySizeKeepsTheProportions) {
  for (int size = kMinIconSize; size <= 72; ++size) {
    SCOPED_TRACE("icon of " + std::to_string(size));
    const std::vector<IconPixel> icon = DrawWindowIcon(size);
    auto at = [&](int x, int y) { return icon[std::size_t(y) * size + x]; };
    const int band = static_cast<int>(std::lround(size / 8.0)), frame = std::max(1, size / 16);
    const int inside = band + frame, last = size - 1 - inside;
    EXPECT_EQ(at(size / 2, band - 1), kTransparent);
    EXPECT_EQ(at(size / 2, band), Palette('R'));
    EXPECT_EQ(at(size / 2, size - band - 1), Palette('R'));
    EXPECT_EQ(at(size / 2, size - band), kTransparent);
    EXPECT_EQ(at(frame - 1, inside), Palette('R'));
    EXPECT_EQ(at(size - frame, last), Palette('R'));
    EXPECT_EQ(at(size - frame - 1, inside), Palette('r'));
  }
  for (const int size : {kMinIconSize - 1, kMaxIconSize + 1})
    EXPECT_THROW(DrawWindowIcon(size), RunTimeError) << size;
}

}  // namespace
}  // namespace testcard
