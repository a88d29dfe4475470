// SPDX-License-Identifier: MIT
#include "surface/raster/circle_rows.hpp"

#include "surface/raster/circle_raster.hpp"

namespace testcard {

CircleRows::CircleRows(std::int64_t radius) : radius_(static_cast<int>(radius)) {
  const auto octantEnd = static_cast<int>(circle_raster_detail::OctantEnd(radius));
  yOf_.resize(static_cast<std::size_t>(octantEnd) + 1);
  // The same walk as RasterCircle's: y only ever steps down, by at most one.
  std::int64_t y = radius;
  for (std::int64_t x = 0; x <= octantEnd; ++x) {
    while (!circle_raster_detail::MidpointInside(x, y, radius))
      --y;
    yOf_[static_cast<std::size_t>(x)] = static_cast<int>(y);
  }
  lowestRun_ = yOf_.back();
  runBegins_.assign(static_cast<std::size_t>(radius_ - lowestRun_ + 1), 0);
  runEnds_.assign(runBegins_.size(), 0);
  for (int x = octantEnd; x >= 0; --x) {
    const auto row = static_cast<std::size_t>(yOf_[static_cast<std::size_t>(x)] - lowestRun_);
    runBegins_[row] = x;
    if (runEnds_[row] == 0) runEnds_[row] = x + 1;
  }
}

CircleRows::Row CircleRows::At(int k) const {
  Row row;
  if (k < static_cast<int>(yOf_.size())) row.point = yOf_[static_cast<std::size_t>(k)];
  if (k >= lowestRun_) {
    row.runBegin = runBegins_[static_cast<std::size_t>(k - lowestRun_)];
    row.runEnd = runEnds_[static_cast<std::size_t>(k - lowestRun_)];
  }
  return row;
}

}  // namespace testcard
