#include <gtest/gtest.h>

#include "patterns/elements.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using namespace testing;

TEST(FindCellSize, ChoosesTheLargestEvenDivisorUpToTheStoppingPitch) {
  const struct {
    int width, height, expected;
  } cases[] = {
      {640, 480, 32},  // the stopping candidate itself: 20 x 15 cells
      {800, 600, 40},   {1024, 768, 32},  {1152, 864, 48},
      {1280, 1024, 64}, {1600, 1200, 80}, {1920, 1080, 64},  // height not tested: last row cut off
      {1366, 768, 2},  // no even number from 4 to 52 divides 1366
      {40, 600, 2},    // at most 40 wide: stops at once
      {800, 30, 2},    // at most 30 high: stops at once
      {42, 32, 2},     // 4 does not divide 42 and already stops the search
      {44, 34, 4},     // 4 divides 44 and stops the search
      {41, 31, 2},     // odd width: no even pitch divides it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    EXPECT_EQ(FindCellSize(GridForm(c.width, c.height)).Get(), c.expected);
  }
  // 140000 / 4 = 35000 cannot be rounded into a 16-bit integer.
  EXPECT_EQ(ErrorNumberOf([] { FindCellSize(GridForm(140000, 40)); }), error_number::kOverflow);
}

// Each element drawn alone on a black form paints exactly its pixels: the
// red border the outermost ring, corners included, at any size; the white
// frame two closed rings one cell in (cell > 0 selects the frame), also
// where its bottom sides cross a cut-off row of cells (1920 x 1080).
TEST(Elements, RedBorderAndWhiteFramePaintExactlyTheirRings) {
  const struct {
    int width, height, cell;
    int outerRight, outerBottom;  // the frame's outer ring is (cell - 1, cell - 1)-(these)
  } cases[] = {
      {641, 481, 0, 0, 0}, {3, 7, 0, 0, 0}, {2, 2, 0, 0, 0},          {1, 5, 0, 0, 0},
      {5, 1, 0, 0, 0},     {1, 1, 0, 0, 0}, {800, 600, 40, 760, 560}, {1920, 1080, 64, 1856, 1016}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << ", cell " << c.cell);
    GridForm form(c.width, c.height);
    BeginPattern(form, 1);
    const int s = c.cell;
    if (s == 0) {
      DrawRedBorder(form);
      EXPECT_EQ(form.ForeColor(), kRed);
    } else {
      DrawWhiteFrame(form, s);
      EXPECT_EQ(form.ForeColor(), kWhite);
    }
    EXPECT_TRUE(PictureIs(form.Picture(), [&](int x, int y) {
      if (s == 0) return OnOutline(x, y, 0, 0, c.width - 1, c.height - 1) ? kRed : kBlack;
      return OnOutline(x, y, s - 1, s - 1, c.outerRight, c.outerBottom) ||
                     OnOutline(x, y, s, s, c.outerRight - 1, c.outerBottom - 1)
                 ? kWhite
                 : kBlack;
    }));
  }
}

// Their pixels show in the grid's whole picture; here the 16-bit edge: the
// last column whose right edge still fits, and the first that does not.
TEST(DrawEdges, RaiseOverflowWhenAnEdgePassesSixteenBits) {
  GridForm form(200, 100);
  EXPECT_NO_THROW(DrawColumnEdges(form, 40, 818, 0, 10));
  EXPECT_EQ(ErrorNumberOf([&] { DrawColumnEdges(form, 40, 819, 0, 10); }), error_number::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { DrawRowEdges(form, 40, 819, 0, 10); }), error_number::kOverflow);
}

}  // namespace
}  // namespace testcard
