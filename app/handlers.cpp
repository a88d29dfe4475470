#include "app/handlers.hpp"

#include <cctype>
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

}  // namespace

void OnLoad(GridForm& form, const Screen& screen) {
  SizeToScreen(form, screen);
  GridTest(form);
}

void SizeToScreen(GridForm& form, const Screen& screen) {
  const Single width = screen.Width();
  const Single widthAgain = screen.Width();
  const Single height = screen.Height();
  const Single heightAgain = screen.Height();
  form.Move(0, 0, EvenPixelTwips(width, widthAgain), EvenPixelTwips(height, heightAgain));
}

void RedrawPattern(GridForm& form) {
  const double number = LeadingNumber(form.Tag());
  if (number == 2) {
    CrossTest(form);
  } else if (number == 3) {
    ColorTest(form);
  } else {
    GridTest(form);
  }
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
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  // One sign at most; from_chars takes no '+', and it is the same number
  // without it.
  std::size_t first = start;
  if (text[start] == '+') {
    first = ++start;
  } else if (text[start] == '-') {
    first = start + 1;
  }
  // A number then begins with a digit or a point: from_chars would also
  // take "inf" and "nan".
  if (first == text.size() ||
      !(std::isdigit(static_cast<unsigned char>(text[first])) || text[first] == '.')) {
    return 0;
  }
  // The longest prefix that is a number: "2e" is 2, "1.5e1x" is 15. Out of
  // range is a number too large or too small for any pattern's Tag.
  double value = 0;
  const auto [last, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  return error == std::errc() ? value : 0;
}

}  // namespace testcard
