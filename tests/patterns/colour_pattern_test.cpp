#include <gtest/gtest.h>

#include <vector>

#include "patterns/patterns.hpp"
#include "tests/patterns/pattern_checks.hpp"

namespace testcard {
namespace {

using namespace testing;

// The ramp in grid row `row` (2 to 8) at level L.
Colour RampColour(int row, int L) {
  switch (row) {
    case 2:
      return rtcRgb(L, 0, 0);
    case 3:
      return rtcRgb(L, L, 0);
    case 4:
      return rtcRgb(0, L, 0);
    case 5:
      return rtcRgb(0, L, L);
    case 6:
      return rtcRgb(0, 0, L);
    case 7:
      return rtcRgb(L, 0, L);
    default:
      return rtcRgb(L, L, L);
  }
}

// Layouts worked out by hand. x0 is the first column of the ramps and of the
// vertical block, hx the first column of the horizontal block (its mirror
// image: hx + 3 * cell = width - x0), lastRow the grid row of the lower dark
// grey edges (rounded half to even), xL and xR the ends of the diagonals,
// four cells in from the ends of a ramp band centred exactly.
struct Layout {
  int width, height;
  int cell, rampWidth, levelWidth, x0, hx, lastRow;
  float xL, xR;
};

const Layout kLayouts[] = {
    {640, 480, 32, 512, 2, 64, 480, 14, 192, 448},       // 64 / 32 = 2
    {800, 600, 40, 768, 3, 0, 680, 14, 176, 624},        // 16 / 40 = 0.4 -> 0; 16.6 -> 17
    {800, 480, 32, 768, 3, 0, 704, 14, 144, 656},        // 0.5 -> 0 and 21.5 -> 22, halves to even
    {1024, 768, 32, 768, 3, 128, 800, 23, 256, 768},     // 1024 = 4 * 256: the narrower ramps
    {1152, 864, 48, 1024, 4, 48, 960, 17, 256, 896},     // 64 / 48 -> 1: 48 spare left, 80 right
    {1366, 768, 2, 1280, 5, 44, 1316, 383, 51, 1315},    // 21.5 -> 22 and 658.5 -> 658
    {1920, 1080, 64, 1792, 7, 64, 1664, 16, 320, 1600},  // 15.875 -> 16: the cut-off row's edge
    {832, 624, 32, 768, 3, 32, 704, 18, 160, 672},       // 18.5 -> 18
    {512, 384, 16, 256, 1, 128, 336, 23, 192, 320},      // 512 = 2 * 256: ramps only 256 wide
    {200, 150, 10, 256, 1, -30, 200, 14, 12, 188},       // -2.8 -> -3: both blocks mostly outside
};

// The finished pattern at (x, y), last drawn first: the line blocks, the
// ramps, the white frame, the red border, the dark grey edges of the outer
// columns and rows of cells, black. Between the blocks, where the diagonals
// and the circle are, whatever `picture` holds: their calls are checked.
Colour Expected(const Layout& c, const Canvas& picture, int x, int y) {
  const int w = c.width, h = c.height, C = c.cell, top = 10 * C, bottom = 13 * C;
  if (y >= top && y <= bottom) {
    if (x >= c.x0 && x <= c.x0 + 3 * C) return (x - c.x0) % 2 == 0 ? kWhite : kBlack;
    if (x >= c.hx && x <= c.hx + 3 * C) return (y - top) % 2 == 0 ? kWhite : kBlack;
    if (x >= c.xL && x <= c.xR) return picture.Pixel(x, y);
  }
  if (y >= 2 * C && y < 9 * C && x >= c.x0 && x < c.x0 + c.rampWidth) {
    return RampColour(y / C, 255 - (x - c.x0) / c.levelWidth);
  }
  if (OnOutline(x, y, C - 1, C - 1, w - C, h - C) || OnOutline(x, y, C, C, w - C - 1, h - C - 1)) {
    return kWhite;
  }
  if (OnOutline(x, y, 0, 0, w - 1, h - 1)) return kRed;
  const bool columnEdge = (x % C == 0 || x % C == C - 1) && (x / C == 0 || x / C == w / C - 1);
  const bool rowEdge = (y % C == 0 || y % C == C - 1) && (y / C == 0 || y / C == c.lastRow);
  return columnEdge || rowEdge ? kDarkGrey : kBlack;
}

// The pen changes the pattern must make, in order, and the shapes drawn
// with each: the edges, border and frame, one pen per ramp level and per
// block line, and one for the diagonals and the circle.
std::vector<PenRun> ExpectedPenRuns(const Layout& c) {
  std::vector<PenRun> runs{{kDarkGrey, 8}, {kRed, 4}, {kWhite, 8}};
  for (int row = 2; row <= 8; ++row) {
    for (int L = 255; L >= 0; --L)
      runs.push_back({RampColour(row, L), c.levelWidth});
  }
  for (int block = 0; block < 2; ++block) {
    for (int i = 0; i <= 3 * c.cell; ++i)
      runs.push_back({i % 2 == 0 ? kWhite : kBlack, 1});
  }
  runs.push_back({kWhite, 3});
  return runs;
}

TEST(ColorTest, WholePictureAndPensOfEachLayout) {
  for (const Layout& c : kLayouts) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    DrawingRecorder recorder;
    form.Observe(&recorder);
    ColorTest(form);
    EXPECT_EQ(form.Tag(), "3");
    const Canvas& picture = form.Picture();
    EXPECT_TRUE(PictureIs(picture, [&](int x, int y) { return Expected(c, picture, x, y); }));

    EXPECT_EQ(recorder.penRuns, ExpectedPenRuns(c));
    // The two diagonals and the circle of one cell around their crossing.
    const int C = c.cell;
    const Shape expected[] = {{false, {c.xL, 10.0f * C, c.xR, 13.0f * C}},
                              {false, {c.xL, 13.0f * C, c.xR, 10.0f * C}},
                              {true, {c.width / 2.0f, 11.5f * C, float(C), 0}}};
    ASSERT_GE(recorder.shapes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      const Shape& shape = recorder.shapes[recorder.shapes.size() - 3 + i];
      EXPECT_EQ(shape.circle, expected[i].circle);
      for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(shape.at[k], expected[i].at[k], 1e-3f) << "shape " << i << ", " << k;
    }
  }
}

TEST(ColorTest, WindowTooWideForSixteenBitRampsRaisesOverflow) {
  // The ramp width would pass 32767 before it comes within 256 of the width.
  GridForm form(40000, 40);
  EXPECT_EQ(ErrorNumberOf([&] { ColorTest(form); }), error_number::kOverflow);
}

}  // namespace
}  // namespace testcard
