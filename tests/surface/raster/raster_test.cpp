// SPDX-License-Identifier: MIT
// The drawing core against the textbook rasterisers: the canvas (rounding,
// clipping far-away lines and huge circles, the ramp shortcut and the batched
// painting) against a painter that plots every shape at once.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "surface/raster/canvas.hpp"
#include "surface/raster/raster_error.hpp"
#include "tests/support/textbook_raster.hpp"

namespace testcard {
namespace {

using testing::Points;
using testing::TextbookCircle;
using testing::TextbookLine;

// Paints each shape as it comes: ends rounded by the processor's own
// rounding (to nearest, halves to even), pixels from the textbook.
class TextbookPainter {
 public:
  TextbookPainter(int width, int height) : width_(width), pixels_(std::size_t(width) * height) {
    box_ = {width, height};
  }
  void Fill(Colour c) { std::fill(pixels_.begin(), pixels_.end(), c); }
  void Line(double x1, double y1, double x2, double y2, Colour c) {
    Paint(TextbookLine({R(x1), R(y1)}, {R(x2), R(y2)}, box_), c);
  }
  void Circle(double x, double y, double r, Colour c) {
    Paint(TextbookCircle({R(x), R(y)}, R(r), box_), c);
  }
  Colour At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

 private:
  static std::int64_t R(double v) { return static_cast<std::int64_t>(std::nearbyint(v)); }
  void Paint(const Points& points, Colour c) {
    for (const auto& [x, y] : points)
      pixels_[std::size_t(y) * width_ + std::size_t(x)] = c;
  }
  int width_;
  ClipBox box_;
  std::vector<Colour> pixels_;
};

// Random drawing on two canvases, one read after every call and one only at
// the end (so all of it goes through the batch), and on the textbook
// painter: all three pictures must be the same. Ramps of adjacent columns
// start at whole and at half x, change their ends now and then and run off
// the right edge; rows drawn alike, circles, fills and slanted lines mix in.
// So does what the patterns never draw, which the batch must still get
// right: runs of one colour in a row that touch or stand one or two pixels
// apart, in either order, and blocks of columns from one band of rows into
// the next, stacked on one another, drawn before or after a line below them.
TEST(Canvas, PaintsWhatTheTextbookPainterPaints) {
  const struct { int width, height; } sizes[] = {{300, 50}, {97, 37}, {33, 200}, {1, 1}};
  std::mt19937 random(1234);
  for (int trial = 0; trial < 400; ++trial) {
    const auto [width, height] = sizes[trial % 4];
    Canvas eager(width, height, 5), batched(width, height, 5);
    TextbookPainter painter(width, height);
    painter.Fill(5);
    auto draw = [&](auto&& call) {
      call(eager);
      (void)eager.Pixels();
      call(batched);
      call(painter);
    };
    std::uniform_real_distribution<double> x(-20, width + 20), y(-20, height + 20);
    std::uniform_int_distribution<Colour> colour(0, 0xFFFFFF);
    const int steps = trial % 40 == 0 ? 300 : 1 + trial % 12;
    for (int step = 0; step < steps; ++step) {
      const Colour c = colour(random);
      const double x1 = x(random), y1 = y(random), x2 = x(random), y2 = y(random);
      switch (random() % 8) {
        case 0:
          if (step % 5 == 0) draw([&](auto& on) { on.Fill(c); });
          break;
        case 1:
        case 2: {  // a ramp
          const double left = std::round(x1) + (step % 2 ? 0.5 : 0);
          for (int i = 0; i < 1 + step % 40; ++i) {
            // Now and then a column whose top or bottom differs from the last.
            const double top = y1 - (i == step % 5 ? 1 : 0), bottom = y2 + (i == step % 7 ? 1 : 0);
            draw([&](auto& on) { on.Line(left + i, top, left + i, bottom, c + i); });
          }
          break;
        }
        case 3:  // rows drawn alike, crossed by a column now and then
          for (int i = 0; i < 1 + step % 12; ++i) {
            draw([&](auto& on) { on.Line(x1, y1 + i, x2, y1 + i, c); });
            const double middle = std::round((x1 + x2) / 2);
            if (i % 4 == 1) draw([&](auto& on) { on.Line(middle, -5, middle, 1e4, c + 1); });
          }
          break;
        case 4:
          if (trial % 50 == 3 && step == 0) {  // a million-pixel circle whose arc crosses the box
            draw([&](auto& on) { on.Circle(x1 + 1e6, y1, 1e6, c); });
          } else {
            draw([&](auto& on) { on.Circle(x1, y1, step % 60 + (trial % 7 == 0 ? 200 : 0), c); });
          }
          break;
        case 6: {  // two runs of one colour in a row, 0 to 2 pixels apart, either first
          const double left = std::round(x1), row = std::round(y1), gap = step % 3;
          const double middle = left + 1 + step % 9, right = middle + gap + 1 + step % 4;
          // The left run drawn rightwards or leftwards: the same pixels.
          auto leftRun = [&](auto& on) {
            if (step % 2) on.Line(left, row, middle, row, c);
            if (step % 2 == 0) on.Line(middle - 1, row, left - 1, row, c);
          };
          auto rightRun = [&](auto& on) { on.Line(middle + gap, row, right, row, c); };
          if (random() % 2) {
            draw(leftRun), draw(rightRun);
          } else {
            draw(rightRun), draw(leftRun);
          }
          break;
        }
        case 7: {  // stacked blocks of columns across a band edge, a line below
          const double edge = 32.0 * (random() % (height / 32 + 1)), top = edge - 1 - step % 5;
          const double middle = edge + 1 + step % 4, bottom = middle + 1 + step % 3;
          const double left = step % 3 ? std::round(std::min(x1, x2)) : 0;
          const double right = step % 3 ? std::round(std::max(x1, x2)) : width;
          const bool lineFirst = random() % 2 == 0;
          auto line = [&](auto& on) {
            on.Line(x1, bottom + step % 3, x2, bottom + step % 3, c + 7);
          };
          if (lineFirst) draw(line);
          // Both blocks start with colour c, the lower one a ramp from there.
          for (double column = left; column < right; ++column) {
            draw([&](auto& on) { on.Line(column, top, column, middle, c); });
          }
          for (double column = left; column < right; ++column) {
            const Colour shade = c + Colour(column - left);
            draw([&](auto& on) { on.Line(column, middle, column, bottom, shade); });
          }
          if (!lineFirst) draw(line);
          break;
        }
        default: {  // now and then the same line from a million pixels away
          const double far = step % 3 == 0 ? 20000 : 0;
          const double fx = std::round(x1) - far * (x2 - x1), fy = std::round(y1) - far * (y2 - y1);
          draw([&](auto& on) { on.Line(fx, fy, x2, y2, c); });
        }
      }
    }
    for (int py = 0; py < height; ++py) {
      for (int px = 0; px < width; ++px) {
        ASSERT_EQ(eager.Pixel(px, py), painter.At(px, py))
            << "trial " << trial << " (" << px << ", " << py << ")";
        ASSERT_EQ(batched.Pixel(px, py), painter.At(px, py))
            << "trial " << trial << " (" << px << ", " << py << ") batched";
      }
    }
  }
}

TEST(Canvas, QueueOverflowFarShapesAndBadArguments) {
  // More runs than the batch holds, between a line drawn first and one last.
  Canvas canvas(300, 300, 0);
  TextbookPainter painter(300, 300);
  painter.Fill(0);
  auto both = [&](auto&& call) { call(canvas), call(painter); };
  both([](auto& on) { on.Line(0, 150, 300, 150, 0xFF); });
  for (int i = 0; i < 90000; ++i)
    both([&](auto& on) { on.Line(i % 300, i / 300, i % 300 + 1, i / 300, Colour(i)); });
  both([](auto& on) { on.Line(150, 0, 150, 300, 0xFF00); });
  both([](auto& on) { on.Circle(150, 100000 + 150, 100000, 0xFF0000); });  // too big to queue
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 300; ++x)
      ASSERT_EQ(canvas.Pixel(x, y), painter.At(x, y)) << "(" << x << ", " << y << ")";
  }
  // End points a trillion pixels away: one pixel per column on the row the
  // line passes at, and the diagonal y = x + 24.
  Canvas far(64, 48, 0);
  far.Line(-1e12, 20, 1e12, 40, 1);
  far.Line(-1e12, -1e12 + 24, 1e12, 1e12 + 24, 1);
  far.Line(-3e38, -3e38, 3e38, -1e30, 1);  // passes far above
  far.Circle(1e30, 1e30, 5, 1);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(far.Pixel(x, y), y == 30 || y == x + 24 ? 1u : 0u) << "(" << x << ", " << y << ")";
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_THROW(far.Line(nan, 0, 5, 5, 1), RasterError);
  EXPECT_THROW(far.Line(0, 0, 5, -inf, 1), RasterError);
  EXPECT_THROW(far.Circle(4, inf, 2, 1), RasterError);
  EXPECT_THROW(far.Circle(4, 4, -0.6, 1), RasterError);
  EXPECT_THROW(far.Resize(Canvas::kMaxSide + 1, 1, 0), RasterError);
  EXPECT_THROW(far.Resize(-1, 1, 0), RasterError);
}

}  // namespace
}  // namespace testcard
