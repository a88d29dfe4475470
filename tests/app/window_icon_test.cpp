#include "surface/window_icon.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

constexpr IconPixel Opaque(unsigned r, unsigned g, unsigned b) {
  return 0xFF000000u | (b << 16) | (g << 8) | r;
}

constexpr IconPixel kRed = Opaque(255, 0, 0);

// The classic 16-colour palette.
const std::set<IconPixel> kPalette = {
    Opaque(0, 0, 0),       Opaque(128, 0, 0),   Opaque(0, 128, 0),   Opaque(128, 128, 0),
    Opaque(0, 0, 128),     Opaque(128, 0, 128), Opaque(0, 128, 128), Opaque(192, 192, 192),
    Opaque(128, 128, 128), Opaque(255, 0, 0),   Opaque(0, 255, 0),   Opaque(255, 255, 0),
    Opaque(0, 0, 255),     Opaque(255, 0, 255), Opaque(0, 255, 255), Opaque(255, 255, 255),
};

struct BarColours {
  const char* name;
  IconPixel bright;
  IconPixel dark;
};

// Top to bottom, as in the colour pattern.
const BarColours kBars[] = {
    {"red", Opaque(255, 0, 0), Opaque(128, 0, 0)},
    {"yellow", Opaque(255, 255, 0), Opaque(128, 128, 0)},
    {"green", Opaque(0, 255, 0), Opaque(0, 128, 0)},
    {"cyan", Opaque(0, 255, 255), Opaque(0, 128, 128)},
    {"blue", Opaque(0, 0, 255), Opaque(0, 0, 128)},
    {"magenta", Opaque(255, 0, 255), Opaque(128, 0, 128)},
    {"white", Opaque(255, 255, 255), Opaque(128, 128, 128)},
};

unsigned Brightness(IconPixel p) {
  return (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
}

// Checks the icon's layout at any size: `band` transparent rows at top and
// bottom, a red frame `frame` pixels wide, and seven bars, each row running
// from its bar's bright colour on the left to its dark colour on the right.
void CheckIcon(int size, int band, int frame) {
  SCOPED_TRACE("icon of " + std::to_string(size));
  const std::vector<IconPixel> icon = DrawWindowIcon(size);
  ASSERT_EQ(icon.size(), static_cast<std::size_t>(size) * size);
  auto at = [&](int x, int y) { return icon[static_cast<std::size_t>(y) * size + x]; };

  std::vector<int> barOfRow;
  for (int y = 0; y < size; ++y) {
    const bool transparentRow = y < band || y >= size - band;
    const bool frameRow = !transparentRow && (y < band + frame || y >= size - band - frame);
    for (int x = 0; x < size; ++x) {
      const IconPixel p = at(x, y);
      if (transparentRow) {
        ASSERT_EQ(p >> 24, 0u) << "(" << x << ", " << y << ") should be transparent";
      } else if (frameRow || x < frame || x >= size - frame) {
        ASSERT_EQ(p, kRed) << "(" << x << ", " << y << ") should be frame";
      } else {
        ASSERT_EQ(kPalette.count(p), 1u) << "(" << x << ", " << y << ") is not a palette colour";
      }
    }
    if (transparentRow || frameRow) continue;
    const IconPixel first = at(frame, y);
    const IconPixel last = at(size - frame - 1, y);
    int bar = -1;
    for (int b = 0; b < 7; ++b)
      if (kBars[b].bright == first && kBars[b].dark == last) bar = b;
    ASSERT_NE(bar, -1) << "row " << y << " is no bar going from bright to dark";
    for (int x = frame + 1; x < size - frame; ++x)
      ASSERT_LE(Brightness(at(x, y)), Brightness(at(x - 1, y))) << "row " << y << " brightens";
    barOfRow.push_back(bar);
  }
  // The bars in order, each at least one row high, none twice.
  std::vector<int> order;
  for (const int bar : barOfRow)
    if (order.empty() || order.back() != bar) order.push_back(bar);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(WindowIcon, SixteenPixelsHaveTwoClearRowsEachSideAOnePixelFrameAndSevenBars) {
  CheckIcon(16, 2, 1);
  // The white bar passes through light grey.
  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  const int whiteRow = 12;
  bool lightGrey = false;
  for (int x = 1; x < 15; ++x)
    lightGrey = lightGrey || icon[whiteRow * 16 + x] == Opaque(192, 192, 192);
  EXPECT_TRUE(lightGrey);
  // Colour bars are half bright, half dark, split in the middle.
  EXPECT_EQ(icon[3 * 16 + 7], Opaque(255, 0, 0));
  EXPECT_EQ(icon[3 * 16 + 8], Opaque(128, 0, 0));
}

TEST(WindowIcon, LargerSizesKeepTheProportions) {
  CheckIcon(32, 4, 2);
  CheckIcon(48, 6, 3);
  CheckIcon(64, 8, 4);
  CheckIcon(128, 16, 8);
  CheckIcon(256, 32, 16);
}

TEST(WindowIcon, SizesOutsideTheRangeAreRefused) {
  for (const int size : {0, -16, kMinIconSize - 1, kMaxIconSize + 1})
    EXPECT_THROW(DrawWindowIcon(size), RunTimeError) << size;
  EXPECT_NO_THROW(DrawWindowIcon(kMinIconSize));
}

}  // namespace
}  // namespace testcard
