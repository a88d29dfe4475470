// SPDX-License-Identifier: MIT
// std::from_chars for double, for standard libraries that lack it: the libc++
// of Debian's Emscripten has only the integer overloads, and the handlers
// read Tag's leading number with the double one. The web build includes this
// header before every source file; with a complete library it adds nothing.
//
// Same contract as the standard's, general format: the longest prefix that is
// a decimal number ([-]digits[.digits][e[+-]digits], at least one digit in
// the mantissa), no leading blanks, no '+', no "inf", "nan" or hexadecimal.
#pragma once

#include <charconv>
#include <version>

#if !defined(__cpp_lib_to_chars)

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

inline from_chars_result from_chars(const char* first, const char* last, double& value) {
  const char* p = first;
  auto digits = [&] {
    const char* start = p;
    while (p != last && *p >= '0' && *p <= '9')
      ++p;
    return p - start;
  };
  if (p != last && *p == '-') ++p;
  auto mantissaDigits = digits();
  if (p != last && *p == '.') {
    ++p;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return {first, errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* mantissaEnd = p++;
    if (p != last && (*p == '+' || *p == '-')) ++p;
    if (digits() == 0) p = mantissaEnd;  // "2e" is 2 followed by text
  }
  const std::string number(first, p);  // strtod wants a terminated string
  errno = 0;
  const double parsed = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE) return {p, errc::result_out_of_range};
  value = parsed;
  return {p, errc()};
}

}  // namespace std

#endif
