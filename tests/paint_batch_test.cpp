#include <gtest/gtest.h>

#include <random>

#include "surface/canvas.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using testing::SamePicture;

// Draws the same random sequence on two canvases: one read back after every
// call, so each call is painted at once, and one read only at the end, so
// the whole sequence goes through the batch in bands. The pictures must be
// identical: batching may change when pixels are painted, never which.
class Twins {
 public:
  Twins(int width, int height) : eager_(width, height), batched_(width, height) {}

  template <typename Draw>
  void Do(Draw draw) {
    draw(eager_);
    (void)eager_.Pixels();
    draw(batched_);
  }
  ::testing::AssertionResult Same(const std::string& name) {
    return SamePicture(batched_, eager_, name);
  }

 private:
  Canvas eager_;
  Canvas batched_;
};

TEST(PaintBatch, BatchedDrawingEqualsDrawingEachCallAtOnce) {
  // Many short sequences, so that rows are often drawn alike, and some
  // long ones, so that much overlaps; canvases of several bands of rows.
  const struct { int width, height; } sizes[] = {{2000, 50}, {400, 37}, {33, 700}, {1, 1}};
  std::mt19937 random(1234);
  for (int trial = 0; trial < 400; ++trial) {
    const auto& size = sizes[trial % 4];
    const int steps = trial % 40 == 0 ? 400 : 1 + trial % 12;
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    Twins twins(size.width, size.height);
    std::uniform_real_distribution<double> x(-20, size.width + 20);
    std::uniform_real_distribution<double> y(-20, size.height + 20);
    std::uniform_int_distribution<Colour> colour(0, 0xFFFFFF);
    std::uniform_int_distribution<int> kind(0, 9);
    for (int step = 0; step < steps; ++step) {
      const Colour c = colour(random);
      switch (kind(random)) {
        case 0:
          if (step % 5 == 0) twins.Do([&](Canvas& canvas) { canvas.Fill(c); });
          break;
        case 1:
        case 2: {  // a ramp-like run of adjacent vertical lines, equal or not in extent
          const double left = x(random), top = y(random), bottom = y(random);
          const int count = 1 + step % 40;
          for (int i = 0; i < count; ++i) {
            const double b = bottom + (i == count / 2 && step % 3 == 0 ? 1 : 0);
            twins.Do([&](Canvas& canvas) { canvas.Line(left + i, top, left + i, b, c + i); });
          }
          break;
        }
        case 4: {  // rows drawn alike, now and then across a vertical line between them
          const double left = x(random), right = x(random), top = y(random);
          const double across = (left + right) / 2;
          for (int i = 0; i < 1 + step % 12; ++i) {
            twins.Do([&](Canvas& canvas) { canvas.Line(left, top + i, right, top + i, c); });
            if (i % 4 == 1) {
              twins.Do([&](Canvas& canvas) { canvas.Line(across, -5, across, 1e4, c + 1); });
            }
          }
          break;
        }
        case 3: {
          const double cx = x(random), cy = y(random);
          twins.Do([&](Canvas& canvas) { canvas.Circle(cx, cy, step % 60, c); });
          break;
        }
        default: {
          const double x1 = x(random), y1 = y(random), x2 = x(random), y2 = y(random);
          twins.Do([&](Canvas& canvas) { canvas.Line(x1, y1, x2, y2, c); });
          break;
        }
      }
    }
    ASSERT_TRUE(twins.Same("batched"));
  }
}

TEST(PaintBatch, RowsDrawnAlikeButInAnotherOrderStayDifferent) {
  // Rows 5 and 6 get the same horizontal line, one before and one after a
  // vertical line crossing them both: where they cross, row 5 shows the
  // vertical line's colour and row 6 its own.
  Twins twins(200, 40);
  twins.Do([](Canvas& canvas) { canvas.Fill(0); });
  twins.Do([](Canvas& canvas) { canvas.Line(0, 5, 200, 5, 0x0000FF); });
  twins.Do([](Canvas& canvas) { canvas.Line(100, 0, 100, 40, 0x00FF00); });
  twins.Do([](Canvas& canvas) { canvas.Line(0, 6, 200, 6, 0x0000FF); });
  EXPECT_TRUE(twins.Same("row-order"));
}

TEST(PaintBatch, AQueueThatOverflowsIsPaintedInOrder) {
  // More single-pixel runs than the batch holds, over a line drawn first
  // and under a line drawn last.
  Twins twins(300, 300);
  twins.Do([](Canvas& canvas) { canvas.Line(0, 150, 300, 150, 0x0000FF); });
  for (int i = 0; i < 90000; ++i) {
    const int x = i % 300, y = (i / 300) % 300;
    twins.Do([&](Canvas& canvas) { canvas.Line(x, y, x + 1, y, Colour(i)); });
  }
  twins.Do([](Canvas& canvas) { canvas.Line(150, 0, 150, 300, 0x00FF00); });
  EXPECT_TRUE(twins.Same("overflow"));
}

}  // namespace
}  // namespace testcard
