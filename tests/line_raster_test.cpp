#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "tests/raster_points.hpp"

namespace testcard {
namespace {

using testing::Inside;
using testing::LinePoints;
using testing::PointSet;

// A box far larger than any line of these tests; they keep their points
// at positive coordinates to stay inside it.
constexpr ClipBox kHuge{std::int64_t{1} << 31, std::int64_t{1} << 31};

// Textbook incremental Bresenham with the midpoint decision (a tie steps the
// minor axis), written independently of the closed form under test; `to` is
// not plotted. Only for lines that are neither vertical nor horizontal.
// Keeps the points inside `keep`.
PointSet ReferenceLine(PixelPoint from, PixelPoint to, ClipBox keep = kHuge) {
  const std::int64_t dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
  const int sx = to.x > from.x ? 1 : -1, sy = to.y > from.y ? 1 : -1;
  const bool xMajor = dx >= dy;
  const std::int64_t length = xMajor ? dx : dy, rise = xMajor ? dy : dx;
  PointSet points;
  std::int64_t x = from.x, y = from.y, error = 0;
  for (std::int64_t i = 0; i < length; ++i) {
    if (keep.Contains(x, y)) points.insert({x, y});
    error += 2 * rise;
    if (error >= length) {
      error -= 2 * length;
      (xMajor ? y : x) += xMajor ? sy : sx;
    }
    (xMajor ? x : y) += xMajor ? sx : sy;
  }
  return points;
}

// Vertical and horizontal lines (slanted ones: the textbook comparison below).
TEST(RasterLine, AxisLinesPaintTheirFirstPointNotTheLastClampedToTheBox) {
  const ClipBox clip{10, 8};
  const struct {
    const char* name;
    PixelPoint from, to;
    PointSet expected;
  } cases[] = {
      {"down", {5, 5}, {5, 8}, {{5, 5}, {5, 6}, {5, 7}}},
      {"up", {5, 5}, {5, 2}, {{5, 5}, {5, 4}, {5, 3}}},
      {"right", {5, 5}, {8, 5}, {{5, 5}, {6, 5}, {7, 5}}},
      {"left", {5, 5}, {2, 5}, {{5, 5}, {4, 5}, {3, 5}}},
      {"one step", {5, 5}, {6, 5}, {{5, 5}}},
      {"coincident", {5, 5}, {5, 5}, {}},
      {"vertical through the box",
       {3, -1000000},
       {3, 1000000},
       {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7}}},
      {"vertical ending on the last row", {3, 5}, {3, 7}, {{3, 5}, {3, 6}}},
      {"vertical from below, up", {3, 1000000}, {3, 6}, {{3, 7}}},
      {"vertical beside the box", {10, 0}, {10, 8}, {}},
      {"horizontal to the right edge", {7, 2}, {10, 2}, {{7, 2}, {8, 2}, {9, 2}}},
      {"horizontal from the far left", {-1000000, 0}, {2, 0}, {{0, 0}, {1, 0}}},
      {"horizontal above the box", {0, -1}, {9, -1}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinePoints(c.from, c.to, clip), c.expected);
  }
}

TEST(RasterLine, MatchesTextbookBresenhamWithItsProperties) {
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<std::int64_t> coordinate(1000 - 40, 1000 + 40);
  for (int trial = 0; trial < 5000; ++trial) {
    const PixelPoint from{coordinate(random), coordinate(random)};
    const PixelPoint to{coordinate(random), coordinate(random)};
    if (from.x == to.x || from.y == to.y) continue;
    SCOPED_TRACE(::testing::Message()
                 << "(" << from.x << ", " << from.y << ") to (" << to.x << ", " << to.y << ")");
    std::int64_t emissions = 0;
    const PointSet points = LinePoints(from, to, kHuge, &emissions);
    ASSERT_EQ(points, ReferenceLine(from, to));
    const std::int64_t steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    EXPECT_EQ(emissions, steps) << "one pixel per major step, none twice";
    EXPECT_TRUE(points.contains({from.x, from.y}));
    EXPECT_FALSE(points.contains({to.x, to.y}));
  }
}

TEST(RasterLine, ClippedLineEqualsTheUnclippedLineCropped) {
  // Random lines drawn through small boxes, some with their end points moved
  // about a million pixels out along the line: what a box shows must be
  // exactly the unclipped line's pixels inside it, each emitted once, none
  // outside (so a line wholly outside emits nothing).
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> near(-30, 90);
  for (int trial = 0; trial < 4000; ++trial) {
    PixelPoint from{near(random), near(random)}, to{near(random), near(random)};
    if (trial % 100 == 0) {
      const std::int64_t dx = to.x - from.x, dy = to.y - from.y;
      from = {from.x - 10000 * dx, from.y - 10000 * dy};
      to = {to.x + 10000 * dx, to.y + 10000 * dy};
    }
    const ClipBox box{1 + trial % 61, 1 + trial % 47};
    SCOPED_TRACE(::testing::Message() << "(" << from.x << ", " << from.y << ") to (" << to.x << ", "
                                      << to.y << ") in " << box.width << " x " << box.height);
    std::int64_t emissions = 0;
    const PointSet clipped = LinePoints(from, to, box, &emissions);
    const bool axis = from.x == to.x || from.y == to.y;
    ASSERT_EQ(clipped,
              axis ? Inside(LinePoints(from, to, kHuge), box) : ReferenceLine(from, to, box));
    EXPECT_EQ(emissions, static_cast<std::int64_t>(clipped.size()))
        << "nothing emitted twice or outside the box";
  }
}

}  // namespace
}  // namespace testcard
