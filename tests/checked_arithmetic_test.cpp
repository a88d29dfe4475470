// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "surface/checked_float.hpp"
#include "surface/checked_int.hpp"
#include "surface/rounding.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using testing::ErrorNumberOf;

// Each operation at the edge of its range: the last value that fits gives
// the exact result, one step past it raises the run-time error.
TEST(CheckedArithmetic, EdgesOfTheRange) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  const Int16 max = 32767, min = -32768;
  const struct {
    const char* name;
    std::function<int()> value;  // the result when it fits
    int expected;                // the result, or the error number
  } cases[] = {
      {"max + 0", [&] { return (max + 0).Get(); }, 32767},
      {"max + 1", [&] { return (max + 1).Get(); }, error_number::kOverflow},
      {"min - 1", [&] { return (min - 1).Get(); }, error_number::kOverflow},
      {"181 * 181", [] { return (Int16(181) * 181).Get(); }, 32761},
      {"182 * 181", [] { return (Int16(182) * 181).Get(); }, error_number::kOverflow},
      {"-128 * 256", [] { return (Int16(-128) * 256).Get(); }, -32768},
      {"-min", [&] { return (-min).Get(); }, error_number::kOverflow},
      {"-7 % 3", [] { return (Int16(-7) % 3).Get(); }, -1},
      {"5 % 0", [] { return (Int32(5) % 0).Get(); }, error_number::kDivisionByZero},
      {"Int16(32768)", [] { return Int16(32768).Get(); }, error_number::kOverflow},
      {"round 32767.4", [] { return RoundToInt16(32767.4f).Get(); }, 32767},
      {"round 32767.5", [] { return RoundToInt16(32767.5f).Get(); }, error_number::kOverflow},
      {"round -32768.5", [] { return RoundToInt16(-32768.5f).Get(); }, -32768},
      {"round NaN", [&] { return RoundToInt16(nan).Get(); }, error_number::kOverflow},
      {"round 14.5", [] { return RoundToInt16(14.5f).Get(); }, 14},
      {"round 15.5", [] { return RoundToInt16(15.5f).Get(); }, 16},
      {"1 / 0", [] { return int((Single(1) / 0).Get()); }, error_number::kDivisionByZero},
      {"-1 / 0", [] { return int((Single(-1) / 0).Get()); }, error_number::kDivisionByZero},
      {"0 / 0", [] { return int((Single(0) / 0).Get()); }, error_number::kOverflow},
      {"max * 2", [&] { return int((Single(big) * 2).Get()); }, error_number::kOverflow},
      {"NaN + 1", [&] { return int((Single(nan) + 1).Get()); }, error_number::kOverflow},
  };
  for (const auto& c : cases) {
    std::optional<int> result;
    const std::optional<int> error = ErrorNumberOf([&] { result = c.value(); });
    EXPECT_EQ(error ? *error : *result, c.expected) << c.name << (error ? " raised" : "");
  }
}

// Halves go to the even neighbour, exactly, up to where every double is whole.
TEST(CheckedArithmetic, RoundHalfEven) {
  const struct {
    double value, expected;
  } cases[] = {{2.5, 2},
               {3.5, 4},
               {-2.5, -2},
               {-1.5, -2},
               {-0.5, 0},
               {2.4999, 2},
               {2.5001, 3},
               {0.49999999999999994, 0},
               {4503599627370495.5, 4503599627370496.0}};
  for (const auto& c : cases)
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace testcard
