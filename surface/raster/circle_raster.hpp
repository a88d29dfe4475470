// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "surface/raster/pixel_geometry.hpp"

namespace testcard {

// RasterCircle emits the visible pixels of the one-pixel outline of the
// circle around `centre` with `radius` (>= 0) as plot(x, y); every point lies
// inside `clip`. A pixel on one of the axes or diagonals may be emitted twice.
//
// Which pixels: the midpoint circle. Its first octant is the points (x, y(x))
// for x = 0, 1, ... while x <= y(x), where y(x) is the largest y with
// x^2 + y^2 - y < radius^2 (the midpoint (x, y - 1/2) lies inside the true
// circle); the outline is that octant in all eight mirror images about the
// centre, so the pixel set is symmetric under each of them. Radius 0 is the
// centre pixel alone. The extreme points are centre +- (radius, 0) and
// centre +- (0, radius).
//
// Each mirror image is walked only over the steps whose one coordinate lands
// inside the clip box, so the work is bounded by the canvas, not the radius,
// and a circle whose bounding box misses the box costs nothing.
//
// Precondition: centre coordinates and radius within +-kMaxRasterCoordinate.
template <typename Plot>
void RasterCircle(PixelPoint centre, std::int64_t radius, ClipBox clip, Plot&& plot);

namespace circle_raster_detail {

// The one test of the midpoint circle: whether the midpoint (x, y - 1/2)
// lies inside the circle, x^2 + y^2 - y < radius^2.
inline bool MidpointInside(std::int64_t x, std::int64_t y, std::int64_t radius) {
  return x * x + y * y - y < radius * radius;
}

// y(x) of the first octant, or -1 where no y satisfies the condition.
inline std::int64_t OctantY(std::int64_t x, std::int64_t radius) {
  if (!MidpointInside(x, 0, radius)) return -1;
  // A first guess from the square root, then corrected in whole steps.
  const double budget = static_cast<double>(radius * radius - x * x);
  auto y = static_cast<std::int64_t>((1 + std::sqrt(4.0 * budget - 3)) / 2);
  while (MidpointInside(x, y + 1, radius))
    ++y;
  while (!MidpointInside(x, y, radius))
    --y;
  return y;
}

// The last x of the first octant: the largest x with x <= y(x).
inline std::int64_t OctantEnd(std::int64_t radius) {
  auto inside = [radius](std::int64_t x) { return x <= OctantY(x, radius); };
  auto x = static_cast<std::int64_t>(static_cast<double>(radius) / std::sqrt(2.0));
  while (inside(x + 1))
    ++x;
  while (!inside(x))
    --x;
  return x;
}

}  // namespace circle_raster_detail

template <typename Plot>
void RasterCircle(PixelPoint centre, std::int64_t radius, ClipBox clip, Plot&& plot) {
  using namespace circle_raster_detail;
  if (centre.x + radius < 0 || centre.x - radius >= clip.width || centre.y + radius < 0 ||
      centre.y - radius >= clip.height) {
    return;
  }
  if (radius == 0) {
    if (clip.Contains(centre.x, centre.y)) plot(centre.x, centre.y);
    return;
  }
  const std::int64_t octantEnd = OctantEnd(radius);
  // Mirror image (sx, sy, swap): the octant point (x, y) lands on
  // centre + (sx * x, sy * y), or centre + (sx * y, sy * x) when swapped.
  for (const bool swap : {false, true}) {
    for (const int sx : {1, -1}) {
      for (const int sy : {1, -1}) {
        // The coordinate that x drives, and the size of the clip along it.
        const std::int64_t driven = swap ? centre.y : centre.x;
        const int drivenSign = swap ? sy : sx;
        const std::int64_t drivenSize = swap ? clip.height : clip.width;
        std::int64_t first = drivenSign > 0 ? -driven : driven - (drivenSize - 1);
        std::int64_t last = drivenSign > 0 ? drivenSize - 1 - driven : driven;
        first = std::max<std::int64_t>(first, 0);
        last = std::min(last, octantEnd);
        for (std::int64_t x = first, y = first <= last ? OctantY(first, radius) : 0; x <= last;
             ++x) {
          while (!MidpointInside(x, y, radius))
            --y;
          const std::int64_t px = centre.x + sx * (swap ? y : x);
          const std::int64_t py = centre.y + sy * (swap ? x : y);
          if (clip.Contains(px, py)) plot(px, py);
        }
      }
    }
  }
}

}  // namespace testcard
