#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"
#include "surface/colour.hpp"

namespace testcard {

void ColorTest(GridForm& form) {
  BeginPattern(form, 3);
  const Int16 CellSize = FindCellSize(form);
  form.ForeColor(rtcRgb(63, 63, 63));
  const Int16 n = RoundToInt16(form.ScaleWidth() / CellSize - 1);
  const Int16 m = RoundToInt16(form.ScaleHeight() / CellSize - 1);
  DrawColumnEdges(form, CellSize, 0, 0, form.ScaleHeight());
  DrawColumnEdges(form, CellSize, n, 0, form.ScaleHeight());
  DrawRowEdges(form, CellSize, 0, 0, form.ScaleWidth());
  DrawRowEdges(form, CellSize, m, 0, form.ScaleWidth());
  DrawRedBorder(form);
  DrawWhiteFrame(form, CellSize);
}

}  // namespace testcard
