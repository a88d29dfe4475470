#include <gtest/gtest.h>

#include <vector>

#include "patterns/patterns.hpp"
#include "tests/patterns/pattern_checks.hpp"

namespace testcard {
namespace {

using namespace testing;

// A grid whose cell size s divides the width, with the last dark grey and mid
// grey rows given (worked out by hand: the limits round half to even).
struct GridCase {
  int width, height, s;
  int lastRow, lastInnerRow;
};

// The finished grid: the red outermost ring and the two-pixel white frame
// one cell in over the mid grey edges of the inner cells, over the dark grey
// edges of every cell, on black.
Colour FinishedGrid(const GridCase& c, int x, int y) {
  const int w = c.width, h = c.height, s = c.s;
  if (OnOutline(x, y, 0, 0, w - 1, h - 1)) return kRed;
  if (OnOutline(x, y, s - 1, s - 1, w - s, h - s) || OnOutline(x, y, s, s, w - s - 1, h - s - 1)) {
    return kWhite;
  }
  const bool columnEdge = x % s == 0 || x % s == s - 1, rowEdge = y % s == 0 || y % s == s - 1;
  const bool innerColumn = x >= s && x < w - s, innerRow = y >= s && y < h - s;
  if ((columnEdge && innerColumn && innerRow) ||
      (rowEdge && y >= s && y / s <= c.lastInnerRow && innerColumn)) {
    return kMidGrey;
  }
  return columnEdge || (rowEdge && y / s <= c.lastRow) ? kDarkGrey : kBlack;
}

TEST(GridTest, WholePicture) {
  const GridCase cases[] = {
      {640, 480, 32, 14, 13},  // the stopping candidate itself
      {800, 600, 40, 14, 13},   {1024, 768, 32, 23, 22}, {64, 48, 4, 11, 10},
      {1366, 768, 2, 383, 382},  // every pixel a grid edge: no black or dark grey inside the frame
      {1920, 1080, 64, 16, 15},  // 16.875 rows: R(15.875) = 16, R(14.875) = 15, the last cut off
      {1920, 1056, 64, 16, 14},  // 16.5 rows: R(15.5) = 16, R(14.5) = 14
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    GridTest(form);
    EXPECT_EQ(form.Tag(), "1");
    EXPECT_TRUE(PictureIs(form.Picture(), [&](int x, int y) { return FinishedGrid(c, x, y); }));
  }
}

TEST(GridTest, LinesPerColourInDrawingOrder) {
  const struct {
    int width, height;
    int darkGrey, midGrey;
  } cases[] = {
      {800, 600, 70, 62},   {1366, 768, 2134, 2126},
      {1920, 1080, 94, 86},  // rows: R(15.875) = 16 dark grey, R(14.875) = 15 mid grey
      {1920, 1056, 94, 84},  // rows: R(15.5) = 16 dark grey, R(14.5) = 14 mid grey
      {2, 2, 4, 0},          // the mid grey limits are below their starts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    EXPECT_EQ(Record(GridTest, c.width, c.height).penRuns,
              (std::vector<PenRun>{
                  {kDarkGrey, c.darkGrey}, {kMidGrey, c.midGrey}, {kRed, 4}, {kWhite, 8}}));
  }
}

}  // namespace
}  // namespace testcard
