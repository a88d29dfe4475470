#include <gtest/gtest.h>

#include <functional>

#include "patterns/elements.hpp"
#include "surface/colour.hpp"
#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

const Colour kRed = rtcRgb(255, 0, 0);
const Colour kWhite = rtcRgb(255, 255, 255);
const Colour kBlack = rtcRgb(0, 0, 0);

TEST(FindCellSize, ChoosesTheLargestEvenDivisorUpToTheStoppingPitch) {
  const struct {
    int width, height, expected;
  } cases[] = {
      {640, 480, 32},  // the stopping candidate itself: 20 x 15 cells
      {800, 600, 40},   {1024, 768, 32},  {1152, 864, 48},
      {1280, 1024, 64}, {1600, 1200, 80}, {1920, 1080, 64},  // height not tested: last row cut off
      {1366, 768, 2},  // no even number from 4 to 52 divides 1366
      {1920, 1200, 80}, {2560, 1440, 80}, {3840, 2160, 128},
      {1280, 720, 40},  {40, 600, 2},  // at most 40 wide: stops at once
      {800, 30, 2},                    // at most 30 high: stops at once
      {42, 32, 2},                     // 4 does not divide 42 and already stops the search
      {44, 34, 4},                     // 4 divides 44 and stops the search
      {41, 31, 2},                     // odd width: no even pitch divides it
      {1, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    const GridForm form(c.width, c.height);
    EXPECT_EQ(FindCellSize(form).Get(), c.expected);
  }
}

TEST(FindCellSize, WidthBeyondSixteenBitQuotientsRaisesOverflow) {
  // 140000 / 4 = 35000 cannot be rounded into a 16-bit integer.
  const GridForm form(140000, 40);
  try {
    FindCellSize(form);
    FAIL() << "no error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kOverflow);
  }
}

TEST(BeginPattern, RecordsTheNumberAndClearsToBlack) {
  for (const int number : {1, 2, 3}) {
    GridForm form(30, 20);
    form.Line(0, 5, 30, 5);
    BeginPattern(form, number);
    EXPECT_EQ(form.Tag(), std::to_string(number));
    EXPECT_EQ(form.BackColor(), kBlack);
    for (const Colour pixel : form.Picture().Pixels())
      ASSERT_EQ(pixel, kBlack);
  }
}

// Checks every pixel of `form`: `expected(x, y)` says whether it must have
// `colour`; every other pixel must still be black.
void ExpectExactly(const GridForm& form, Colour colour, const std::function<bool(int, int)>& on) {
  const Canvas& picture = form.Picture();
  int wrong = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const Colour expected = on(x, y) ? colour : kBlack;
      if (picture.Pixel(x, y) != expected && wrong++ < 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << picture.Pixel(x, y)
                      << ", expected " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(DrawRedBorder, PaintsExactlyTheOutermostRingCornersIncluded) {
  const struct {
    int width, height;
  } sizes[] = {{800, 600}, {1366, 768}, {641, 481}, {3, 7}, {2, 2}, {1, 5}, {5, 1}, {1, 1}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
    GridForm form(size.width, size.height);
    BeginPattern(form, 2);
    DrawRedBorder(form);
    EXPECT_EQ(form.ForeColor(), kRed);
    ExpectExactly(form, kRed, [&](int x, int y) {
      return x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1;
    });
  }
}

// True when (x, y) lies on the outline of the rectangle (l, t)-(r, b).
bool OnOutline(int x, int y, int l, int t, int r, int b) {
  const bool insideBox = x >= l && x <= r && y >= t && y <= b;
  return insideBox && (x == l || x == r || y == t || y == b);
}

TEST(DrawWhiteFrame, PaintsTwoClosedNestedRectanglesOneCellIn) {
  const struct {
    int width, height, cell;
    int outerRight, outerBottom;  // the outer ring is (cell - 1, cell - 1)-(these)
  } cases[] = {
      {800, 600, 40, 760, 560},
      {1920, 1080, 64, 1856, 1016},  // the bottom sides cross the cut-off row
      {1366, 768, 2, 1364, 766},
      {640, 480, 32, 608, 448},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    BeginPattern(form, 1);
    DrawWhiteFrame(form, c.cell);
    EXPECT_EQ(form.ForeColor(), kWhite);
    const int s = c.cell;
    ExpectExactly(form, kWhite, [&](int x, int y) {
      return OnOutline(x, y, s - 1, s - 1, c.outerRight, c.outerBottom) ||
             OnOutline(x, y, s, s, c.outerRight - 1, c.outerBottom - 1);
    });
  }
}

TEST(DrawEdges, PaintBothEdgePixelsOfACellAndCheckTheirArithmetic) {
  GridForm form(200, 100);
  BeginPattern(form, 1);
  form.ForeColor(kWhite);
  DrawColumnEdges(form, 40, 1, 10, 20);  // x = 40 and 79, rows 10..19
  DrawRowEdges(form, 40, 2, 100, 110);   // y = 80 and 119 (outside), columns 100..109
  ExpectExactly(form, kWhite, [](int x, int y) {
    return ((x == 40 || x == 79) && y >= 10 && y < 20) || (y == 80 && x >= 100 && x < 110);
  });
  // The last column whose right edge still fits 16 bits, and the first that does not.
  EXPECT_NO_THROW(DrawColumnEdges(form, 40, 818, 0, 10));
  EXPECT_THROW(DrawColumnEdges(form, 40, 819, 0, 10), RunTimeError);
  EXPECT_THROW(DrawRowEdges(form, 40, 819, 0, 10), RunTimeError);
}

}  // namespace
}  // namespace testcard
