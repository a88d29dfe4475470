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

bool Overflows(const std::function<void()>& operation) {
  return ErrorNumberOf(operation) == error_number::kOverflow;
}

TEST(Int16, ArithmeticAtTheEdgesOfTheRange) {
  const Int16 max = 32767, min = -32768;
  EXPECT_EQ((max + 0).Get(), 32767);
  EXPECT_EQ((min - 0).Get(), -32768);
  EXPECT_EQ((Int16(181) * 181).Get(), 32761);
  EXPECT_EQ((Int16(-128) * 256).Get(), -32768);
  EXPECT_EQ((Int16(-7) % 3).Get(), -1);
  EXPECT_TRUE(Overflows([&] { max + 1; }));
  EXPECT_TRUE(Overflows([&] { min - 1; }));
  EXPECT_TRUE(Overflows([&] { max - min; }));
  EXPECT_TRUE(Overflows([] { Int16(182) * 181; }));
  EXPECT_TRUE(Overflows([] { Int16(128) * 256; }));
  EXPECT_TRUE(Overflows([&] { min * -1; }));
  EXPECT_TRUE(Overflows([&] { -min; }));
  EXPECT_TRUE(Overflows([] { Int16(32768); }));
  EXPECT_TRUE(Overflows([] { Int16(-32769); }));
  EXPECT_EQ(ErrorNumberOf([] { Int32(5) % 0; }), error_number::kDivisionByZero);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float value;
    std::optional<int> expected;  // nullopt: Overflow
  } toInt16[] = {
      {14.5f, 14},         {15.5f, 16},
      {-2.5f, -2},         {-3.5f, -4},
      {0.5f, 0},           {-0.5f, 0},
      {2.4999f, 2},        {2.5001f, 3},
      {32767.4f, 32767},   {32767.5f, std::nullopt},
      {-32768.5f, -32768}, {-32769.f, std::nullopt},
      {nan, std::nullopt},
  };
  for (const auto& c : toInt16) {
    SCOPED_TRACE(c.value);
    if (c.expected) {
      EXPECT_EQ(RoundToInt16(c.value).Get(), *c.expected);
    } else {
      EXPECT_TRUE(Overflows([&] { RoundToInt16(c.value); }));
    }
  }
  // The canvas's rounding of doubles, exact at the ends of the range.
  const struct {
    double value, expected;
  } exact[] = {
      {4503599627370495.5, 4503599627370496.0},  // 2^52 - 0.5: a tie at the top
      {0.49999999999999994, 0.0},                // just below a half
      {-0.49999999999999994, 0.0},
      {2.5, 2.0},
      {-1.5, -2.0},
  };
  for (const auto& c : exact)
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(Single, FloatingFaultsRaiseTheRunTimeError) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float max = std::numeric_limits<float>::max();
  EXPECT_EQ(ErrorNumberOf([] { Single(1) / 0; }), error_number::kDivisionByZero);
  EXPECT_EQ(ErrorNumberOf([] { Single(-1) / 0; }), error_number::kDivisionByZero);
  EXPECT_TRUE(Overflows([] { Single(0) / 0; }));
  EXPECT_TRUE(Overflows([&] { Single(max) * 2; }));
  EXPECT_TRUE(Overflows([&] { Single(-max) - max; }));
  EXPECT_TRUE(Overflows([&] { Single(nan) + 1; }));
  EXPECT_TRUE(Overflows([&] { Single(nan) / 0; }));
}

}  // namespace
}  // namespace testcard
