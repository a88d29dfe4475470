// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "surface/raster/pixel_geometry.hpp"

namespace testcard {

enum class RunAxis { kHorizontal, kVertical };

// RasterLine emits the visible pixels of the one-pixel line from `from` to
// `to` as runs: sink(x, y, length, axis) paints `length` pixels starting at
// (x, y) and going right (kHorizontal) or down (kVertical). Every run lies
// wholly inside `clip` and no pixel is emitted twice.
//
// Which pixels: `from` is painted and `to` is not; equal end points paint
// nothing. A vertical or horizontal line paints the whole interval between
// its ends (the end excluded). Any other line takes |major| steps along its
// major axis (x when |dx| >= |dy|); step i (0 <= i < |major|) lies at offset
// floor((2 i |minor| + |major|) / (2 |major|)) along the minor axis, that is
// i |minor| / |major| rounded to nearest with ties away from `from`. This is
// Bresenham's line, stated in closed form so that clipping can solve for the
// first and last visible step directly: a clipped line paints exactly the
// pixels of the unclipped one that fall inside `clip`, and the work is
// proportional to the visible pixels (none for a line wholly outside).
//
// Precondition: every coordinate is within +-kMaxRasterCoordinate.
template <typename Sink>
void RasterLine(PixelPoint from, PixelPoint to, ClipBox clip, Sink&& sink);

namespace line_raster_detail {

// Inclusive range of steps i for which start + sign * i lies in [0, size).
struct StepRange {
  std::int64_t first;
  std::int64_t last;
};

inline StepRange StepsInside(std::int64_t start, int sign, std::int64_t size) {
  if (sign > 0) return {-start, size - 1 - start};
  return {start - (size - 1), start};
}

// The major-axis walk of a general line: steps 0 .. length - 1, step i at
// minor offset floor((2 i rise + length) / (2 length)), 0 < rise <= length.
struct Walk {
  std::int64_t length;
  std::int64_t rise;

  std::int64_t OffsetAt(std::int64_t step) const {
    return FloorDiv(2 * step * rise + length, 2 * length);
  }
  // First step whose offset is at least `offset`.
  std::int64_t FirstStepReaching(std::int64_t offset) const {
    return CeilDiv((2 * offset - 1) * length, 2 * rise);
  }
  // Last step whose offset is at most `offset`.
  std::int64_t LastStepWithin(std::int64_t offset) const {
    return CeilDiv((2 * offset + 1) * length, 2 * rise) - 1;
  }
};

template <typename Sink>
void AxisRun(std::int64_t fixed, std::int64_t from, std::int64_t to, std::int64_t fixedSize,
             std::int64_t runSize, RunAxis axis, Sink& sink) {
  if (fixed < 0 || fixed >= fixedSize) return;
  // The interval from `from` towards `to`, `to` itself excluded.
  std::int64_t low = from < to ? from : to + 1;
  std::int64_t high = from < to ? to - 1 : from;
  low = std::max<std::int64_t>(low, 0);
  high = std::min(high, runSize - 1);
  if (low > high) return;
  if (axis == RunAxis::kHorizontal) {
    sink(low, fixed, high - low + 1, axis);
  } else {
    sink(fixed, low, high - low + 1, axis);
  }
}

template <typename Sink>
void GeneralLine(PixelPoint from, PixelPoint to, ClipBox clip, Sink& sink) {
  const std::int64_t dx = to.x - from.x;
  const std::int64_t dy = to.y - from.y;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const RunAxis axis = xMajor ? RunAxis::kHorizontal : RunAxis::kVertical;
  // Name everything along the major axis "a" and along the minor axis "b".
  const std::int64_t a0 = xMajor ? from.x : from.y;
  const std::int64_t b0 = xMajor ? from.y : from.x;
  const int aSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int bSign = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const std::int64_t aSize = xMajor ? clip.width : clip.height;
  const std::int64_t bSize = xMajor ? clip.height : clip.width;
  const Walk walk{std::abs(xMajor ? dx : dy), std::abs(xMajor ? dy : dx)};

  const StepRange aSteps = StepsInside(a0, aSign, aSize);
  const StepRange bOffsets = StepsInside(b0, bSign, bSize);
  std::int64_t first =
      std::max({std::int64_t{0}, aSteps.first, walk.FirstStepReaching(bOffsets.first)});
  const std::int64_t last =
      std::min({walk.length - 1, aSteps.last, walk.LastStepWithin(bOffsets.last)});

  // Offsets never decrease, so the visible steps group into runs of equal
  // offset, each one straight run along the major axis.
  for (std::int64_t offset = walk.OffsetAt(first); first <= last; ++offset) {
    const std::int64_t runLast = std::min(last, walk.LastStepWithin(offset));
    const std::int64_t a = aSign > 0 ? a0 + first : a0 - runLast;
    const std::int64_t b = b0 + bSign * offset;
    const std::int64_t length = runLast - first + 1;
    if (xMajor) {
      sink(a, b, length, axis);
    } else {
      sink(b, a, length, axis);
    }
    first = runLast + 1;
  }
}

}  // namespace line_raster_detail

template <typename Sink>
void RasterLine(PixelPoint from, PixelPoint to, ClipBox clip, Sink&& sink) {
  using namespace line_raster_detail;
  if (from == to) return;
  if (from.x == to.x) {
    AxisRun(from.x, from.y, to.y, clip.width, clip.height, RunAxis::kVertical, sink);
  } else if (from.y == to.y) {
    AxisRun(from.y, from.x, to.x, clip.height, clip.width, RunAxis::kHorizontal, sink);
  } else {
    GeneralLine(from, to, clip, sink);
  }
}

}  // namespace testcard
