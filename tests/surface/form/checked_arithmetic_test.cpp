// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "surface/form/checked_float.hpp"
#include "surface/form/checked_int.hpp"
#include "surface/raster/rounding.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

// Each operation at the edge of its range: the last value that fits gives
// the exact result, one step past it raises the run-time error. Halves
// round to the even neighbour, exactly, up to where every double is whole.
TEST(CheckedArithmetic, EdgesOfTheRangeAndHalvesToEven) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Int16 max = 32767, min = -32768;
  constexpr int kOverflow = error_number::kOverflow, kByZero = error_number::kDivisionByZero;
  const struct {
    const char* name;
    std::function<double()> value;
    std::optional<int> error;  // the error it raises, or none
    double expected = 0;
  } cases[] = {
      {"max + 1", [&] { return (max + 1).Get(); }, kOverflow},
      {"min - 1", [&] { return (min - 1).Get(); }, kOverflow},
      {"182 * 181", [] { return (Int16(182) * 181).Get(); }, kOverflow},
      {"-min", [&] { return (-min).Get(); }, kOverflow},
      {"-7 % 3", [] { return (Int16(-7) % 3).Get(); }, {}, -1},
      {"5 % 0", [] { return (Int32(5) % 0).Get(); }, kByZero},
      {"round 32767.5", [] { return RoundToInt16(32767.5f).Get(); }, kOverflow},
      {"round -32768.5", [] { return RoundToInt16(-32768.5f).Get(); }, {}, -32768},
      {"round NaN", [&] { return RoundToInt16(nan).Get(); }, kOverflow},
      {"-1 / 0", [] { return (Single(-1) / 0).Get(); }, kByZero},
      {"0 / 0", [] { return (Single(0) / 0).Get(); }, kOverflow},
      {"NaN + 1", [&] { return (Single(nan) + 1).Get(); }, kOverflow},
      {"even 2.5", [] { return RoundHalfEven(2.5); }, {}, 2},
      {"even -1.5", [] { return RoundHalfEven(-1.5); }, {}, -2},
      {"even 14.5f", [] { return RoundToInt16(14.5f).Get(); }, {}, 14},
      {"even 15.5f", [] { return RoundToInt16(15.5f).Get(); }, {}, 16},
      {"below a half", [] { return RoundHalfEven(0.49999999999999994); }, {}, 0},
      {"2^52 - 0.5", [] { return RoundHalfEven(4503599627370495.5); }, {}, 4503599627370496.0},
  };
  for (const auto& c : cases) {
    double result = 0;
    EXPECT_EQ(testing::ErrorNumberOf([&] { result = c.value(); }), c.error) << c.name;
    if (!c.error) {
      EXPECT_EQ(result, c.expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace testcard
