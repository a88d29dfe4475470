// SPDX-License-Identifier: MIT
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>

#include "surface/form/run_time_error.hpp"

namespace testcard {

// A signed integer of a fixed width whose +, -, * and % raise the run-time
// error "Overflow" when the exact result does not fit, instead of wrapping.
// The patterns do all their counting and cell arithmetic in Int16 so that a
// window too large for that arithmetic fails loudly rather than drawing
// garbage. Integer literals convert implicitly (and are range-checked too).
template <std::signed_integral T>
class CheckedInt {
 public:
  using Value = T;
  static constexpr int kBits = std::numeric_limits<T>::digits + 1;

  constexpr CheckedInt() = default;
  constexpr CheckedInt(std::int64_t value) : value_(Narrow(value)) {}  // NOLINT: implicit

  constexpr T Get() const { return value_; }

  friend constexpr CheckedInt operator+(CheckedInt a, CheckedInt b) {
    return CheckedInt(std::int64_t{a.value_} + b.value_);
  }
  friend constexpr CheckedInt operator-(CheckedInt a, CheckedInt b) {
    return CheckedInt(std::int64_t{a.value_} - b.value_);
  }
  friend constexpr CheckedInt operator*(CheckedInt a, CheckedInt b) {
    return CheckedInt(std::int64_t{a.value_} * b.value_);
  }
  // Remainder with the sign of the dividend, as integer division truncates.
  friend constexpr CheckedInt operator%(CheckedInt a, CheckedInt b) {
    if (b.value_ == 0) RaiseDivisionByZero();
    return CheckedInt(std::int64_t{a.value_} % b.value_);
  }
  constexpr CheckedInt operator-() const { return CheckedInt(-std::int64_t{value_}); }
  constexpr CheckedInt& operator+=(CheckedInt other) { return *this = *this + other; }

  friend constexpr bool operator==(CheckedInt, CheckedInt) = default;
  friend constexpr auto operator<=>(CheckedInt, CheckedInt) = default;

 private:
  static constexpr T Narrow(std::int64_t value) {
    constexpr std::int64_t kMin = std::numeric_limits<T>::min();
    constexpr std::int64_t kMax = std::numeric_limits<T>::max();
    if (value < kMin || value > kMax) [[unlikely]] {
      RaiseIntegerOverflow(value, kBits, kMin, kMax);
    }
    return static_cast<T>(value);
  }

  T value_ = 0;
};

using Int16 = CheckedInt<std::int16_t>;
using Int32 = CheckedInt<std::int32_t>;

}  // namespace testcard
