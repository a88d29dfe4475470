// SPDX-License-Identifier: MIT
#include "app/cycle/handlers.hpp"

#include "patterns/patterns.hpp"
#include "surface/form/checked_float.hpp"
#include "surface/form/checked_int.hpp"

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
  DrawPattern(form, PatternInTag(form).value_or(Pattern::kGrid));
}

KeyPressResult OnKeyPress(GridForm& form) {
  if (PatternInTag(form) == Pattern::kCross) {
    ColorTest(form);
    return KeyPressResult::kContinue;
  }
  if (PatternInTag(form) == Pattern::kGrid) {
    CrossTest(form);
    return KeyPressResult::kContinue;
  }
  return KeyPressResult::kEndProgram;
}

}  // namespace testcard
