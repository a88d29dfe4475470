// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace testcard {

// The one error every failure of the drawing surface and of the pattern
// arithmetic raises. It carries the classic run-time error number (6 for an
// overflow, 11 for a division by zero, ...) and a message that names the fault.
// Nothing catches it below the pattern cycle, which hands it to the front end
// to show; the program then ends.
class RunTimeError : public std::runtime_error {
 public:
  RunTimeError(int number, const std::string& message);

  int Number() const noexcept { return number_; }
  // "Run-time error 'N':", the first half of what(); a message box shows it
  // as its heading.
  std::string Heading() const;
  // The message without the heading that what() carries.
  const std::string& Message() const noexcept { return message_; }

 private:
  int number_;
  std::string message_;
};

// Error numbers of the faults this program can raise.
namespace error_number {
inline constexpr int kInvalidArgument = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kWindowFailure = 480;
}  // namespace error_number

[[noreturn]] void RaiseOverflow(const std::string& detail);
// "Overflow" for an integer result that does not fit `bits` bits.
[[noreturn, gnu::cold]] void RaiseIntegerOverflow(long long value, int bits, long long min,
                                                  long long max);
// "Overflow" for a floating-point result that is infinite or not a number.
[[noreturn, gnu::cold]] void RaiseFloatingFault(double result);
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseInvalidArgument(const std::string& detail);

}  // namespace testcard
