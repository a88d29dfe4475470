#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "surface/colour.hpp"

namespace testcard {

// A headless picture: Width() x Height() pixels of 0x00BBGGRR colours, stored
// row by row from the top-left pixel, each row Width() pixels with no padding
// (Pixels()[y * Width() + x] is the pixel at (x, y)). Nothing is ever written
// outside it: every drawing operation clips to the image.
//
// Coordinates are in pixels, origin at the top-left pixel, y downwards. Any
// fractional coordinate is mapped to the nearest pixel (a half goes to the
// even pixel), so a point and its mirror image W - 1 - x land on mirrored
// pixels. A coordinate that is NaN or infinite raises the run-time error
// "Invalid procedure call or argument" before anything is drawn.
class Canvas {
 public:
  // Largest width or height a canvas may have; larger requests, and images
  // whose memory cannot be allocated, raise the run-time error "Out of memory".
  static constexpr int kMaxSide = 1 << 20;

  Canvas() = default;
  Canvas(int width, int height, Colour fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at (x, y); both must lie inside the image.
  Colour Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  std::span<const Colour> Pixels() const { return pixels_; }
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
  // below zero raises "Invalid procedure call or argument". A circle whose
  // centre or radius is beyond kMaxRasterCoordinate pixels is not drawn.
  void Circle(double x, double y, double radius, Colour colour);

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace testcard
