#pragma once

#include <array>
#include <ostream>
#include <vector>

#include "surface/grid_form.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard::testing {

// For every ForeColor, the colour set and how many lines and circles were
// drawn before the next one.
struct PenRun {
  Colour pen;
  int shapes;
  friend bool operator==(const PenRun&, const PenRun&) = default;
  friend std::ostream& operator<<(std::ostream& out, const PenRun& run) {
    return out << DescribeColour(run.pen) << " x " << run.shapes;
  }
};

// A line (x1, y1, x2, y2) or a circle (x, y, radius, 0) as the pattern gave it.
struct Shape {
  bool circle;
  std::array<float, 4> at;
};

// What a DrawingObserver hears of the pens, lines and circles, in order.
class DrawingRecorder : public DrawingObserver {
 public:
  std::vector<PenRun> penRuns;
  std::vector<Shape> shapes;

  void OnBackColor(Colour) override {}
  void OnCls() override {}
  void OnForeColor(Colour colour) override { penRuns.push_back({colour, 0}); }
  void OnLine(float x1, float y1, float x2, float y2, Colour pen) override {
    Add({false, {x1, y1, x2, y2}}, pen);
  }
  void OnCircle(float x, float y, float radius, Colour pen) override {
    Add({true, {x, y, radius, 0}}, pen);
  }

 private:
  void Add(const Shape& shape, Colour pen) {
    shapes.push_back(shape);
    if (penRuns.empty()) penRuns.push_back({pen, 0});  // drawn before any ForeColor
    ++penRuns.back().shapes;
  }
};

// The pens and shapes `pattern` draws on a fresh form of width x height.
inline DrawingRecorder Record(void (*pattern)(GridForm&), int width, int height) {
  GridForm form(width, height);
  DrawingRecorder recorder;
  form.Observe(&recorder);
  pattern(form);
  form.Observe(nullptr);
  return recorder;
}

}  // namespace testcard::testing
