// SPDX-License-Identifier: MIT
#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"
#include "surface/form/rtc_rgb.hpp"

namespace testcard {

// Every coordinate here is taken from the client size as it stands and
// passed on unrounded: the canvas maps each to the nearest pixel. Every
// right or bottom coordinate is W - 1 or H - 1 minus its left or top twin,
// and on an even-sized window none of them is a half (sevenths and fifths
// never are), so both twins round the same way and the picture comes out
// exactly mirror-symmetric. The marker lines and corner circles are placed by the height
// alone (H / 7 + 1 in from each edge), so they keep the same distance from
// all four edges on a wide screen.
void CrossTest(GridForm& form) {
  BeginPattern(form, 2);
  DrawRedBorder(form);
  form.ForeColor(rtcRgb(255, 255, 255));

  // Vertical lines from row 1 to row H - 2 (the end point is not painted),
  // inside the red border: the two middle columns, then the left and right
  // marker lines.
  form.Line(form.ScaleWidth() / 2, 1, form.ScaleWidth() / 2, form.ScaleHeight() - 1);
  form.Line(form.ScaleWidth() / 2 - 1, 1, form.ScaleWidth() / 2 - 1, form.ScaleHeight() - 1);
  form.Line(form.ScaleHeight() / 7 + 1, 1, form.ScaleHeight() / 7 + 1, form.ScaleHeight() - 1);
  form.Line(form.ScaleWidth() - form.ScaleHeight() / 7 - 2, 1,
            form.ScaleWidth() - form.ScaleHeight() / 7 - 2, form.ScaleHeight() - 1);

  // Horizontal lines likewise, columns 1 to W - 2.
  form.Line(1, form.ScaleHeight() / 2, form.ScaleWidth() - 1, form.ScaleHeight() / 2);
  form.Line(1, form.ScaleHeight() / 2 - 1, form.ScaleWidth() - 1, form.ScaleHeight() / 2 - 1);
  form.Line(1, form.ScaleHeight() / 7 + 1, form.ScaleWidth() - 1, form.ScaleHeight() / 7 + 1);
  form.Line(1, form.ScaleHeight() - form.ScaleHeight() / 7 - 2, form.ScaleWidth() - 1,
            form.ScaleHeight() - form.ScaleHeight() / 7 - 2);

  // The centre circle four times, one pixel apart in each direction: about
  // two pixels thick and centred between the two middle columns and rows,
  // like the cross.
  form.Circle(form.ScaleWidth() / 2, form.ScaleHeight() / 2, form.ScaleHeight() / 5);
  form.Circle(form.ScaleWidth() / 2 - 1, form.ScaleHeight() / 2 - 1, form.ScaleHeight() / 5);
  form.Circle(form.ScaleWidth() / 2, form.ScaleHeight() / 2 - 1, form.ScaleHeight() / 5);
  form.Circle(form.ScaleWidth() / 2 - 1, form.ScaleHeight() / 2, form.ScaleHeight() / 5);

  // A circle on each crossing of the marker lines. Its radius is one less
  // than its centre's distance from the edge, so it touches the inner side
  // of the red border without crossing it.
  form.Circle(form.ScaleHeight() / 7 + 1, form.ScaleHeight() / 7 + 1, form.ScaleHeight() / 7);
  form.Circle(form.ScaleHeight() / 7 + 1, form.ScaleHeight() - form.ScaleHeight() / 7 - 2,
              form.ScaleHeight() / 7);
  form.Circle(form.ScaleWidth() - form.ScaleHeight() / 7 - 2, form.ScaleHeight() / 7 + 1,
              form.ScaleHeight() / 7);
  form.Circle(form.ScaleWidth() - form.ScaleHeight() / 7 - 2,
              form.ScaleHeight() - form.ScaleHeight() / 7 - 2, form.ScaleHeight() / 7);
}

}  // namespace testcard
