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
  // Wide canvases get bands of a few rows, so runs cross band boundaries.
  const struct { int width, height; } sizes[] = {{2000, 50}, {4096, 37}, {33, 700}, {1, 1}};
  std::mt19937 random(1234);
  for (const auto& size : sizes) {
    SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
    Twins twins(size.width, size.height);
    std::uniform_real_distribution<double> x(-20, size.width + 20);
    std::uniform_real_distribution<double> y(-20, size.height + 20);
    std::uniform_int_distribution<Colour> colour(0, 0xFFFFFF);
    std::uniform_int_distribution<int> kind(0, 9);
    for (int step = 0; step < 400; ++step) {
      const Colour c = colour(random);
      switch (kind(random)) {
        case 0:
          if (step % 50 == 0) twins.Do([&](Canvas& canvas) { canvas.Fill(c); });
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
    EXPECT_TRUE(twins.Same("batched"));
  }
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
