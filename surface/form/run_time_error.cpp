// SPDX-License-Identifier: MIT
#include "surface/form/run_time_error.hpp"

#include <cmath>

namespace testcard {

namespace {

std::string HeadingOf(int number) {
  return "Run-time error '" + std::to_string(number) + "':";
}

}  // namespace

RunTimeError::RunTimeError(int number, const std::string& message)
    : std::runtime_error(HeadingOf(number) + " " + message), number_(number), message_(message) {}

std::string RunTimeError::Heading() const {
  return HeadingOf(number_);
}

void RaiseOverflow(const std::string& detail) {
  throw RunTimeError(error_number::kOverflow, "Overflow (" + detail + ")");
}

void RaiseIntegerOverflow(long long value, int bits, long long min, long long max) {
  RaiseOverflow(std::to_string(bits) + "-bit integer result " + std::to_string(value) +
                " is outside " + std::to_string(min) + " to " + std::to_string(max));
}

void RaiseFloatingFault(double result) {
  RaiseOverflow(std::isnan(result) ? "invalid floating-point operation"
                                   : "floating-point result out of range");
}

void RaiseDivisionByZero() {
  throw RunTimeError(error_number::kDivisionByZero, "Division by zero");
}

void RaiseInvalidArgument(const std::string& detail) {
  throw RunTimeError(error_number::kInvalidArgument,
                     "Invalid procedure call or argument (" + detail + ")");
}

}  // namespace testcard
