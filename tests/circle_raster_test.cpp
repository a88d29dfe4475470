#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "surface/canvas.hpp"
#include "tests/raster_points.hpp"

namespace testcard {
namespace {

using testing::CirclePoints;
using testing::Inside;
using testing::PointSet;
using testing::ReferenceCircle;

constexpr ClipBox kHuge{std::int64_t{1} << 31, std::int64_t{1} << 31};

TEST(RasterCircle, MatchesTheTextbookMidpointCircle) {
  const PixelPoint centre{5000, 5000};
  for (std::int64_t r = 1; r <= 400; ++r) {
    SCOPED_TRACE(r);
    ASSERT_EQ(CirclePoints(centre, r, kHuge), ReferenceCircle(centre, r, kHuge));
  }
  EXPECT_EQ(CirclePoints(centre, 0, kHuge), (PointSet{{5000, 5000}}));
  EXPECT_EQ(CirclePoints({9, 9}, 1, kHuge), (PointSet{{10, 9}, {8, 9}, {9, 10}, {9, 8}}));
}

TEST(RasterCircle, IsItsOwnEightMirrorImagesWithTheExtremePointsOnTheRadius) {
  for (const std::int64_t r : {2, 3, 7, 10, 32, 85, 110, 120, 153, 1000}) {
    SCOPED_TRACE(r);
    // Points relative to the centre.
    PointSet points;
    for (const auto& [x, y] : CirclePoints({5000, 5000}, r, kHuge))
      points.insert({x - 5000, y - 5000});
    for (const auto& [x, y] : points) {
      for (const auto& [mx, my] :
           {std::pair{x, -y}, {-x, y}, {-x, -y}, {y, x}, {-y, x}, {y, -x}, {-y, -x}}) {
        ASSERT_TRUE(points.contains({mx, my})) << "(" << x << ", " << y << ") unmirrored";
      }
    }
    for (const auto& extreme : {std::pair{r, std::int64_t{0}}, {-r, 0}, {0, r}, {0, -r}}) {
      EXPECT_TRUE(points.contains(extreme));
    }
    for (const auto& beyond : {std::pair{r + 1, std::int64_t{0}}, {0, -r - 1}}) {
      EXPECT_FALSE(points.contains(beyond));
    }
  }
}

TEST(RasterCircle, ClippedCircleEqualsTheUnclippedCircleCropped) {
  std::mt19937_64 random(42);
  std::uniform_int_distribution<std::int64_t> centre(-60, 120);
  std::uniform_int_distribution<std::int64_t> radius(0, 90);
  for (int trial = 0; trial < 3000; ++trial) {
    const PixelPoint c{centre(random), centre(random)};
    const std::int64_t r = radius(random);
    const ClipBox box{1 + trial % 64, 1 + trial % 48};
    SCOPED_TRACE(::testing::Message() << "centre (" << c.x << ", " << c.y << "), radius " << r
                                      << ", box " << box.width << " x " << box.height);
    ASSERT_EQ(CirclePoints(c, r, box), Inside(CirclePoints(c, r, kHuge), box));
  }
}

TEST(RasterCircle, HugeCirclesShowTheRightArcAndMissesPlotNothing) {
  const ClipBox box{64, 48};
  // A circle of radius one million whose left edge crosses the box.
  const PixelPoint farCentre{1000000 + 10, 24};
  EXPECT_EQ(CirclePoints(farCentre, 1000000, box), ReferenceCircle(farCentre, 1000000, box));
  EXPECT_FALSE(CirclePoints(farCentre, 1000000, box).empty());

  int plots = 0;
  auto count = [&](std::int64_t, std::int64_t) { ++plots; };
  RasterCircle({-500, 20}, 400, box, count);       // box lies wholly to the right
  RasterCircle({32, 24}, 1000000, box, count);     // box lies wholly inside the disc
  RasterCircle({32, -100000}, 99000, box, count);  // the arc passes above the box
  EXPECT_EQ(plots, 0);
}

TEST(RasterCircle, QueuedRowsOnACanvasPaintExactlyItsPixels) {
  // The canvas queues a circle as a table of rows (CircleRows) rather than
  // point by point; for circles whole and cut by every edge, it must paint
  // exactly the rasteriser's pixels.
  std::mt19937_64 random(99);
  std::uniform_int_distribution<std::int64_t> centre(-80, 160);
  std::uniform_int_distribution<std::int64_t> radius(1, 120);
  const ClipBox box{80, 60};
  for (int trial = 0; trial < 1500; ++trial) {
    const PixelPoint c{centre(random), centre(random)};
    const std::int64_t r = trial < 300 ? trial + 1 : radius(random);
    Canvas canvas(int(box.width), int(box.height), 0);
    canvas.Circle(double(c.x), double(c.y), double(r), 1);
    PointSet painted;
    for (int y = 0; y < canvas.Height(); ++y) {
      for (int x = 0; x < canvas.Width(); ++x) {
        if (canvas.Pixel(x, y) == 1) painted.insert({x, y});
      }
    }
    ASSERT_EQ(painted, CirclePoints(c, r, box))
        << "centre (" << c.x << ", " << c.y << "), radius " << r;
  }
}

}  // namespace
}  // namespace testcard
