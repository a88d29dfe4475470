// SPDX-License-Identifier: MIT
#pragma once

// The textbook integer rasterisers, written step by step and independently
// of the closed forms the drawing core uses: the references the raster and
// pattern tests compare the core against.

#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

#include "surface/raster/pixel_geometry.hpp"

namespace testcard::testing {

using Points = std::set<std::pair<std::int64_t, std::int64_t>>;

// Bresenham's line with the midpoint decision (a tie steps the minor axis):
// `from` is plotted, `to` is not. Only the points inside `keep`.
inline Points TextbookLine(PixelPoint from, PixelPoint to, ClipBox keep) {
  const std::int64_t dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
  const int sx = to.x > from.x ? 1 : -1, sy = to.y > from.y ? 1 : -1;
  const bool xMajor = dx >= dy;
  const std::int64_t length = xMajor ? dx : dy, rise = xMajor ? dy : dx;
  Points points;
  std::int64_t x = from.x, y = from.y, error = 0;
  for (std::int64_t i = 0; i < length; ++i) {
    if (keep.Contains(x, y)) points.insert({x, y});
    error += 2 * rise;
    if (error >= length) {
      error -= 2 * length;
      (xMajor ? y : x) += xMajor ? sy : sx;
    }
    (xMajor ? x : y) += xMajor ? sx : sy;
  }
  return points;
}

// The midpoint circle (decision d = 1 - r) in all eight octants; radius 0
// is the centre alone. Only the points inside `keep`.
inline Points TextbookCircle(PixelPoint c, std::int64_t r, ClipBox keep) {
  Points points;
  auto put = [&](std::int64_t x, std::int64_t y) {
    if (keep.Contains(x, y)) points.insert({x, y});
  };
  for (std::int64_t x = 0, y = r, d = 1 - r; x <= y; ++x) {
    for (const int sx : {1, -1}) {
      for (const int sy : {1, -1}) {
        put(c.x + sx * x, c.y + sy * y);
        put(c.x + sx * y, c.y + sy * x);
      }
    }
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
  }
  return points;
}

}  // namespace testcard::testing
