// SPDX-License-Identifier: MIT
#include "surface/raster/canvas.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#include "surface/raster/circle_raster.hpp"
#include "surface/raster/line_raster.hpp"
#include "surface/raster/raster_error.hpp"
#include "surface/raster/rounding.hpp"

namespace testcard {
namespace {

struct Segment {
  double x1, y1, x2, y2;
};

// Cuts the segment to the square +-kMaxRasterCoordinate (Liang-Barsky), so
// that its end points fit the exact integer rasteriser. Returns nothing when
// the segment misses the square, and so every canvas.
std::optional<Segment> CutToRasterRange(Segment s) {
  const double limit = static_cast<double>(kMaxRasterCoordinate);
  const double dx = s.x2 - s.x1;
  const double dy = s.y2 - s.y1;
  double enter = 0;
  double leave = 1;
  // Each pair: the rate at which the segment moves towards a side and its
  // distance from it; the segment is inside where rate * t <= distance.
  const double sides[4][2] = {
      {-dx, s.x1 + limit}, {dx, limit - s.x1}, {-dy, s.y1 + limit}, {dy, limit - s.y1}};
  for (const auto& [rate, distance] : sides) {
    if (rate == 0) {
      if (distance < 0) return std::nullopt;
    } else if (rate < 0) {
      enter = std::max(enter, distance / rate);
    } else {
      leave = std::min(leave, distance / rate);
    }
  }
  if (enter > leave) return std::nullopt;
  auto clamp = [limit](double v) { return std::clamp(v, -limit, limit); };
  return Segment{clamp(s.x1 + enter * dx), clamp(s.y1 + enter * dy), clamp(s.x1 + leave * dx),
                 clamp(s.y1 + leave * dy)};
}

bool WithinRasterRange(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) {
    return std::fabs(v) <= static_cast<double>(kMaxRasterCoordinate);
  });
}

// Memory for `count` pixels, uninitialised; nullptr when there is none. A
// large picture gets huge pages where the system offers them: a 4K canvas
// is 8,100 ordinary pages, and in a virtual machine faulting each of them in
// costs more than painting the picture.
Colour* AllocatePixels(std::size_t count) {
  if (count == 0) return nullptr;
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  const std::size_t bytes = count * sizeof(Colour);
  if (bytes < kHugePage) return static_cast<Colour*>(std::malloc(bytes));
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* memory = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
  if (memory != nullptr) madvise(memory, rounded, MADV_HUGEPAGE);
#endif
  return static_cast<Colour*>(memory);
}

// A coordinate already rounded and within kMaxRasterCoordinate, as a pixel.
std::int64_t ToPixel(double rounded) {
  return static_cast<std::int64_t>(rounded);
}

}  // namespace

Canvas::Canvas(int width, int height, Colour fill) {
  Resize(width, height, fill);
}

void Canvas::FreePixels::operator()(Colour* pixels) const {
  std::free(pixels);
}

Canvas::Canvas(const Canvas& other) {
  *this = other;
}

Canvas& Canvas::operator=(const Canvas& other) {
  if (this == &other) return *this;
  const std::span<const Colour> pixels = other.Pixels();
  Resize(other.width_, other.height_, 0);
  batch_.Reset(width_, height_);  // drops the fill Resize queued
  std::copy(pixels.begin(), pixels.end(), pixels_.get());
  return *this;
}

std::span<const Colour> Canvas::Row(int y) const {
  Settle();
  return {pixels_.get() + Index(0, y), static_cast<std::size_t>(width_)};
}

void Canvas::Resize(int width, int height, Colour fill) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) {
    throw RasterError(RasterError::Kind::kOutOfMemory, "a canvas of " + std::to_string(width) +
                                                           " x " + std::to_string(height) +
                                                           " pixels is not possible");
  }
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (count != PixelCount()) {
    pixels_.reset(AllocatePixels(count));
    if (count > 0 && pixels_ == nullptr) {
      width_ = height_ = 0;
      batch_.Reset(0, 0);
      throw RasterError(RasterError::Kind::kOutOfMemory, "no room for a canvas of " +
                                                             std::to_string(width) + " x " +
                                                             std::to_string(height) + " pixels");
    }
  }
  width_ = width;
  height_ = height;
  batch_.Reset(width, height);
  batch_.Fill(fill);
  lastColumn_.valid = false;
}

void Canvas::Fill(Colour colour) {
  batch_.Fill(colour);
}

void Canvas::RaiseNotFinite(const char* operation) {
  throw RasterError(RasterError::Kind::kInvalidArgument,
                    std::string(operation) + " coordinate is not a finite number");
}

void Canvas::NewLine(double x1, double y1, double x2, double y2, Colour colour) {
  if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2)))
      [[unlikely]] {
    RaiseNotFinite("Line");
  }
  Segment s{RoundHalfEven(x1), RoundHalfEven(y1), RoundHalfEven(x2), RoundHalfEven(y2)};
  if (!WithinRasterRange({s.x1, s.y1, s.x2, s.y2})) [[unlikely]] {
    const std::optional<Segment> cut = CutToRasterRange(s);
    if (!cut) return;
    s = {RoundHalfEven(cut->x1), RoundHalfEven(cut->y1), RoundHalfEven(cut->x2),
         RoundHalfEven(cut->y2)};
  }
  // Only a column at a whole x may be taken up again by the next line.
  const bool column = s.x1 == s.x2 && x1 == s.x1;
  lastColumn_.valid = false;
  RasterLine({ToPixel(s.x1), ToPixel(s.y1)}, {ToPixel(s.x2), ToPixel(s.y2)}, {width_, height_},
             [&](std::int64_t x, std::int64_t y, std::int64_t length, RunAxis axis) {
               Queue(static_cast<int>(x), static_cast<int>(y), static_cast<int>(length), axis,
                     colour);
               if (column)
                 lastColumn_ = {x1, y1, y2, static_cast<int>(y), static_cast<int>(length), true};
             });
}

void Canvas::Circle(double x, double y, double radius, Colour colour) {
  if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(radius))) RaiseNotFinite("Circle");
  const double r = RoundHalfEven(radius);
  if (r < 0) {
    throw RasterError(RasterError::Kind::kInvalidArgument,
                      "Circle radius " + std::to_string(radius) + " is negative");
  }
  const double cx = RoundHalfEven(x);
  const double cy = RoundHalfEven(y);
  if (!WithinRasterRange({cx, cy, r})) return;
  if (r >= 1 && r <= PaintBatch::kMaxQueuedRadius) {
    batch_.Outline(static_cast<int>(cx), static_cast<int>(cy), static_cast<int>(r), colour);
    if (batch_.Full()) Settle();
    return;
  }
  // The centre alone, or a circle too large to tabulate: pixel by pixel.
  RasterCircle({ToPixel(cx), ToPixel(cy)}, ToPixel(r), {width_, height_},
               [this, colour](std::int64_t px, std::int64_t py) {
                 Queue(static_cast<int>(px), static_cast<int>(py), 1, RunAxis::kHorizontal, colour);
               });
}

}  // namespace testcard
