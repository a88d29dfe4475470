// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace testcard {

// Whole-pixel positions for the rasterisers. 64 bits so that coordinates far
// outside any canvas (the rasterisers accept up to kMaxRasterCoordinate) and
// the products of their differences never overflow.
struct PixelPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend bool operator==(PixelPoint, PixelPoint) = default;
};

// The visible pixels: 0 <= x < width and 0 <= y < height.
struct ClipBox {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool Contains(std::int64_t x, std::int64_t y) const {
    return x >= 0 && x < width && y >= 0 && y < height;
  }
};

// Largest magnitude of an end point, centre or radius that the rasterisers
// take. 2^29 keeps every intermediate product below 2^62; canvases are far
// smaller (at most 2^20 a side), so this bounds only how far off-canvas a
// shape may be described exactly.
inline constexpr std::int64_t kMaxRasterCoordinate = std::int64_t{1} << 29;

// Integer division rounding towards minus and plus infinity; divisor > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}
constexpr std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return -FloorDiv(-a, b);
}

}  // namespace testcard
