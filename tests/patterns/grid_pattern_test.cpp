#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/run_time_error.hpp"
#include "tests/patterns/pattern_checks.hpp"

namespace testcard {
namespace {

using testing::kBlack;
using testing::kDarkGrey;
using testing::kMidGrey;
using testing::kRed;
using testing::kWhite;
using testing::PixelsAre;

bool OnOutline(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom &&
         (x == left || x == right || y == top || y == bottom);
}

// The finished grid where the cell size s divides both sides: every cell
// edge dark grey, the edges inside the ring of outer cells mid grey, the red
// outermost ring and the two-pixel white frame on top.
Colour FinishedGrid(int width, int height, int s, int x, int y) {
  if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return kRed;
  if (OnOutline(x, y, s - 1, s - 1, width - s, height - s) ||
      OnOutline(x, y, s, s, width - s - 1, height - s - 1)) {
    return kWhite;
  }
  const bool onEdge = x % s == 0 || x % s == s - 1 || y % s == 0 || y % s == s - 1;
  if (!onEdge) return kBlack;
  const bool inner = x >= s && x <= width - s - 1 && y >= s && y <= height - s - 1;
  return inner ? kMidGrey : kDarkGrey;
}

TEST(GridTest, WholePictureWhereTheCellsFitBothWays) {
  const struct {
    int width, height, cellSize;
  } cases[] = {
      {640, 480, 32},
      {800, 600, 40},
      {1024, 768, 32},
      {1152, 864, 48},
      {1280, 1024, 64},
      {1280, 720, 40},
      {1600, 1200, 80},
      {2560, 1440, 80},
      {1366, 768, 2},  // every pixel is a grid
                       // edge
      {200, 150, 10},
      {64, 48, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    GridTest(form);
    EXPECT_EQ(form.Tag(), "1");
    EXPECT_TRUE(PixelsAre(form.Picture(), 0, 0, c.width - 1, c.height - 1, [&](int x, int y) {
      return FinishedGrid(c.width, c.height, c.cellSize, x, y);
    }));
  }
}

// A row of the picture described as runs of one colour from left to right,
// or as a rule for each x.
struct Run {
  int first, last;
  Colour colour;
};
std::function<Colour(int, int)> Runs(std::vector<Run> runs) {
  return [runs](int x, int) {
    for (const Run& run : runs) {
      if (x >= run.first && x <= run.last) return run.colour;
    }
    return Colour{0xFFFFFFFF};  // no such colour: the runs must cover the row
  };
}

TEST(GridTest, RowReadouts) {
  // Grid edges every 64 pixels, elsewhere black.
  const auto columnEdges64 = [](int x, int) {
    if (x == 0 || x == 1919) return kRed;
    return x % 64 == 0 || x % 64 == 63 ? kDarkGrey : kBlack;
  };
  const struct {
    int width, height, y;
    const char* what;
    std::function<Colour(int, int)> expected;
  } cases[] = {
      {800, 600, 80, "the two-pixel line between cell rows 1 and 2",
       Runs({{0, 0, kRed},
             {1, 38, kDarkGrey},
             {39, 40, kWhite},
             {41, 758, kMidGrey},
             {759, 760, kWhite},
             {761, 798, kDarkGrey},
             {799, 799, kRed}})},
      // 1920 x 1080: 16.875 rows of 64; the limits round to 16 (dark grey)
      // and 15 (mid grey).
      {1920, 1080, 960, "top edge of cell row 15, mid grey inside the frame",
       Runs({{0, 0, kRed},
             {1, 62, kDarkGrey},
             {63, 64, kWhite},
             {65, 1854, kMidGrey},
             {1855, 1856, kWhite},
             {1857, 1918, kDarkGrey},
             {1919, 1919, kRed}})},
      {1920, 1080, 1016, "outer bottom of the frame",
       Runs({{0, 0, kRed},
             {1, 62, kBlack},
             {63, 1856, kWhite},
             {1857, 1918, kBlack},
             {1919, 1919, kRed}})},
      {1920, 1080, 1023, "bottom edge of row 15, below the frame",
       Runs({{0, 0, kRed},
             {1, 63, kDarkGrey},
             {64, 1855, kMidGrey},
             {1856, 1918, kDarkGrey},
             {1919, 1919, kRed}})},
      {1920, 1080, 1024, "top edge of the cut-off row 16",
       Runs({{0, 0, kRed}, {1, 1918, kDarkGrey}, {1919, 1919, kRed}})},
      {1920, 1080, 1050, "inside the cut-off row", columnEdges64},
      // 1920 x 1056: 16.5 rows; the limits round half to even, to 16 (dark
      // grey) and 14 (mid grey).
      {1920, 1056, 960, "top edge of row 15 stays dark grey between the mid grey columns",
       [](int x, int) {
         if (x == 0 || x == 1919) return kRed;
         if (x == 63 || x == 64 || x == 1855 || x == 1856) return kWhite;
         const bool innerColumnEdge = x > 64 && x < 1855 && (x % 64 == 0 || x % 64 == 63);
         return innerColumnEdge ? kMidGrey : kDarkGrey;
       }},
      {1920, 1056, 1024, "top edge of the cut-off row 16",
       Runs({{0, 0, kRed}, {1, 1918, kDarkGrey}, {1919, 1919, kRed}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.width << " x " << c.height << ", row " << c.y << ": " << c.what);
    GridForm form(c.width, c.height);
    GridTest(form);
    EXPECT_TRUE(PixelsAre(form.Picture(), 0, c.y, c.width - 1, c.y, c.expected));
  }
}

TEST(GridTest, LinesPerColourInDrawingOrder) {
  using testing::PenRun;
  const struct {
    int width, height;
    int darkGrey, midGrey;
  } cases[] = {
      {800, 600, 70, 62},   {1024, 768, 112, 104}, {1366, 768, 2134, 2126},
      {1920, 1080, 94, 86},  // rows: R(15.875) = 16 dark grey, R(14.875) = 15 mid grey
      {1920, 1056, 94, 84},  // rows: R(15.5) = 16 dark grey, R(14.5) = 14 mid grey
      {2, 2, 4, 0},          // the mid grey limits are below their starts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    testing::DrawingRecorder recorder;
    form.Observe(&recorder);
    GridTest(form);
    ASSERT_GE(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].kind, testing::DrawCall::Kind::kBackColor);
    EXPECT_EQ(recorder.calls[0].colour, kBlack);
    EXPECT_EQ(recorder.calls[1].kind, testing::DrawCall::Kind::kCls);
    const std::vector<PenRun> expected{
        {kDarkGrey, c.darkGrey}, {kMidGrey, c.midGrey}, {kRed, 4}, {kWhite, 8}};
    EXPECT_EQ(testing::PenRuns(recorder.calls), expected);
  }
}

TEST(GridTest, WindowTooWideForSixteenBitPositionsRaisesOverflow) {
  // Cell size 4, 10000 columns: column 8192 would start at x = 32768.
  GridForm form(40000, 40);
  try {
    GridTest(form);
    FAIL() << "no error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kOverflow);
  }
}

}  // namespace
}  // namespace testcard
