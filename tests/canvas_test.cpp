#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

#include "surface/canvas.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using testing::Crop;
using testing::SamePicture;

constexpr Colour kInk = 0x00123456;
constexpr Colour kPaper = 0x00ABCDEF;
using Pixels = std::set<std::pair<int, int>>;

// The pixels of `canvas` that hold `colour`.
Pixels PixelsOf(const Canvas& canvas, Colour colour) {
  Pixels pixels;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Pixel(x, y) == colour) pixels.insert({x, y});
    }
  }
  return pixels;
}

TEST(Canvas, LinesPaintTheirFirstPointNotTheLastAtTheNearestPixels) {
  const struct {
    const char* name;
    double x1, y1, x2, y2;
    Pixels expected;
  } cases[] = {
      {"right", 1, 1, 4, 1, {{1, 1}, {2, 1}, {3, 1}}},
      {"left", 4, 1, 1, 1, {{4, 1}, {3, 1}, {2, 1}}},
      {"down", 1, 1, 1, 4, {{1, 1}, {1, 2}, {1, 3}}},
      {"up", 1, 4, 1, 1, {{1, 4}, {1, 3}, {1, 2}}},
      {"slanted up-left", 3, 3, 0, 0, {{3, 3}, {2, 2}, {1, 1}}},
      {"coincident", 2, 2, 2, 2, {}},
      {"just below a half", 0.49, 1.4, 3.49, 1.4, {{0, 1}, {1, 1}, {2, 1}}},
      {"just above a half", 0.51, 1.6, 3.51, 1.6, {{1, 2}, {2, 2}, {3, 2}}},
      {"halves go to the even pixel", 0.5, 2.5, 3.5, 2.5, {{0, 2}, {1, 2}, {2, 2}, {3, 2}}},
      {"odd halves go up", 1.5, 3.5, 1.5, 5.5, {{2, 4}, {2, 5}}},
      {"negative halves go to the even pixel", -0.5, 0, 2, 0, {{0, 0}, {1, 0}}},
      {"rounds to coincident points", 4.4, 4.4, 3.6, 3.6, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(8, 8, kPaper);
    canvas.Line(c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(PixelsOf(canvas, kInk), c.expected);
  }
}

TEST(Canvas, BadArgumentsRaiseAndDrawNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> shapes = {
      {nan, 0, 5, 5}, {0, nan, 5, 5}, {0, 0, inf, 5}, {0, 0, 5, -inf},  // lines
      {nan, 4, 2},    {4, inf, 2},    {4, 4, nan},    {4, 4, -1}};      // circles
  for (const auto& s : shapes) {
    Canvas canvas(8, 8, kPaper);
    if (s.size() == 4) {
      EXPECT_THROW(canvas.Line(s[0], s[1], s[2], s[3], kInk), RunTimeError);
    } else {
      EXPECT_THROW(canvas.Circle(s[0], s[1], s[2], kInk), RunTimeError);
    }
    EXPECT_TRUE(PixelsOf(canvas, kInk).empty());
  }
  Canvas canvas(8, 8, kPaper);
  canvas.Circle(4, 4, -0.4, kInk);  // rounds to radius 0: the centre alone
  EXPECT_EQ(PixelsOf(canvas, kInk), (Pixels{{4, 4}}));
  EXPECT_THROW(canvas.Resize(-1, 5, kInk), RunTimeError);
  EXPECT_THROW(canvas.Resize(Canvas::kMaxSide + 1, 1, kInk), RunTimeError);
  canvas.Resize(0, 0, kInk);
  canvas.Line(-5, -5, 5, 5, kPaper);  // nothing to draw on, nothing to break
  canvas.Circle(0, 0, 3, kPaper);
  EXPECT_TRUE(canvas.Pixels().empty());
}

// Drawing on a small canvas must give exactly the pixels the same drawing
// gives on a larger canvas, cropped: clipping changes nothing visible. The
// large canvas is the small one moved by an even offset, so rounding of
// halves is the same on both.
TEST(Canvas, ClippedDrawingEqualsLargerCanvasCropped) {
  constexpr int kOffset = 100;
  const struct {
    const char* name;
    bool circle;
    double a, b, c, d;
  } cases[] = {
      {"end points a million away", false, -1e6, -5e5 + 20, 1e6, 5e5 + 20.5},
      {"steep from far below", false, 30.25, 1e6, 10.75, -1e6},
      {"from inside to far outside", false, 20, 20, -1e6, 5e5},
      {"ends exactly on the far edge", false, 0, 0, 64, 48},
      {"fractional diagonal", false, -7.5, 3.5, 70.5, 41.5},
      {"circle across a corner", true, 2.5, -3, 20, 0},
      {"circle bigger than the canvas", true, 32, 24, 30, 0},
      {"circle far off, arc inside", true, -1e5 + 20, 24, 1e5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas small(64, 48, kPaper);
    Canvas large(64 + 2 * kOffset, 48 + 2 * kOffset, kPaper);
    if (c.circle) {
      small.Circle(c.a, c.b, c.c, kInk);
      large.Circle(c.a + kOffset, c.b + kOffset, c.c, kInk);
    } else {
      small.Line(c.a, c.b, c.c, c.d, kInk);
      large.Line(c.a + kOffset, c.b + kOffset, c.c + kOffset, c.d + kOffset, kInk);
    }
    EXPECT_FALSE(PixelsOf(small, kInk).empty());
    EXPECT_TRUE(SamePicture(small, Crop(large, kOffset, kOffset, 64, 48), "clipped"));
  }
}

TEST(Canvas, LinesBeyondTheExactRangeStillCrossTheCanvasCorrectly) {
  // End points a trillion pixels away: the visible part is one pixel per
  // column on the row the line passes at (its slope is 1e-11), and the
  // diagonal y = x + 24 from (0, 24) to (23, 47).
  Canvas canvas(64, 48, kPaper);
  canvas.Line(-1e12, 20, 1e12, 40, kInk);
  canvas.Line(-1e12, -1e12 + 24, 1e12, 1e12 + 24, kInk);
  Pixels expected;
  for (int x = 0; x < 64; ++x) {
    expected.insert({x, 30});
    if (x < 24) expected.insert({x, x + 24});
  }
  EXPECT_EQ(PixelsOf(canvas, kInk), expected);

  Canvas untouched(64, 48, kPaper);
  untouched.Line(-3e38, -3e38, 3e38, -1e30, kInk);  // passes far above
  untouched.Line(1e30, 0, 1e30, 40, kInk);          // far to the right
  untouched.Circle(1e30, 1e30, 5, kInk);
  untouched.Circle(0, 0, 1e30, kInk);
  EXPECT_TRUE(PixelsOf(untouched, kInk).empty());
}

}  // namespace
}  // namespace testcard
