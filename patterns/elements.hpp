// SPDX-License-Identifier: MIT
#pragma once

#include "surface/form/checked_float.hpp"
#include "surface/form/checked_int.hpp"
#include "surface/form/grid_form.hpp"

namespace testcard {

// The pieces the three patterns share. Each draws only through the form's
// drawing operations and keeps no state; integer positions are 16-bit and
// overflow-checked, positions involving the window size single precision.

// Opens a pattern: Tag becomes the pattern's number as text ("1", "2", "3"),
// BackColor black, and the client area is cleared.
void BeginPattern(GridForm& form, Int16 number);

// The grid pitch for the form's client size: the largest even pitch from 4
// up to the first even pitch that leaves at most 20 columns or at most 15
// rows and that divides the width exactly; 2 when none does. Draws nothing.
Int16 FindCellSize(const GridForm& form);

// The two edge pixels of grid column k (pitch CellSize): vertical lines at
// x = k * CellSize and x = k * CellSize + CellSize - 1, each from `top` to
// `bottom`, left one first, in the current pen colour.
void DrawColumnEdges(GridForm& form, Int16 CellSize, Int16 k, Single top, Single bottom);

// The two edge pixels of grid row k: horizontal lines at y = k * CellSize and
// y = k * CellSize + CellSize - 1, each from `left` to `right`, top one first,
// in the current pen colour.
void DrawRowEdges(GridForm& form, Int16 CellSize, Int16 k, Single left, Single right);

// Paints exactly the outermost pixel ring of the client area red, corners
// included, and leaves the pen red.
void DrawRedBorder(GridForm& form);

// Paints two nested one-pixel white rectangles one cell in from the edges:
// the outlines of (S - 1, S - 1)-(W - S, H - S) and (S, S)-(W - S - 1, H - S - 1)
// for S = CellSize. Leaves the pen white.
void DrawWhiteFrame(GridForm& form, Int16 CellSize);

}  // namespace testcard
