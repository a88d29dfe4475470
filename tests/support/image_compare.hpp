// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "surface/form/run_time_error.hpp"
#include "surface/raster/canvas.hpp"

namespace testcard::testing {

// Compares every pixel of `canvas` with expected(x, y). On a mismatch it
// reports how many pixels differ and the first few, with both colours.
::testing::AssertionResult PictureIs(const Canvas& canvas,
                                     const std::function<Colour(int x, int y)>& expected);

// The same for two whole pictures, their sizes first.
::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected);

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
