// SPDX-License-Identifier: MIT
// The three patterns as whole pictures, each against an oracle worked out
// from the layout alone: every pixel of the window is checked.

#include <gtest/gtest.h>

#include <functional>

#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"
#include "surface/form/rtc_rgb.hpp"
#include "tests/support/image_compare.hpp"
#include "tests/support/textbook_raster.hpp"

namespace testcard {
namespace {

using testing::ErrorNumberOf;
using testing::Points;

const Colour kBlack = rtcRgb(0, 0, 0), kRed = rtcRgb(255, 0, 0), kWhite = rtcRgb(255, 255, 255);
const Colour kDarkGrey = rtcRgb(63, 63, 63), kMidGrey = rtcRgb(127, 127, 127);

bool OnOutline(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom &&
         (x == left || x == right || y == top || y == bottom);
}

// Draws `pattern` on a fresh form and compares every pixel with `expected`.
void ExpectPicture(void (*pattern)(GridForm&), int width, int height, const char* tag,
                   const std::function<Colour(int x, int y)>& expected) {
  SCOPED_TRACE(::testing::Message() << width << " x " << height);
  GridForm form(width, height);
  pattern(form);
  EXPECT_EQ(form.Tag(), tag);
  EXPECT_TRUE(testing::PictureIs(form.Picture(), expected));
}

// The white frame: two rings one cell in, inside the red outermost ring.
std::optional<Colour> BorderOrFrame(int w, int h, int s, int x, int y) {
  if (OnOutline(x, y, 0, 0, w - 1, h - 1)) return kRed;
  if (OnOutline(x, y, s - 1, s - 1, w - s, h - s) || OnOutline(x, y, s, s, w - s - 1, h - s - 1))
    return kWhite;
  return std::nullopt;
}

TEST(Patterns, Grid) {
  // lastRow and lastInnerRow: the dark and mid grey row limits, rounded by hand.
  const struct {
    int w, h, s, lastRow, lastInnerRow;
  } cases[] = {{640, 480, 32, 14, 13},  {800, 600, 40, 14, 13},   {1024, 768, 32, 23, 22},
               {64, 48, 4, 11, 10},     {1366, 768, 2, 383, 382}, {1920, 1080, 64, 16, 15},
               {1920, 1056, 64, 16, 14}};  // 16.875 and 16.5 rows: the last one cut off
  for (const auto& c : cases) {
    ExpectPicture(GridTest, c.w, c.h, "1", [&](int x, int y) {
      if (const auto ring = BorderOrFrame(c.w, c.h, c.s, x, y)) return *ring;
      const int s = c.s;
      const bool columnEdge = x % s == 0 || x % s == s - 1, rowEdge = y % s == 0 || y % s == s - 1;
      const bool innerColumn = x >= s && x < c.w - s, innerRow = y >= s && y < c.h - s;
      if ((columnEdge && innerColumn && innerRow) ||
          (rowEdge && y >= s && y / s <= c.lastInnerRow && innerColumn)) {
        return kMidGrey;
      }
      return columnEdge || (rowEdge && y / s <= c.lastRow) ? kDarkGrey : kBlack;
    });
  }
}

TEST(Patterns, Cross) {
  // By hand: inset H / 7 + 1, far x W - H / 7 - 2, far y H - H / 7 - 2 and
  // the centre radius H / 5, each rounded; the corner radius is inset - 1.
  const struct {
    int w, h, inset, farX, farY, radius;
  } cases[] = {{1024, 768, 111, 912, 656, 154},   {800, 600, 87, 712, 512, 120},
               {640, 480, 70, 569, 409, 96},      {1366, 768, 111, 1254, 656, 154},
               {1920, 1080, 155, 1764, 924, 216}, {3440, 1440, 207, 3232, 1232, 288},
               {200, 150, 22, 177, 127, 30},      {64, 48, 8, 55, 39, 10}};
  for (const auto& c : cases) {
    const int w = c.w, h = c.h;
    const ClipBox box{w, h};
    Points circles;
    for (const int x : {w / 2 - 1, w / 2}) {
      for (const int y : {h / 2 - 1, h / 2})
        circles.merge(testing::TextbookCircle({x, y}, c.radius, box));
    }
    for (const int x : {c.inset, c.farX}) {
      for (const int y : {c.inset, c.farY})
        circles.merge(testing::TextbookCircle({x, y}, c.inset - 1, box));
    }
    ExpectPicture(CrossTest, w, h, "2", [&](int x, int y) {
      const bool column = x == c.inset || x == w / 2 - 1 || x == w / 2 || x == c.farX;
      const bool row = y == c.inset || y == h / 2 - 1 || y == h / 2 || y == c.farY;
      if ((column && y >= 1 && y <= h - 2) || (row && x >= 1 && x <= w - 2) ||
          circles.contains({x, y})) {
        return kWhite;
      }
      return OnOutline(x, y, 0, 0, w - 1, h - 1) ? kRed : kBlack;
    });
  }
}

Colour RampColour(int row, int L) {
  const Colour colours[] = {rtcRgb(L, 0, 0), rtcRgb(L, L, 0), rtcRgb(0, L, 0), rtcRgb(0, L, L),
                            rtcRgb(0, 0, L), rtcRgb(L, 0, L), rtcRgb(L, L, L)};
  return colours[row - 2];
}

TEST(Patterns, Colour) {
  // By hand: x0 the first column of the ramps and the vertical block, hx the
  // first of the horizontal block, lastRow the lower dark grey edges, xL and
  // xR the ends of the diagonals, four cells in from a centred ramp band.
  const struct {
    int w, h, cell, rampWidth, levelWidth, x0, hx, lastRow, xL, xR;
  } cases[] = {{640, 480, 32, 512, 2, 64, 480, 14, 192, 448},
               {800, 600, 40, 768, 3, 0, 680, 14, 176, 624},
               {800, 480, 32, 768, 3, 0, 704, 14, 144, 656},
               {1024, 768, 32, 768, 3, 128, 800, 23, 256, 768},
               {1152, 864, 48, 1024, 4, 48, 960, 17, 256, 896},
               {1366, 768, 2, 1280, 5, 44, 1316, 383, 51, 1315},
               {1920, 1080, 64, 1792, 7, 64, 1664, 16, 320, 1600},
               {832, 624, 32, 768, 3, 32, 704, 18, 160, 672},
               {512, 384, 16, 256, 1, 128, 336, 23, 192, 320},
               {200, 150, 10, 256, 1, -30, 200, 14, 12, 188}};
  for (const auto& c : cases) {
    const int w = c.w, h = c.h, C = c.cell, top = 10 * C, bottom = 13 * C;
    const ClipBox box{w, h};
    Points marks = testing::TextbookLine({c.xL, top}, {c.xR, bottom}, box);
    marks.merge(testing::TextbookLine({c.xL, bottom}, {c.xR, top}, box));
    marks.merge(testing::TextbookCircle({w / 2, 11 * C + C / 2}, C, box));
    ExpectPicture(ColorTest, w, h, "3", [&](int x, int y) {
      if (marks.contains({x, y})) return kWhite;
      if (y >= top && y <= bottom && x >= c.x0 && x <= c.x0 + 3 * C)
        return (x - c.x0) % 2 == 0 ? kWhite : kBlack;
      if (y >= top && y <= bottom && x >= c.hx && x <= c.hx + 3 * C)
        return (y - top) % 2 == 0 ? kWhite : kBlack;
      if (y >= 2 * C && y < 9 * C && x >= c.x0 && x < c.x0 + c.rampWidth)
        return RampColour(y / C, 255 - (x - c.x0) / c.levelWidth);
      if (const auto ring = BorderOrFrame(w, h, C, x, y)) return *ring;
      const bool columnEdge = (x % C == 0 || x % C == C - 1) && (x / C == 0 || x / C == w / C - 1);
      const bool rowEdge = (y % C == 0 || y % C == C - 1) && (y / C == 0 || y / C == c.lastRow);
      return columnEdge || rowEdge ? kDarkGrey : kBlack;
    });
  }
}

TEST(Patterns, CellSizeAndSixteenBitLimits) {
  const struct {
    int w, h, cell;
  } cases[] = {{640, 480, 32}, {800, 600, 40}, {1152, 864, 48}, {1280, 1024, 64}, {1366, 768, 2},
               {40, 600, 2},   {800, 30, 2},   {42, 32, 2},     {44, 34, 4},      {41, 31, 2}};
  for (const auto& c : cases)
    EXPECT_EQ(FindCellSize(GridForm(c.w, c.h)).Get(), c.cell) << c.w << " x " << c.h;
  GridForm form(200, 100);
  EXPECT_NO_THROW(DrawColumnEdges(form, 40, 818, 0, 10));
  EXPECT_EQ(ErrorNumberOf([&] { DrawColumnEdges(form, 40, 819, 0, 10); }), error_number::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { DrawRowEdges(form, 40, 819, 0, 10); }), error_number::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { FindCellSize(GridForm(140000, 40)); }), error_number::kOverflow);
  GridForm wide(40000, 40);  // the ramps would pass 32767 pixels
  EXPECT_EQ(ErrorNumberOf([&] { ColorTest(wide); }), error_number::kOverflow);
}

}  // namespace
}  // namespace testcard
