// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "surface/form/checked_float.hpp"
#include "surface/form/window_port.hpp"
#include "surface/raster/canvas.hpp"
#include "surface/raster/colour.hpp"

namespace testcard {

// The drawing surface every pattern draws on: the client area of the test
// window and its drawing state, under the window system's own names. The
// picture lives in a Canvas of its own, exactly the client size in pixels,
// and persists until it is drawn over; showing it is the window's business.
//
// Without a window (the exporter, the tests) it is a canvas of a given size;
// AttachWindow connects it to a real one, whose client area then decides
// the canvas size.
//
// Every failure raises RunTimeError: a NaN or infinite coordinate, a
// negative radius or size, a canvas that cannot be allocated, a window that
// refuses to move.
class GridForm {
 public:
  // A headless form whose client area is clientWidth x clientHeight pixels,
  // filled with the initial BackColor.
  GridForm(int clientWidth, int clientHeight);

  // Connects the form to a window. The window must outlive the form's use.
  void AttachWindow(WindowPort& window) { window_ = &window; }

  // The client size in pixels.
  Single ScaleWidth() const { return Single(picture_.Width()); }
  Single ScaleHeight() const { return Single(picture_.Height()); }

  // The colour Cls fills with; RGB(64, 64, 64) when the form is created.
  Colour BackColor() const { return backColor_; }
  void BackColor(Colour colour) { backColor_ = colour; }
  // The pen of Line and Circle; white when the form is created.
  Colour ForeColor() const { return foreColor_; }
  void ForeColor(Colour colour) { foreColor_ = colour; }
  // Free text; the patterns keep their number in it. Empty when created.
  const std::string& Tag() const { return tag_; }
  void Tag(std::string text) { tag_ = std::move(text); }

  // Fills the whole client area with BackColor.
  void Cls() { picture_.Fill(backColor_); }
  // A one-pixel line in ForeColor from (x1, y1) to (x2, y2); (x2, y2) itself
  // is not painted. See Canvas::Line.
  void Line(Single x1, Single y1, Single x2, Single y2) {
    try {
      picture_.Line(x1.Get(), y1.Get(), x2.Get(), y2.Get(), foreColor_);
    } catch (const RasterError& error) {
      RaiseRasterFault(error);
    }
  }
  // The one-pixel outline of a full circle in ForeColor. See Canvas::Circle.
  void Circle(Single x, Single y, Single radius) {
    try {
      picture_.Circle(x.Get(), y.Get(), radius.Get(), foreColor_);
    } catch (const RasterError& error) {
      RaiseRasterFault(error);
    }
  }
  // Places and sizes the window, in twips (15 to the pixel). The client area
  // becomes width / 15 x height / 15 pixels (or what the window really got)
  // and is filled with BackColor.
  void Move(Single left, Single top, Single width, Single height);

  const Canvas& Picture() const { return picture_; }

 private:
  // The run-time error for what the canvas refused.
  [[noreturn, gnu::cold]] static void RaiseRasterFault(const RasterError& error);

  Colour backColor_;
  Colour foreColor_;
  std::string tag_;
  Canvas picture_;
  WindowPort* window_ = nullptr;
};

}  // namespace testcard
