// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "surface/canvas.hpp"
#include "surface/colour.hpp"
#include "surface/run_time_error.hpp"

namespace testcard::testing {

// "RGB(r, g, b)" for a canvas colour, for failure messages.
std::string DescribeColour(Colour colour);

// Exact comparison of two pictures. On a mismatch the result says where
// they differ, and both pictures are saved as <name>-actual.png and
// <name>-expected.png in the working directory for a look.
::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected,
                                       const std::string& name);

// Compares every pixel of `canvas` with expected(x, y). On a mismatch it
// reports how many pixels differ and the first few, with both colours.
::testing::AssertionResult PictureIs(const Canvas& canvas,
                                     const std::function<Colour(int x, int y)>& expected);

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
