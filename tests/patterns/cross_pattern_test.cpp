#include <gtest/gtest.h>

#include <vector>

#include "patterns/patterns.hpp"
#include "tests/patterns/pattern_checks.hpp"
#include "tests/raster_points.hpp"

namespace testcard {
namespace {

using namespace testing;

// Pixel positions worked out by hand, each rounded to the nearest pixel:
// H / 7 + 1 (inset), W - H / 7 - 2 and H - H / 7 - 2 (far x, far y) and the
// centre circle's radius H / 5. The corner circles' radius H / 7 is one less
// than the inset, so that they touch the border's inner side.
struct CrossSize {
  int width, height;
  int inset, farX, farY, centreRadius;
};

// The finished cross: the white lines from 1 to the far side - 2, the
// centre circle four times and the corner circles (textbook midpoint
// circles), over the red outermost ring, on black.
Colour FinishedCross(const CrossSize& c, const PointSet& circles, int x, int y) {
  const int w = c.width, h = c.height;
  const bool column = x == c.inset || x == w / 2 - 1 || x == w / 2 || x == c.farX;
  const bool row = y == c.inset || y == h / 2 - 1 || y == h / 2 || y == c.farY;
  if ((column && y >= 1 && y <= h - 2) || (row && x >= 1 && x <= w - 2) ||
      circles.contains({x, y})) {
    return kWhite;
  }
  return OnOutline(x, y, 0, 0, w - 1, h - 1) ? kRed : kBlack;
}

TEST(CrossTest, WholePictureAndMirrorSymmetry) {
  const CrossSize cases[] = {
      {1024, 768, 111, 912, 656, 154},  // 110.714, 912.286, 656.286; 153.6
      {800, 600, 87, 712, 512, 120},    // 86.714, 712.286, 512.286; 120
      {640, 480, 70, 569, 409, 96},     // 69.571, 569.429, 409.429; 96
      {1366, 768, 111, 1254, 656, 154},
      {1920, 1080, 155, 1764, 924, 216},  // 155.286, 1763.714, 923.714; 216
      {3440, 1440, 207, 3232, 1232, 288},
      {200, 150, 22, 177, 127, 30},  // 22.429, 176.571, 126.571; 30
      {64, 48, 8, 55, 39, 10},       // 7.857, 55.143, 39.143; 9.6
      // Symmetry only.
      {1080, 1920, 0, 0, 0, 0},
      {3840, 2160, 0, 0, 0, 0},
      {10, 8, 0, 0, 0, 0},
      {2, 2, 0, 0, 0, 0},
  };
  for (const CrossSize& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    CrossTest(form);
    EXPECT_EQ(form.Tag(), "2");
    const Canvas& picture = form.Picture();
    const int w = c.width, h = c.height;
    EXPECT_TRUE(PictureIs(picture, [&](int x, int y) { return picture.Pixel(w - 1 - x, y); }))
        << "left-right";
    EXPECT_TRUE(PictureIs(picture, [&](int x, int y) { return picture.Pixel(x, h - 1 - y); }))
        << "top-bottom";
    if (c.inset == 0) continue;
    PointSet circles;
    const ClipBox box{w, h};
    for (const int x : {w / 2 - 1, w / 2}) {
      for (const int y : {h / 2 - 1, h / 2})
        circles.merge(ReferenceCircle({x, y}, c.centreRadius, box));
    }
    for (const int x : {c.inset, c.farX}) {
      for (const int y : {c.inset, c.farY})
        circles.merge(ReferenceCircle({x, y}, c.inset - 1, box));
    }
    EXPECT_TRUE(PictureIs(picture, [&](int x, int y) { return FinishedCross(c, circles, x, y); }));
  }
}

TEST(CrossTest, PassesItsCoordinatesUnroundedInOrder) {
  const DrawingRecorder recorder = Record(CrossTest, 1024, 768);
  EXPECT_EQ(recorder.penRuns, (std::vector<PenRun>{{kRed, 4}, {kWhite, 16}}));
  // 768 / 7 = 109.7142857: inset 110.7142857, far x 912.2857143, far y
  // 656.2857143; centre radius 768 / 5 = 153.6. Twelve lines, then circles.
  const float in = 110.7142857f, fx = 912.2857143f, fy = 656.2857143f, corner = 109.7142857f;
  const std::array<float, 4> expected[] = {
      {0, 0, 0, 767},      {1023, 0, 1023, 767}, {0, 0, 1023, 0},    {0, 767, 1024, 767},
      {512, 1, 512, 767},  {511, 1, 511, 767},   {in, 1, in, 767},   {fx, 1, fx, 767},
      {1, 384, 1023, 384}, {1, 383, 1023, 383},  {1, in, 1023, in},  {1, fy, 1023, fy},
      {512, 384, 153.6f},  {511, 383, 153.6f},   {512, 383, 153.6f}, {511, 384, 153.6f},
      {in, in, corner},    {in, fy, corner},     {fx, in, corner},   {fx, fy, corner}};
  ASSERT_EQ(recorder.shapes.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(recorder.shapes[i].circle, i >= 12) << "shape " << i;
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(recorder.shapes[i].at[k], expected[i][k], 1e-3) << "shape " << i << ", " << k;
  }
}

}  // namespace
}  // namespace testcard
