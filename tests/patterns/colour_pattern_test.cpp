#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/run_time_error.hpp"
#include "tests/patterns/pattern_checks.hpp"

namespace testcard {
namespace {

using testing::DescribeColour;
using testing::DrawCall;
using testing::kBlack;
using testing::kDarkGrey;
using testing::kRed;
using testing::kWhite;
using testing::PixelsAre;

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
// image: hx + 3 * cell = width - x0), xL and xR the ends of the diagonals,
// four cells in from the ends of a ramp band centred exactly.
struct Layout {
  int width, height;
  int cell, rampWidth, levelWidth, x0, hx;
  float xL, xR;
};

const Layout kLayouts[] = {
    {640, 480, 32, 512, 2, 64, 480, 192, 448},    // 64 / 32 = 2
    {800, 600, 40, 768, 3, 0, 680, 176, 624},     // 16 / 40 = 0.4 -> 0; 16.6 -> 17
    {800, 480, 32, 768, 3, 0, 704, 144, 656},     // 0.5 -> 0 and 21.5 -> 22, halves to even
    {1024, 768, 32, 768, 3, 128, 800, 256, 768},  // 1024 = 4 * 256 gets the narrower ramps
    {1026, 768, 38, 1024, 4, 0, 912, 153, 873},   // two pixels more: the next width up
    {1152, 864, 48, 1024, 4, 48, 960, 256, 896},  // 64 / 48 -> 1: 48 columns spare left, 80 right
    {1366, 768, 2, 1280, 5, 44, 1316, 51, 1315},  // 21.5 -> 22 and 658.5 -> 658
    {1920, 1080, 64, 1792, 7, 64, 1664, 320, 1600},
    {512, 384, 16, 256, 1, 128, 336, 192, 320},  // 512 = 2 * 256: ramps only 256 wide
    {200, 150, 10, 256, 1, -30, 200, 12, 188},   // -2.8 -> -3: both blocks mostly outside
};

TEST(ColorTest, RampsShowEveryLevelInItsColumnsAndRow) {
  for (const Layout& c : kLayouts) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    ColorTest(form);
    EXPECT_EQ(form.Tag(), "3");
    const Canvas& picture = form.Picture();
    const int last = c.x0 + c.rampWidth - 1;
    for (int row = 2; row <= 8; ++row) {
      SCOPED_TRACE(::testing::Message() << "grid row " << row);
      // Pixel column x0 + k shows level 255 - k / LevelWidth, over exactly
      // the cell's pixel rows.
      EXPECT_TRUE(
          PixelsAre(picture, c.x0, row * c.cell, last, row * c.cell + c.cell - 1,
                    [&](int x, int) { return RampColour(row, 255 - (x - c.x0) / c.levelWidth); }));
    }
    // The rows just above and below the seven ramps stay black.
    const int x = std::max(c.x0, 0) + 5;
    EXPECT_EQ(picture.Pixel(x, 2 * c.cell - 1), kBlack);
    EXPECT_EQ(picture.Pixel(x, 9 * c.cell), kBlack);
  }
}

TEST(ColorTest, LineBlocksAlternateAndMirrorEachOther) {
  for (const Layout& c : kLayouts) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    ColorTest(form);
    const Canvas& picture = form.Picture();
    const int top = 10 * c.cell, bottom = 13 * c.cell, side = 3 * c.cell;
    // Columns x0 ... x0 + 3C, white at an even distance from the first.
    EXPECT_TRUE(PixelsAre(picture, c.x0, top, c.x0 + side, bottom, [&](int x, int) {
      return (x - c.x0) % 2 == 0 ? kWhite : kBlack;
    })) << "vertical block";
    // Rows 10C ... 13C over the mirrored columns, white on even steps.
    EXPECT_TRUE(PixelsAre(picture, c.hx, top, c.hx + side, bottom, [&](int, int y) {
      return (y - top) % 2 == 0 ? kWhite : kBlack;
    })) << "horizontal block";
    // The blocks stop at 13C: the row below is untouched (away from the border).
    for (const int x : {c.x0 + side, c.hx}) {
      if (x > 0 && x < c.width - 1) {
        EXPECT_EQ(picture.Pixel(x, bottom + 1), kBlack) << x;
      }
    }
  }
}

TEST(ColorTest, FrameKeepsOnlyTheOuterGridEdges) {
  const struct {
    int width, height, x, y;
    Colour colour;
    const char* what;
  } cases[] = {
      {640, 480, 31, 10, kDarkGrey, "right edge of grid column 0"},
      {640, 480, 608, 10, kDarkGrey, "left edge of the last grid column"},
      {640, 480, 10, 31, kDarkGrey, "bottom edge of grid row 0"},
      {640, 480, 10, 448, kDarkGrey, "top edge of the last grid row"},
      {640, 480, 63, 10, kBlack, "no inner column edges"},
      {640, 480, 100, 63, kBlack, "no inner row edges, no mid grey"},
      {640, 480, 31, 100, kWhite, "outer frame"},
      {640, 480, 32, 100, kWhite, "inner frame"},
      {1920, 1080, 10, 1024, kDarkGrey, "m = 16: top edge of the cut-off row"},
      {1920, 1080, 10, 1023, kBlack, "no edge at the end of row 15"},
      {1920, 1080, 100, 1016, kWhite, "frame bottom, outer"},
      {1920, 1080, 100, 1024, kDarkGrey, "the dark grey row runs the full width"},
      {832, 624, 10, 576, kDarkGrey, "m = 18.5 -> 18: top edge of grid row 18"},
      {832, 624, 10, 607, kDarkGrey, "bottom edge of grid row 18"},
      {832, 624, 10, 608, kBlack, "grid row 19 has no edges"},
      {832, 624, 10, 592, kBlack, "the frame starts at x = 31"},
      {800, 600, 799, 100, kRed, "the ramps end before the right border"},
      {800, 600, 768, 100, kBlack, "first column after the ramps"},
      {800, 600, 760, 130, rtcRgb(2, 2, 0), "the yellow ramp paints over the frame"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.width << " x " << c.height << " (" << c.x << ", " << c.y << "): " << c.what);
    GridForm form(c.width, c.height);
    ColorTest(form);
    EXPECT_EQ(DescribeColour(form.Picture().Pixel(c.x, c.y)), DescribeColour(c.colour));
  }
}

// The calls the pattern must make, in order, from the first pen change on.
std::vector<testing::PenRun> ExpectedPenRuns(const Layout& c) {
  std::vector<testing::PenRun> runs{{kDarkGrey, 8}, {kRed, 4}, {kWhite, 8}};
  for (int row = 2; row <= 8; ++row) {
    for (int L = 255; L >= 0; --L)
      runs.push_back({RampColour(row, L), c.levelWidth});
  }
  for (int block = 0; block < 2; ++block) {
    for (int i = 0; i <= 3 * c.cell; ++i)
      runs.push_back({i % 2 == 0 ? kWhite : kBlack, 1});
  }
  runs.push_back({kWhite, 3});  // two diagonals and the circle
  return runs;
}

TEST(ColorTest, OnePenPerLevelAndPerBlockLine) {
  for (const Layout& c : kLayouts) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    testing::DrawingRecorder recorder;
    form.Observe(&recorder);
    ColorTest(form);
    EXPECT_EQ(testing::PenRuns(recorder.calls), ExpectedPenRuns(c));
  }
}

// Every line and circle after the frame, with its end points.
TEST(ColorTest, LinePositionsOfRampsBlocksAndDiagonals) {
  for (const Layout& c : kLayouts) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    GridForm form(c.width, c.height);
    testing::DrawingRecorder recorder;
    form.Observe(&recorder);
    ColorTest(form);
    std::vector<DrawCall> shapes;
    for (const DrawCall& call : recorder.calls) {
      if (call.kind == DrawCall::Kind::kLine || call.kind == DrawCall::Kind::kCircle)
        shapes.push_back(call);
    }
    const int C = c.cell;
    std::vector<std::array<float, 4>> expected;
    for (int row = 2; row <= 8; ++row) {
      for (int k = 0; k < c.rampWidth; ++k) {
        const auto x = static_cast<float>(c.x0 + k);
        expected.push_back({x, float(row * C), x, float(row * C + C)});
      }
    }
    for (int i = 0; i <= 3 * C; ++i) {
      const auto x = static_cast<float>(c.x0 + i);
      expected.push_back({x, float(10 * C), x, float(13 * C + 1)});
    }
    for (int i = 0; i <= 3 * C; ++i) {
      const auto y = static_cast<float>(10 * C + i);
      expected.push_back({float(c.hx), y, float(c.hx + 3 * C + 1), y});
    }
    expected.push_back({c.xL, float(10 * C), c.xR, float(13 * C)});
    expected.push_back({c.xL, float(13 * C), c.xR, float(10 * C)});
    expected.push_back({c.width / 2.0f, 11.5f * C, float(C), 0});  // around the crossing

    ASSERT_EQ(shapes.size(), 20 + expected.size());
    int wrong = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const DrawCall& call = shapes[20 + i];
      for (int k = 0; k < 4; ++k) {
        if (std::abs(call.at[k] - expected[i][k]) > 1e-3f && wrong++ < 4) {
          ADD_FAILURE() << "shape " << i << " argument " << k << " is " << call.at[k]
                        << ", expected " << expected[i][k];
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shapes.back().kind, DrawCall::Kind::kCircle);
  }
}

TEST(ColorTest, WindowTooWideForSixteenBitRampsRaisesOverflow) {
  // The ramp width would pass 32767 before it comes within 256 of the width.
  GridForm form(40000, 40);
  try {
    ColorTest(form);
    FAIL() << "no error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kOverflow);
  }
}

}  // namespace
}  // namespace testcard
