#pragma once

#include <gtest/gtest.h>

#include <string>

#include "surface/canvas.hpp"

namespace testcard::testing {

// "RGB(r, g, b)" for a canvas colour, for failure messages.
std::string DescribeColour(Colour colour);

// Exact comparison of two pictures. On a mismatch the result gives the
// sizes, how many pixels differ and the first differing pixel in row order
// with both colours, and both pictures are saved as <name>-actual.png and
// <name>-expected.png in the working directory for a look.
::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected,
                                       const std::string& name);

// The part of `source` from (left, top), width x height pixels, as a canvas.
Canvas Crop(const Canvas& source, int left, int top, int width, int height);

}  // namespace testcard::testing
