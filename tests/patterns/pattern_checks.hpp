#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "surface/canvas.hpp"
#include "surface/colour.hpp"
#include "surface/grid_form.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard::testing {

inline const Colour kBlack = rtcRgb(0, 0, 0);
inline const Colour kRed = rtcRgb(255, 0, 0);
inline const Colour kWhite = rtcRgb(255, 255, 255);
inline const Colour kDarkGrey = rtcRgb(63, 63, 63);
inline const Colour kMidGrey = rtcRgb(127, 127, 127);

// Compares the pixels (x, y) with left <= x <= right and top <= y <= bottom,
// clipped to the canvas, with expected(x, y). On a mismatch it reports how
// many pixels differ and the first few, with both colours.
inline ::testing::AssertionResult PixelsAre(const Canvas& canvas, int left, int top, int right,
                                            int bottom,
                                            const std::function<Colour(int x, int y)>& expected) {
  std::ostringstream first;
  long wrong = 0;
  for (int y = std::max(top, 0); y <= std::min(bottom, canvas.Height() - 1); ++y) {
    for (int x = std::max(left, 0); x <= std::min(right, canvas.Width() - 1); ++x) {
      const Colour want = expected(x, y);
      if (canvas.Pixel(x, y) == want) continue;
      if (wrong++ < 4) {
        first << "\n  (" << x << ", " << y << ") is " << DescribeColour(canvas.Pixel(x, y))
              << ", expected " << DescribeColour(want);
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ, first:" << first.str();
}

// One call made on a GridForm, as a DrawingObserver hears it.
struct DrawCall {
  enum class Kind { kBackColor, kForeColor, kCls, kLine, kCircle };
  Kind kind;
  Colour colour;              // the colour set, or the pen of a line or circle
  std::array<float, 4> at{};  // x1, y1, x2, y2 of a line; x, y, radius of a circle
};

class DrawingRecorder : public DrawingObserver {
 public:
  std::vector<DrawCall> calls;

  void OnBackColor(Colour colour) override {
    calls.push_back({DrawCall::Kind::kBackColor, colour});
  }
  void OnForeColor(Colour colour) override {
    calls.push_back({DrawCall::Kind::kForeColor, colour});
  }
  void OnCls() override { calls.push_back({DrawCall::Kind::kCls, 0}); }
  void OnLine(float x1, float y1, float x2, float y2, Colour pen) override {
    calls.push_back({DrawCall::Kind::kLine, pen, {x1, y1, x2, y2}});
  }
  void OnCircle(float x, float y, float radius, Colour pen) override {
    calls.push_back({DrawCall::Kind::kCircle, pen, {x, y, radius, 0}});
  }
};

// The calls grouped by pen change: for every ForeColor, the colour set and
// how many lines and circles were drawn before the next one.
struct PenRun {
  Colour pen;
  int shapes;
  friend bool operator==(const PenRun&, const PenRun&) = default;
  friend std::ostream& operator<<(std::ostream& out, const PenRun& run) {
    return out << DescribeColour(run.pen) << " x " << run.shapes;
  }
};

inline std::vector<PenRun> PenRuns(const std::vector<DrawCall>& calls) {
  std::vector<PenRun> runs;
  for (const DrawCall& call : calls) {
    if (call.kind == DrawCall::Kind::kForeColor) {
      runs.push_back({call.colour, 0});
    } else if ((call.kind == DrawCall::Kind::kLine || call.kind == DrawCall::Kind::kCircle) &&
               !runs.empty()) {
      ++runs.back().shapes;
    }
  }
  return runs;
}

}  // namespace testcard::testing
