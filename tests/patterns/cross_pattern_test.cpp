#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "patterns/patterns.hpp"
#include "tests/patterns/pattern_checks.hpp"

namespace testcard {
namespace {

using testing::DescribeColour;
using testing::kBlack;
using testing::kRed;
using testing::kWhite;
using testing::PixelsAre;

// Pixel positions worked out by hand: H / 7 + 1 (inset), W - H / 7 - 2 and
// H - H / 7 - 2 (far x, far y) and the centre circle's radius H / 5, each
// rounded to the nearest pixel.
struct CrossSize {
  int width, height;
  int inset, farX, farY, centreRadius;
};

const CrossSize kCrossSizes[] = {
    {1024, 768, 111, 912, 656, 154},  // 110.714, 912.286, 656.286; 153.6
    {800, 600, 87, 712, 512, 120},    // 86.714, 712.286, 512.286; 120
    {640, 480, 70, 569, 409, 96},     // 69.571, 569.429, 409.429; 96
    {1366, 768, 111, 1254, 656, 154},
    {1920, 1080, 155, 1764, 924, 216},  // 155.286, 1763.714, 923.714; 216
    {3440, 1440, 207, 3232, 1232, 288},
    {200, 150, 22, 177, 127, 30},  // 22.429, 176.571, 126.571; 30
    {64, 48, 8, 55, 39, 10},       // 7.857, 55.143, 39.143; 9.6
};

// The columns (or, transposed, the rows) painted white from 1 to the far
// side - 2.
std::set<int> FullWhiteLines(const Canvas& picture, bool columns) {
  const int count = columns ? picture.Width() : picture.Height();
  const int length = columns ? picture.Height() : picture.Width();
  std::set<int> lines;
  for (int i = 0; i < count; ++i) {
    bool full = true;
    for (int j = 1; j < length - 1 && full; ++j)
      full = (columns ? picture.Pixel(i, j) : picture.Pixel(j, i)) == kWhite;
    if (full) lines.insert(i);
  }
  return lines;
}

TEST(CrossTest, LinesCirclesAndBorderLandOnTheirPixels) {
  for (const CrossSize& c : kCrossSizes) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    CrossTest(form);
    EXPECT_EQ(form.Tag(), "2");
    const Canvas& picture = form.Picture();
    const int w = c.width, h = c.height;

    // The border is whole: nothing white runs into it.
    const auto red = [](int, int) { return kRed; };
    EXPECT_TRUE(PixelsAre(picture, 0, 0, w - 1, 0, red));
    EXPECT_TRUE(PixelsAre(picture, 0, h - 1, w - 1, h - 1, red));
    EXPECT_TRUE(PixelsAre(picture, 0, 0, 0, h - 1, red));
    EXPECT_TRUE(PixelsAre(picture, w - 1, 0, w - 1, h - 1, red));
    // Exactly four white lines each way, at the same distance from all four
    // edges whatever the shape of the window.
    EXPECT_EQ(FullWhiteLines(picture, true), (std::set<int>{c.inset, w / 2 - 1, w / 2, c.farX}));
    EXPECT_EQ(FullWhiteLines(picture, false), (std::set<int>{c.inset, h / 2 - 1, h / 2, c.farY}));

    // Each corner circle touches the inner side of the border: near its
    // outermost point (one pixel off the marker line) it lies on column 1,
    // column W - 2, row 1 or row H - 2.
    const struct {
      int x, y;
    } touching[] = {
        {1, c.inset + 1}, {1, c.farY - 1}, {w - 2, c.inset + 1}, {w - 2, c.farY - 1},
        {c.inset + 1, 1}, {c.farX - 1, 1}, {c.inset + 1, h - 2}, {c.farX - 1, h - 2},
    };
    for (const auto& p : touching) {
      EXPECT_EQ(picture.Pixel(p.x, p.y), kWhite)
          << "(" << p.x << ", " << p.y << ") is " << DescribeColour(picture.Pixel(p.x, p.y));
    }

    // The centre circle is two pixels thick at its outermost points: row
    // H / 2 - 2 reads black, white, white, black across its left side, and
    // column W / 2 - 2 likewise across its top (the mirror test covers the
    // right side and the bottom).
    const int r = c.centreRadius;
    const int left = w / 2 - 1 - r, top = h / 2 - 1 - r, row = h / 2 - 2, column = w / 2 - 2;
    const std::vector<Colour> across{kBlack, kWhite, kWhite, kBlack};
    EXPECT_EQ((std::vector<Colour>{picture.Pixel(left - 1, row), picture.Pixel(left, row),
                                   picture.Pixel(left + 1, row), picture.Pixel(left + 2, row)}),
              across);
    EXPECT_EQ((std::vector<Colour>{picture.Pixel(column, top - 1), picture.Pixel(column, top),
                                   picture.Pixel(column, top + 1), picture.Pixel(column, top + 2)}),
              across);
  }
}

TEST(CrossTest, MirrorSymmetricAtEveryEvenSize) {
  const struct {
    int width, height;
  } sizes[] = {{1024, 768}, {800, 600},   {640, 480},   {1366, 768},  {1920, 1080},
               {1280, 720}, {2560, 1440}, {3440, 1440}, {3840, 2160}, {1080, 1920},
               {200, 150},  {64, 48},     {10, 8},      {2, 2}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
    GridForm form(size.width, size.height);
    CrossTest(form);
    const Canvas& picture = form.Picture();
    const int w = size.width, h = size.height;
    EXPECT_TRUE(PixelsAre(picture, 0, 0, w - 1, h - 1, [&](int x, int y) {
      return picture.Pixel(w - 1 - x, y);
    })) << "left-right";
    EXPECT_TRUE(PixelsAre(picture, 0, 0, w - 1, h - 1, [&](int x, int y) {
      return picture.Pixel(x, h - 1 - y);
    })) << "top-bottom";
  }
}

TEST(CrossTest, PassesItsCoordinatesUnroundedInOrder) {
  using Kind = testing::DrawCall::Kind;
  GridForm form(1024, 768);
  testing::DrawingRecorder recorder;
  form.Observe(&recorder);
  CrossTest(form);

  // 768 / 7 = 109.7142857: inset 110.7142857, far x 912.2857143, far y
  // 656.2857143; centre radius 768 / 5 = 153.6.
  const float in = 110.7142857f, fx = 912.2857143f, fy = 656.2857143f, corner = 109.7142857f;
  const struct {
    Kind kind;
    Colour colour;
    std::array<float, 4> at;
  } expected[] = {
      {Kind::kBackColor, kBlack, {}},
      {Kind::kCls, 0, {}},
      {Kind::kForeColor, kRed, {}},
      {Kind::kLine, kRed, {0, 0, 0, 767}},
      {Kind::kLine, kRed, {1023, 0, 1023, 767}},
      {Kind::kLine, kRed, {0, 0, 1023, 0}},
      {Kind::kLine, kRed, {0, 767, 1024, 767}},
      {Kind::kForeColor, kWhite, {}},
      {Kind::kLine, kWhite, {512, 1, 512, 767}},
      {Kind::kLine, kWhite, {511, 1, 511, 767}},
      {Kind::kLine, kWhite, {in, 1, in, 767}},
      {Kind::kLine, kWhite, {fx, 1, fx, 767}},
      {Kind::kLine, kWhite, {1, 384, 1023, 384}},
      {Kind::kLine, kWhite, {1, 383, 1023, 383}},
      {Kind::kLine, kWhite, {1, in, 1023, in}},
      {Kind::kLine, kWhite, {1, fy, 1023, fy}},
      {Kind::kCircle, kWhite, {512, 384, 153.6f}},
      {Kind::kCircle, kWhite, {511, 383, 153.6f}},
      {Kind::kCircle, kWhite, {512, 383, 153.6f}},
      {Kind::kCircle, kWhite, {511, 384, 153.6f}},
      {Kind::kCircle, kWhite, {in, in, corner}},
      {Kind::kCircle, kWhite, {in, fy, corner}},
      {Kind::kCircle, kWhite, {fx, in, corner}},
      {Kind::kCircle, kWhite, {fx, fy, corner}},
  };
  ASSERT_EQ(recorder.calls.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(::testing::Message() << "call " << i);
    const testing::DrawCall& call = recorder.calls[i];
    EXPECT_EQ(call.kind, expected[i].kind);
    if (call.kind == Kind::kCls) continue;
    EXPECT_EQ(call.colour, expected[i].colour);
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(call.at[k], expected[i].at[k], 1e-3) << "argument " << k;
  }
}

}  // namespace
}  // namespace testcard
