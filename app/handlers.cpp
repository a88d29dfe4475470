#include "app/handlers.hpp"

#include <charconv>
#include <cstddef>

#include "patterns/patterns.hpp"
#include "surface/checked_float.hpp"
#include "surface/checked_int.hpp"

namespace testcard {
namespace {

// The largest multiple of 30 twips not above `twips`: two whole pixels at 15
// twips to the pixel, so the window is an even number of pixels wide or high
// and its centre falls between two pixel columns or rows. The remainder is
// taken of the rounded 32-bit value and subtracted in double precision.
Single EvenPixelTwips(Single twips, Single twipsAgain) {
  const Int32 remainder = RoundToInt32(Double(twipsAgain.Get())) % Int32(30);
  const Double result = Double(twips.Get()) - Double(remainder);
  return Single(result.Get());
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at]))
    ++at;
  return at;
}

}  // namespace

void OnLoad(GridForm& form, const Screen& screen) {
  const Single width = screen.Width();
  const Single widthAgain = screen.Width();
  const Single height = screen.Height();
  const Single heightAgain = screen.Height();
  form.Move(0, 0, EvenPixelTwips(width, widthAgain), EvenPixelTwips(height, heightAgain));
  GridTest(form);
}

KeyPressResult OnKeyPress(GridForm& form) {
  if (LeadingNumber(form.Tag()) == 2) {
    ColorTest(form);
    return KeyPressResult::kContinue;
  }
  if (LeadingNumber(form.Tag()) == 1) {
    CrossTest(form);
    return KeyPressResult::kContinue;
  }
  return KeyPressResult::kEndProgram;
}

double LeadingNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
    ++start;
  std::size_t end = start;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const std::size_t digitsFrom = end;
  end = SkipDigits(text, end);
  bool anyDigit = end > digitsFrom;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction = SkipDigits(text, end + 1);
    anyDigit = anyDigit || fraction > end + 1;
    end = fraction;
  }
  if (!anyDigit) return 0;
  // An exponent counts only with digits of its own ("2e" is 2).
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  // from_chars takes no '+' sign; it is the same number without it.
  if (text[start] == '+') ++start;
  double value = 0;
  const auto [last, error] = std::from_chars(text.data() + start, text.data() + end, value);
  // Out of range: a number too large or too small for any pattern's Tag.
  if (error != std::errc()) return 0;
  return value;
}

}  // namespace testcard
