#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "surface/checked_float.hpp"
#include "surface/checked_int.hpp"
#include "surface/rounding.hpp"
#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

// Runs `operation` and returns the run-time error number it raised, if any.
std::optional<int> ErrorNumberOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RunTimeError& error) {
    return error.Number();
  }
  return std::nullopt;
}

struct Int16Case {
  const char* name;
  std::function<Int16()> operation;
  std::optional<int> expected;  // nullopt: must raise Overflow
};

TEST(Int16, ArithmeticAtTheEdgesOfTheRange) {
  const Int16 max = 32767;
  const Int16 min = -32768;
  const Int16Case cases[] = {
      {"max + 0", [&] { return max + 0; }, 32767},
      {"max + 1", [&] { return max + 1; }, std::nullopt},
      {"min - 1", [&] { return min - 1; }, std::nullopt},
      {"min + max", [&] { return min + max; }, -1},
      {"max - min", [&] { return max - min; }, std::nullopt},
      {"181 * 181", [] { return Int16(181) * 181; }, 32761},
      {"182 * 181", [] { return Int16(182) * 181; }, std::nullopt},
      {"-128 * 256", [] { return Int16(-128) * 256; }, -32768},
      {"128 * 256", [] { return Int16(128) * 256; }, std::nullopt},
      {"min * -1", [&] { return min * -1; }, std::nullopt},
      {"-min", [&] { return -min; }, std::nullopt},
      {"literal 32768", [] { return Int16(32768); }, std::nullopt},
      {"literal -32769", [] { return Int16(-32769); }, std::nullopt},
      {"819 * 40 + 40 - 1", [] { return Int16(819) * 40 + 40 - 1; }, std::nullopt},
      {"818 * 40 + 40 - 1", [] { return Int16(818) * 40 + 40 - 1; }, 32759},
      {"-7 % 3", [] { return Int16(-7) % 3; }, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.expected) {
      EXPECT_EQ(c.operation().Get(), *c.expected);
    } else {
      EXPECT_EQ(ErrorNumberOf([&] { c.operation(); }), error_number::kOverflow);
    }
  }
}

TEST(RunTimeError, NamesTheFaultAndItsNumber) {
  try {
    Int16(32767) + 1;
    FAIL() << "no error raised";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), 6);
    EXPECT_NE(std::string(error.what()).find("Run-time error '6': Overflow"), std::string::npos)
        << error.what();
    EXPECT_NE(error.Message().find("32768"), std::string::npos) << error.Message();
  }
  EXPECT_EQ(ErrorNumberOf([] { Int32(5) % 0; }), error_number::kDivisionByZero);
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour) {
  const struct {
    float value;
    std::optional<int> expected;  // nullopt: Overflow
  } cases[] = {
      {14.5f, 14},
      {15.5f, 16},
      {-2.5f, -2},
      {-3.5f, -4},
      {0.5f, 0},
      {-0.5f, 0},
      {1.5f, 2},
      {2.4999f, 2},
      {2.5001f, 3},
      {-2.8f, -3},
      {21.5f, 22},
      {658.5f, 658},
      {32767.4f, 32767},
      {32767.5f, std::nullopt},
      {-32768.5f, -32768},
      {-32769.f, std::nullopt},
      {1e10f, std::nullopt},
      {std::numeric_limits<float>::quiet_NaN(), std::nullopt},
      {std::numeric_limits<float>::infinity(), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    if (c.expected) {
      EXPECT_EQ(RoundToInt16(c.value).Get(), *c.expected);
    } else {
      EXPECT_EQ(ErrorNumberOf([&] { RoundToInt16(c.value); }), error_number::kOverflow);
    }
  }
}

TEST(RoundHalfEven, IsExactForLargeAndTinyValues) {
  const struct {
    double value;
    double expected;
  } cases[] = {
      {4503599627370495.5, 4503599627370496.0},  // 2^52 - 0.5: a tie at the top
      {9007199254740993.0, 9007199254740992.0},  // not representable; already whole
      {0.49999999999999994, 0.0},                // just below a half
      {-0.49999999999999994, 0.0},
      {1e-300, 0.0},
      {-1e300, -1e300},
      {2.5, 2.0},
      {-1.5, -2.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RoundHalfEven(c.value), c.expected);
  }
}

TEST(Single, FloatingFaultsRaiseTheRunTimeError) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float max = std::numeric_limits<float>::max();
  const struct {
    const char* name;
    std::function<Single()> operation;
    int expected;
  } cases[] = {
      {"1 / 0", [] { return Single(1) / 0; }, error_number::kDivisionByZero},
      {"-1 / 0", [] { return Single(-1) / 0; }, error_number::kDivisionByZero},
      {"0 / 0", [] { return Single(0) / 0; }, error_number::kOverflow},
      {"max * 2", [&] { return Single(max) * 2; }, error_number::kOverflow},
      {"max + max", [&] { return Single(max) + max; }, error_number::kOverflow},
      {"-max - max", [&] { return Single(-max) - max; }, error_number::kOverflow},
      {"NaN + 1", [&] { return Single(nan) + 1; }, error_number::kOverflow},
      {"NaN / 0", [&] { return Single(nan) / 0; }, error_number::kOverflow},
      {"1e30 / 1e-30", [] { return Single(1e30f) / Single(1e-30f); }, error_number::kOverflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorNumberOf([&] { c.operation(); }), c.expected);
  }
}

TEST(Single, QuotientsAreSinglePrecision) {
  // 1/3 differs between float and double; the patterns' quotients are float.
  EXPECT_EQ((Single(1) / 3).Get(), 1.0f / 3.0f);
  // An Int16 mixes in as a single: 1366 / 4 = 341.5 exactly.
  EXPECT_EQ((Single(1366) / Int16(4)).Get(), 341.5f);
  // 600 / 7 + 1 as the cross pattern computes it.
  EXPECT_EQ((Single(600) / 7 + 1).Get(), 600.0f / 7.0f + 1.0f);
}

}  // namespace
}  // namespace testcard
