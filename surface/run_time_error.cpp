#include "surface/run_time_error.hpp"

namespace testcard {

RunTimeError::RunTimeError(int number, const std::string& message)
    : std::runtime_error("Run-time error '" + std::to_string(number) + "': " + message),
      number_(number),
      message_(message) {}

void RaiseOverflow(const std::string& detail) {
  throw RunTimeError(error_number::kOverflow, "Overflow (" + detail + ")");
}

void RaiseDivisionByZero() {
  throw RunTimeError(error_number::kDivisionByZero, "Division by zero");
}

void RaiseInvalidArgument(const std::string& detail) {
  throw RunTimeError(error_number::kInvalidArgument,
                     "Invalid procedure call or argument (" + detail + ")");
}

}  // namespace testcard
