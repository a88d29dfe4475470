// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>

namespace testcard {

// Rounds to the nearest whole number; a value exactly halfway between two
// goes to the even one (14.5 -> 14, 15.5 -> 16, -2.5 -> -2). That is the
// rule of the arithmetic the patterns are written for, so every coordinate
// lands where it would there. It does not keep x and W - 1 - x on mirrored
// pixels (at W = 10, 2.5 -> 2 but 6.5 -> 6); the cross pattern is symmetric
// because its coordinates never land on a half. Independent of the
// floating-point rounding mode. NaN and infinities are returned as they are.
//
// Inline and branch-light: every coordinate of every line goes through it.
inline double RoundHalfEven(double value) {
  // From 2^52 on every double is whole; NaN fails the test and comes back too.
  if (!(std::fabs(value) < 0x1p52)) return value;
  const auto whole = static_cast<std::int64_t>(value);         // towards zero
  const double fraction = value - static_cast<double>(whole);  // exact, in (-1, 1)
  std::int64_t rounded = whole;
  if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) {
    ++rounded;
  } else if (fraction < -0.5 || (fraction == -0.5 && (whole & 1) != 0)) {
    --rounded;
  }
  return static_cast<double>(rounded);
}

}  // namespace testcard
