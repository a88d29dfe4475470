// SPDX-License-Identifier: MIT
#include "patterns/elements.hpp"

#include <string>

#include "surface/form/rtc_rgb.hpp"

namespace testcard {

void BeginPattern(GridForm& form, Int16 number) {
  form.Tag(std::to_string(number.Get()));
  form.BackColor(rtcRgb(0, 0, 0));
  form.Cls();
}

Int16 FindCellSize(const GridForm& form) {
  Int16 candidate = 2;
  Int16 CellSize = 2;
  for (;;) {
    const Single columns = form.ScaleWidth() / candidate;
    const Single rows = form.ScaleHeight() / candidate;
    if (columns <= 20 || rows <= 15) return CellSize;
    candidate = candidate + 2;
    // The candidate divides the width when the single-precision quotient is
    // a whole number.
    const Single quotient = form.ScaleWidth() / candidate;
    if (quotient == Single(RoundToInt16(quotient))) CellSize = candidate;
  }
}

void DrawColumnEdges(GridForm& form, Int16 CellSize, Int16 k, Single top, Single bottom) {
  const Int16 left = k * CellSize;
  form.Line(left, top, left, bottom);
  const Int16 right = k * CellSize + CellSize - 1;
  form.Line(right, top, right, bottom);
}

void DrawRowEdges(GridForm& form, Int16 CellSize, Int16 k, Single left, Single right) {
  const Int16 top = k * CellSize;
  form.Line(left, top, right, top);
  const Int16 bottom = k * CellSize + CellSize - 1;
  form.Line(left, bottom, right, bottom);
}

void DrawRedBorder(GridForm& form) {
  form.ForeColor(rtcRgb(255, 0, 0));
  form.Line(0, 0, 0, form.ScaleHeight() - 1);
  form.Line(form.ScaleWidth() - 1, 0, form.ScaleWidth() - 1, form.ScaleHeight() - 1);
  form.Line(0, 0, form.ScaleWidth() - 1, 0);
  // Runs to x = W, one past the last column, so that the bottom-right corner,
  // which no other edge reaches, is painted.
  form.Line(0, form.ScaleHeight() - 1, form.ScaleWidth(), form.ScaleHeight() - 1);
}

void DrawWhiteFrame(GridForm& form, Int16 CellSize) {
  const Int16 S = CellSize;
  const Int16 outer = S - 1;
  form.ForeColor(rtcRgb(255, 255, 255));
  // Each side runs onto the pixel line of the sides it meets (its own last
  // point excluded), which closes all four corners of both rings.
  form.Line(outer, outer, outer, form.ScaleHeight() - S + 1);
  form.Line(form.ScaleWidth() - S, outer, form.ScaleWidth() - S, form.ScaleHeight() - S + 1);
  form.Line(outer, outer, form.ScaleWidth() - S + 1, outer);
  form.Line(outer, form.ScaleHeight() - S, form.ScaleWidth() - S + 1, form.ScaleHeight() - S);
  form.Line(S, S, S, form.ScaleHeight() - S);
  form.Line(form.ScaleWidth() - S - 1, S, form.ScaleWidth() - S - 1, form.ScaleHeight() - S);
  form.Line(S, S, form.ScaleWidth() - S, S);
  form.Line(S, form.ScaleHeight() - S - 1, form.ScaleWidth() - S, form.ScaleHeight() - S - 1);
}

}  // namespace testcard
