#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "surface/canvas.hpp"
#include "surface/colour.hpp"
#include "surface/run_time_error.hpp"

namespace testcard::testing {

inline const Colour kBlack = rtcRgb(0, 0, 0);
inline const Colour kRed = rtcRgb(255, 0, 0);
inline const Colour kWhite = rtcRgb(255, 255, 255);
inline const Colour kDarkGrey = rtcRgb(63, 63, 63);
inline const Colour kMidGrey = rtcRgb(127, 127, 127);

// "RGB(r, g, b)" for a canvas colour, for failure messages.
std::string DescribeColour(Colour colour);

// Exact comparison of two pictures. On a mismatch the result says where
// they differ, and both pictures are saved as <name>-actual.png and
// <name>-expected.png in the working directory for a look.
::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected,
                                       const std::string& name);

// Compares the pixels (x, y) with left <= x <= right and top <= y <= bottom,
// clipped to the canvas, with expected(x, y). On a mismatch it reports how
// many pixels differ and the first few, with both colours.
::testing::AssertionResult PixelsAre(const Canvas& canvas, int left, int top, int right, int bottom,
                                     const std::function<Colour(int x, int y)>& expected);

// The same over the whole canvas.
inline ::testing::AssertionResult PictureIs(const Canvas& canvas,
                                            const std::function<Colour(int x, int y)>& expected) {
  return PixelsAre(canvas, 0, 0, canvas.Width() - 1, canvas.Height() - 1, expected);
}

// True when (x, y) lies on the outline of the rectangle (left, top)-(right, bottom).
inline bool OnOutline(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom &&
         (x == left || x == right || y == top || y == bottom);
}

// The part of `source` from (left, top), width x height pixels, as a canvas.
Canvas Crop(const Canvas& source, int left, int top, int width, int height);

// Runs `operation` and returns the number of the run-time error it raised, if any.
inline std::optional<int> ErrorNumberOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RunTimeError& error) {
    return error.Number();
  }
  return std::nullopt;
}

}  // namespace testcard::testing
