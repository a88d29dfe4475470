// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace testcard {

// The pixels of RasterCircle's outline of a given radius (>= 1), row by
// row: in each of the two rows k rows above and below the centre
// (0 <= k <= radius), the outline takes the columns centre ± x for every x
// in [runBegin, runEnd) and the columns centre ± point (when point >= 0).
// Rows are what painting wants: a circle queued this way costs one entry,
// not one per pixel, and the table is built in one pass over the octant.
class CircleRows {
 public:
  struct Row {
    int runBegin = 0;
    int runEnd = 0;
    int point = -1;
  };

  explicit CircleRows(std::int64_t radius);

  int Radius() const { return radius_; }
  Row At(int k) const;

 private:
  int radius_;
  // The first octant: yOf_[x] for x = 0 .. its last x.
  std::vector<int> yOf_;
  // For the rows k from lowestRun_ up to the radius, the first and one past
  // the last x whose octant point lies in that row.
  int lowestRun_ = 0;
  std::vector<int> runBegins_;
  std::vector<int> runEnds_;
};

}  // namespace testcard
