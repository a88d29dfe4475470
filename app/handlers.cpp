// SPDX-License-Identifier: MIT
#include "app/handlers.hpp"

#include <string_view>

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

// The number of the pattern on show: BeginPattern writes "1", "2" or "3"
// into Tag; before any pattern Tag is empty, which is no number (0).
int PatternNumber(std::string_view tag) {
  return tag.size() == 1 && tag[0] >= '1' && tag[0] <= '9' ? tag[0] - '0' : 0;
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
  switch (PatternNumber(form.Tag())) {
    case 2:
      CrossTest(form);
      break;
    case 3:
      ColorTest(form);
      break;
    default:
      GridTest(form);
  }
}

KeyPressResult OnKeyPress(GridForm& form) {
  if (PatternNumber(form.Tag()) == 2) {
    ColorTest(form);
    return KeyPressResult::kContinue;
  }
  if (PatternNumber(form.Tag()) == 1) {
    CrossTest(form);
    return KeyPressResult::kContinue;
  }
  return KeyPressResult::kEndProgram;
}

}  // namespace testcard
