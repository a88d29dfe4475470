#include "surface/window_icon.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

constexpr IconPixel Opaque(unsigned r, unsigned g, unsigned b) {
  return 0xFF000000u | (b << 16) | (g << 8) | r;
}

constexpr IconPixel kRed = Opaque(255, 0, 0);
constexpr IconPixel kLightGrey = Opaque(192, 192, 192);

// Each bar's bright and dark colour of the 16-colour palette, top to bottom
// as in the colour pattern.
const std::pair<IconPixel, IconPixel> kBars[] = {
    {kRed, Opaque(128, 0, 0)},
    {Opaque(255, 255, 0), Opaque(128, 128, 0)},
    {Opaque(0, 255, 0), Opaque(0, 128, 0)},
    {Opaque(0, 255, 255), Opaque(0, 128, 128)},
    {Opaque(0, 0, 255), Opaque(0, 0, 128)},
    {Opaque(255, 0, 255), Opaque(128, 0, 128)},
    {Opaque(255, 255, 255), Opaque(128, 128, 128)},  // through light grey
};

unsigned Brightness(IconPixel p) {
  return (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
}

// Checks the icon's layout at a multiple of 16 pixels: size / 8 transparent
// rows at top and bottom, a red frame size / 16 pixels wide, and seven bars
// in order, each row of a bar going from its bright colour on the left to
// its dark one on the right, in palette colours only.
void CheckIcon(int size) {
  SCOPED_TRACE("icon of " + std::to_string(size));
  const int band = size / 8, frame = size / 16;
  const std::vector<IconPixel> icon = DrawWindowIcon(size);
  ASSERT_EQ(icon.size(), static_cast<std::size_t>(size) * size);
  auto at = [&](int x, int y) { return icon[static_cast<std::size_t>(y) * size + x]; };

  std::vector<int> order;  // the bars from top to bottom, each once
  for (int y = 0; y < size; ++y) {
    const bool transparentRow = y < band || y >= size - band;
    const bool frameRow = !transparentRow && (y < band + frame || y >= size - band - frame);
    for (int x = 0; x < size; ++x) {
      if (transparentRow) {
        ASSERT_EQ(at(x, y) >> 24, 0u) << "(" << x << ", " << y << ") should be transparent";
      } else if (frameRow || x < frame || x >= size - frame) {
        ASSERT_EQ(at(x, y), kRed) << "(" << x << ", " << y << ") should be frame";
      }
    }
    if (transparentRow || frameRow) continue;
    int bar = 0;
    while (bar < 7 && kBars[bar] != std::pair{at(frame, y), at(size - frame - 1, y)})
      ++bar;
    ASSERT_LT(bar, 7) << "row " << y << " is no bar going from bright to dark";
    for (int x = frame; x < size - frame; ++x) {
      const IconPixel p = at(x, y);
      ASSERT_TRUE(p == kBars[bar].first || p == kBars[bar].second || (bar == 6 && p == kLightGrey))
          << "(" << x << ", " << y << ")";
      if (x > frame) {
        ASSERT_LE(Brightness(p), Brightness(at(x - 1, y))) << "row " << y;
      }
    }
    if (order.empty() || order.back() != bar) order.push_back(bar);
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(WindowIcon, SixteenPixelsHaveTwoClearRowsEachSideAOnePixelFrameAndSevenBars) {
  CheckIcon(16);
  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  // The white bar (row 12) passes through light grey; the colour bars are
  // half bright, half dark, split in the middle.
  EXPECT_NE(std::find(&icon[12 * 16 + 1], &icon[12 * 16 + 15], kLightGrey), &icon[12 * 16 + 15]);
  EXPECT_EQ(icon[3 * 16 + 7], kRed);
  EXPECT_EQ(icon[3 * 16 + 8], Opaque(128, 0, 0));
}

TEST(WindowIcon, LargerSizesKeepTheProportionsAndOthersAreRefused) {
  for (const int size : {32, 48, 64, 256})
    CheckIcon(size);
  for (const int size : {0, kMinIconSize - 1, kMaxIconSize + 1})
    EXPECT_THROW(DrawWindowIcon(size), RunTimeError) << size;
  EXPECT_NO_THROW(DrawWindowIcon(kMinIconSize));
}

}  // namespace
}  // namespace testcard
