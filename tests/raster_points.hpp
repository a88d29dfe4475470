#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "surface/circle_raster.hpp"
#include "surface/line_raster.hpp"

namespace testcard::testing {

using PointSet = std::set<std::pair<std::int64_t, std::int64_t>>;

// Every pixel RasterLine emits; `emissions` counts pixels emitted, so that a
// pixel emitted twice shows as a count larger than the set.
inline PointSet LinePoints(PixelPoint from, PixelPoint to, ClipBox clip,
                           std::int64_t* emissions = nullptr) {
  PointSet points;
  RasterLine(
      from, to, clip, [&](std::int64_t x, std::int64_t y, std::int64_t length, RunAxis axis) {
        for (std::int64_t i = 0; i < length; ++i) {
          points.insert(axis == RunAxis::kHorizontal ? std::pair{x + i, y} : std::pair{x, y + i});
        }
        if (emissions != nullptr) *emissions += length;
      });
  return points;
}

inline PointSet CirclePoints(PixelPoint centre, std::int64_t radius, ClipBox clip) {
  PointSet points;
  RasterCircle(centre, radius, clip, [&](std::int64_t x, std::int64_t y) {
    points.insert({x, y});
  });
  return points;
}

// The textbook integer midpoint circle (decision d = 1 - r), mirrored into
// all eight octants; kept to the points inside `keep`.
inline PointSet ReferenceCircle(PixelPoint c, std::int64_t r, ClipBox keep) {
  PointSet points;
  auto put = [&](std::int64_t x, std::int64_t y) {
    if (keep.Contains(x, y)) points.insert({x, y});
  };
  std::int64_t x = 0, y = r, d = 1 - r;
  while (x <= y) {
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
    ++x;
  }
  return points;
}

// The points of `points` inside `clip`.
inline PointSet Inside(const PointSet& points, ClipBox clip) {
  PointSet inside;
  for (const auto& [x, y] : points) {
    if (clip.Contains(x, y)) inside.insert({x, y});
  }
  return inside;
}

}  // namespace testcard::testing
