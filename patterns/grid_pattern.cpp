// SPDX-License-Identifier: MIT
#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"
#include "surface/form/rtc_rgb.hpp"

namespace testcard {

void GridTest(GridForm& form) {
  BeginPattern(form, 1);
  const Int16 CellSize = FindCellSize(form);

  // Every cell outlined in dark grey first, columns before rows. The height
  // need not be a whole number of cells: the last row limit is rounded (half
  // to even), so a cut-off row of cells still gets its top edge.
  form.ForeColor(rtcRgb(63, 63, 63));
  const Int16 lastColumn = RoundToInt16(form.ScaleWidth() / CellSize - 1);
  for (Int16 k = 0; k <= lastColumn; k = k + 1) {
    DrawColumnEdges(form, CellSize, k, 0, form.ScaleHeight());
  }
  const Int16 lastRow = RoundToInt16(form.ScaleHeight() / CellSize - 1);
  for (Int16 k = 0; k <= lastRow; k = k + 1) {
    DrawRowEdges(form, CellSize, k, 0, form.ScaleWidth());
  }

  // Then the inner cells again in mid grey, each line kept one cell away from
  // the window edges, so that the outermost ring of cells stays dark grey all
  // round, crossings included.
  form.ForeColor(rtcRgb(127, 127, 127));
  const Int16 lastInnerColumn = RoundToInt16(form.ScaleWidth() / CellSize - 2);
  for (Int16 k = 1; k <= lastInnerColumn; k = k + 1) {
    DrawColumnEdges(form, CellSize, k, CellSize, form.ScaleHeight() - CellSize);
  }
  const Int16 lastInnerRow = RoundToInt16(form.ScaleHeight() / CellSize - 2);
  for (Int16 k = 1; k <= lastInnerRow; k = k + 1) {
    DrawRowEdges(form, CellSize, k, CellSize, form.ScaleWidth() - CellSize);
  }

  // Border and frame go over the grid lines: the border replaces the outer
  // cells' one-pixel edges on the outermost ring, the frame the two-pixel
  // line between the outer ring of cells and the inner cells.
  DrawRedBorder(form);
  DrawWhiteFrame(form, CellSize);
}

}  // namespace testcard
