// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "surface/raster/colour.hpp"
#include "surface/raster/paint_batch.hpp"
#include "surface/raster/pixel_geometry.hpp"
#include "surface/raster/raster_error.hpp"
#include "surface/raster/rounding.hpp"

namespace testcard {

// A headless picture: Width() x Height() pixels of 0x00BBGGRR colours, stored
// row by row from the top-left pixel, each row Width() pixels with no padding
// (Pixels()[y * Width() + x] is the pixel at (x, y)). Nothing is ever written
// outside it: every drawing operation clips to the image.
//
// Drawing is queued and painted in bands of rows (see PaintBatch) when the
// picture is next read, or when the queue is full; reading always sees
// every drawing operation made before it, in order.
//
// Coordinates are in pixels, origin at the top-left pixel, y downwards. Any
// fractional coordinate is mapped to the nearest pixel, a half to the even
// one (see RoundHalfEven). A coordinate that is NaN or infinite throws a
// RasterError of kind kInvalidArgument before anything is drawn.
class Canvas {
 public:
  // Largest width or height a canvas may have; larger requests, and images
  // whose memory cannot be allocated, throw a RasterError of kind kOutOfMemory.
  static constexpr int kMaxSide = 1 << 20;

  Canvas() = default;
  Canvas(int width, int height, Colour fill = 0);
  // A copy holds the same picture, all drawing made so far painted.
  Canvas(const Canvas& other);
  Canvas& operator=(const Canvas& other);
  Canvas(Canvas&&) noexcept = default;
  Canvas& operator=(Canvas&&) noexcept = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at (x, y); both must lie inside the image.
  Colour Pixel(int x, int y) const {
    Settle();
    return pixels_[Index(x, y)];
  }
  std::span<const Colour> Pixels() const {
    Settle();
    return {pixels_.get(), PixelCount()};
  }
  std::span<const Colour> Row(int y) const;

  // Changes the size; the whole image becomes `fill`.
  void Resize(int width, int height, Colour fill);
  // Paints every pixel.
  void Fill(Colour colour);
  // A one-pixel line from (x1, y1) towards (x2, y2): the first point is
  // painted, the last is not, so equal end points paint nothing. Vertical and
  // horizontal lines paint the whole interval; others follow Bresenham's line
  // between the rounded end points (see RasterLine). End points more than
  // kMaxRasterCoordinate pixels away are first brought to that distance along
  // the line, which moves nothing visible by more than a rounding step.
  void Line(double x1, double y1, double x2, double y2, Colour colour);
  // The one-pixel outline of the circle around (x, y); centre and radius are
  // rounded to whole pixels first (see RasterCircle). A radius that rounds
  // below zero throws RasterError (kInvalidArgument). A circle whose
  // centre or radius is beyond kMaxRasterCoordinate pixels is not drawn.
  void Circle(double x, double y, double radius, Colour colour);

 private:
  [[noreturn, gnu::cold]] static void RaiseNotFinite(const char* operation);
  // Every line that is not the next column of the last one.
  void NewLine(double x1, double y1, double x2, double y2, Colour colour);
  // Queues a run (see PaintBatch::Run), painting the queue when it is full.
  void Queue(int x, int y, int length, RunAxis axis, Colour colour) {
    batch_.Run(x, y, length, axis, colour);
    if (batch_.Full()) Settle();
  }
  // Paints whatever drawing is still queued.
  void Settle() const {
    if (!batch_.Empty()) batch_.PaintOnto({pixels_.get(), PixelCount()});
  }
  std::size_t PixelCount() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  // Mutable because reading the picture paints the queued drawing into it;
  // what a reader sees is the same either way.
  // Left uninitialised when allocated: the first painting writes every
  // pixel, so a new canvas costs no pass over its memory of its own.
  struct FreePixels {
    void operator()(Colour* pixels) const;
  };
  mutable std::unique_ptr<Colour[], FreePixels> pixels_;
  mutable PaintBatch batch_;
  // The last vertical line drawn at a whole x, as it was given, and the rows
  // it painted. A colour ramp is thousands of lines, each one column to the
  // right of the last between the same ends: such a line paints the same
  // rows, without rounding and clipping its ends again.
  struct LastColumn {
    double x = 0, y1 = 0, y2 = 0;
    int top = 0, length = 0;
    bool valid = false;
  } lastColumn_;
};

// Inline: the hot path of every pattern.
inline void Canvas::Line(double x1, double y1, double x2, double y2, Colour colour) {
  // Equality with the last column's ends also proves these are finite.
  if (x1 == x2 && lastColumn_.valid && x1 == lastColumn_.x + 1 && y1 == lastColumn_.y1 &&
      y2 == lastColumn_.y2 && x1 < width_) {
    lastColumn_.x = x1;
    Queue(static_cast<int>(x1), lastColumn_.top, lastColumn_.length, RunAxis::kVertical, colour);
    return;
  }
  NewLine(x1, y1, x2, y2, colour);
}

}  // namespace testcard
