// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <compare>
#include <concepts>

#include "surface/form/checked_int.hpp"
#include "surface/form/run_time_error.hpp"

namespace testcard {

// A floating-point value whose +, -, * and / raise the run-time error instead
// of producing an infinity or a NaN: "Overflow" when a result is out of range
// or undefined (0/0, inf - inf, a NaN operand), "Division by zero" when a
// non-zero value is divided by zero. Single (float) is the precision of the
// window's ScaleWidth and ScaleHeight and of every quotient the patterns take
// from them; the patterns rely on single-precision results, so no operation
// here widens to double.
template <std::floating_point F>
class CheckedFloat {
 public:
  constexpr CheckedFloat() = default;
  template <std::floating_point U>
  constexpr CheckedFloat(U value) : value_(static_cast<F>(value)) {}  // NOLINT: implicit
  template <std::integral U>
  constexpr CheckedFloat(U value) : value_(static_cast<F>(value)) {}  // NOLINT: implicit
  template <std::signed_integral U>
  constexpr CheckedFloat(CheckedInt<U> value) : value_(static_cast<F>(value.Get())) {}  // NOLINT

  constexpr F Get() const { return value_; }

  friend CheckedFloat operator+(CheckedFloat a, CheckedFloat b) {
    return Check(a.value_ + b.value_);
  }
  friend CheckedFloat operator-(CheckedFloat a, CheckedFloat b) {
    return Check(a.value_ - b.value_);
  }
  friend CheckedFloat operator*(CheckedFloat a, CheckedFloat b) {
    return Check(a.value_ * b.value_);
  }
  friend CheckedFloat operator/(CheckedFloat a, CheckedFloat b) {
    if (b.value_ == 0 && a.value_ != 0 && !std::isnan(a.value_)) RaiseDivisionByZero();
    return Check(a.value_ / b.value_);
  }

  friend constexpr bool operator==(CheckedFloat, CheckedFloat) = default;
  friend constexpr auto operator<=>(CheckedFloat, CheckedFloat) = default;

 private:
  static CheckedFloat Check(F result) {
    if (!std::isfinite(result)) [[unlikely]]
      RaiseFloatingFault(result);
    return CheckedFloat(result);
  }

  F value_ = 0;
};

using Single = CheckedFloat<float>;
using Double = CheckedFloat<double>;

// Rounds half to even (14.5 -> 14, 15.5 -> 16, -2.5 -> -2) into a checked
// integer; raises "Overflow" when the rounded value does not fit or is not a
// number. This is the only way the patterns turn a quotient into a counter,
// a loop limit or a grid column.
Int16 RoundToInt16(Single value);
Int32 RoundToInt32(Double value);

}  // namespace testcard
