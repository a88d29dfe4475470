// SPDX-License-Identifier: MIT
#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"
#include "surface/form/rtc_rgb.hpp"

namespace testcard {
namespace {

// A pixel position kept as a grid cell and an offset within it, the way the
// ramps and the line blocks walk one pixel at a time: the offset grows by
// one and, when it reaches the cell size, returns to 0 while the cell grows
// by one.
struct CellCursor {
  Int16 cell;
  Int16 offset = 0;

  Int16 Pixel(Int16 CellSize) const { return CellSize * cell + offset; }
  void Next(Int16 CellSize) {
    offset = offset + 1;
    if (offset == CellSize) {
      offset = 0;
      cell = cell + 1;
    }
  }
};

}  // namespace

void ColorTest(GridForm& form) {
  BeginPattern(form, 3);
  const Int16 CellSize = FindCellSize(form);

  // The ramps get the widest multiple of 256 that is still narrower than the
  // window (256 at the least), so that each of the 256 levels is the same
  // whole number of pixel columns wide. A window exactly 256 * n wide gets
  // 256 * (n - 1): the comparison stops on equality.
  Int16 RampWidth = 0;
  Int16 LevelWidth = 0;
  while (form.ScaleWidth() - RampWidth > 256) {
    RampWidth = RampWidth + 256;
    LevelWidth = LevelWidth + 1;
  }
  if (RampWidth == 0) {
    RampWidth = 256;
    LevelWidth = 1;
  }

  // Of the grid only the edges of the outermost columns and rows, the first
  // and last steps of the grid pattern's dark grey loops, then the same
  // border and frame as the grid.
  form.ForeColor(rtcRgb(63, 63, 63));
  const Int16 n = RoundToInt16(form.ScaleWidth() / CellSize - 1);
  const Int16 m = RoundToInt16(form.ScaleHeight() / CellSize - 1);
  DrawColumnEdges(form, CellSize, 0, 0, form.ScaleHeight());
  DrawColumnEdges(form, CellSize, n, 0, form.ScaleHeight());
  DrawRowEdges(form, CellSize, 0, 0, form.ScaleWidth());
  DrawRowEdges(form, CellSize, m, 0, form.ScaleWidth());
  DrawRedBorder(form);
  DrawWhiteFrame(form, CellSize);

  // One ramp fills grid row `row`: 256 levels from 255 at the left to 0 at
  // the right, each LevelWidth one-pixel vertical lines in its own pen, no
  // fill. The ramp starts on the grid column nearest to centring it in the
  // window. The x of each line is kept as a grid column and an offset within
  // it, carried on from one level to the next.
  const auto DrawRamp = [&](Int16 row, auto colourFor) {
    const Int16 RampStartColumn = RoundToInt16((form.ScaleWidth() - RampWidth) / 2 / CellSize);
    CellCursor column{RampStartColumn};
    for (Int16 L = 255; L >= 0; L = L - 1) {
      form.ForeColor(colourFor(L.Get()));
      for (Int16 line = 1; line <= LevelWidth; line = line + 1) {
        const Int16 x = column.Pixel(CellSize);
        form.Line(x, row * CellSize, x, row * CellSize + CellSize);
        column.Next(CellSize);
      }
    }
  };
  DrawRamp(2, [](int L) { return rtcRgb(L, 0, 0); });
  DrawRamp(3, [](int L) { return rtcRgb(L, L, 0); });
  DrawRamp(4, [](int L) { return rtcRgb(0, L, 0); });
  DrawRamp(5, [](int L) { return rtcRgb(0, L, L); });
  DrawRamp(6, [](int L) { return rtcRgb(0, 0, L); });
  DrawRamp(7, [](int L) { return rtcRgb(L, 0, L); });
  DrawRamp(8, [](int L) { return rtcRgb(L, L, L); });

  // Below the ramps, one empty grid row down, the band from the top of grid
  // row 10 to the top of row 13 (one pixel more, to close the squares).
  // Apart from the cell size nothing here depends on the height.

  // Vertical line block: 3 * CellSize + 1 one-pixel columns, white and black
  // by turns, starting on the first column of the ramps. Since CellSize is
  // even it begins and ends white. The pen is set for every line.
  const Int16 verticalBlockColumn = RoundToInt16((form.ScaleWidth() - RampWidth) / 2 / CellSize);
  const Int16 lastVerticalStep = 3 * CellSize;
  CellCursor column{verticalBlockColumn};
  for (Int16 i = 0; i <= lastVerticalStep; i = i + 1) {
    form.ForeColor(i % 2 == 0 ? rtcRgb(255, 255, 255) : rtcRgb(0, 0, 0));
    const Int16 x = column.Pixel(CellSize);
    form.Line(x, 10 * CellSize, x, 13 * CellSize + 1);
    column.Next(CellSize);
  }

  // Horizontal line block, the mirror image of the vertical one about the
  // centre of the window: it ends where a ramp band centred exactly in the
  // window would end, to the nearest grid column. Rounded on its own rather
  // than derived from the vertical block's column.
  const Int16 horizontalBlockColumn = RoundToInt16(
      form.ScaleWidth() / CellSize - (form.ScaleWidth() - RampWidth) / 2 / CellSize - 3);
  const Int16 lastHorizontalStep = 3 * CellSize;
  CellCursor row{10};
  for (Int16 i = 0; i <= lastHorizontalStep; i = i + 1) {
    form.ForeColor(i % 2 == 0 ? rtcRgb(255, 255, 255) : rtcRgb(0, 0, 0));
    const Int16 y = row.Pixel(CellSize);
    form.Line(CellSize * horizontalBlockColumn, y,
              CellSize * horizontalBlockColumn + 3 * CellSize + 1, y);
    row.Next(CellSize);
  }

  // Two diagonals crossing on the centre line of the window, four cells in
  // from the ends of an exactly centred ramp band (not from the ramps, which
  // start on a grid column), and a circle of one cell around the crossing.
  form.ForeColor(rtcRgb(255, 255, 255));
  const Single xL = ((form.ScaleWidth() - RampWidth) / 2 / CellSize + 4) * CellSize;
  const Single xR =
      (form.ScaleWidth() / CellSize - (form.ScaleWidth() - RampWidth) / 2 / CellSize - 4) *
      CellSize;
  form.Line(xL, 10 * CellSize, xR, 13 * CellSize);
  form.Line(xL, 13 * CellSize, xR, 10 * CellSize);
  form.Circle(form.ScaleWidth() / 2, Single(11 * CellSize) + Single(CellSize) / 2, CellSize);
}

}  // namespace testcard
