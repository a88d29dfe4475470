// SPDX-License-Identifier: MIT
#include "surface/form/window_icon.hpp"

#include <array>
#include <string>

#include "surface/form/rtc_rgb.hpp"
#include "surface/form/run_time_error.hpp"

namespace testcard {
namespace {

IconPixel Opaque(int red, int green, int blue) {
  return rtcRgb(red, green, blue) | 0xFF000000u;
}

// Each bar's shades from left to right, in the 16-colour palette: the bright
// colour, then its half-bright counterpart; the white bar passes through the
// palette's light grey on its way to grey.
struct Bar {
  std::array<IconPixel, 3> shades;
  int count;
};

std::array<Bar, 7> Bars() {
  return {{
      {{Opaque(255, 0, 0), Opaque(128, 0, 0)}, 2},
      {{Opaque(255, 255, 0), Opaque(128, 128, 0)}, 2},
      {{Opaque(0, 255, 0), Opaque(0, 128, 0)}, 2},
      {{Opaque(0, 255, 255), Opaque(0, 128, 128)}, 2},
      {{Opaque(0, 0, 255), Opaque(0, 0, 128)}, 2},
      {{Opaque(255, 0, 255), Opaque(128, 0, 128)}, 2},
      {{Opaque(255, 255, 255), Opaque(192, 192, 192), Opaque(128, 128, 128)}, 3},
  }};
}

}  // namespace

std::vector<IconPixel> DrawWindowIcon(int size) {
  if (size < kMinIconSize || size > kMaxIconSize) {
    RaiseInvalidArgument("no icon of " + std::to_string(size) + " pixels");
  }
  // The proportions of the 16 x 16 original: a band of 2 and a frame of 1.
  const int band = (size + 4) / 8;
  const int frame = size / 16 > 0 ? size / 16 : 1;
  const int top = band + frame;            // first row of the bars
  const int bottom = size - band - frame;  // one past their last row
  const int left = frame;
  const int right = size - frame;
  const int barRows = bottom - top;
  const int barColumns = right - left;
  const IconPixel red = Opaque(255, 0, 0);
  const std::array<Bar, 7> bars = Bars();

  std::vector<IconPixel> pixels(static_cast<std::size_t>(size) * size, kTransparent);
  for (int y = band; y < size - band; ++y) {
    for (int x = 0; x < size; ++x) {
      IconPixel pixel = red;
      if (y >= top && y < bottom && x >= left && x < right) {
        // Bars and shades share the rows and columns out as evenly as whole
        // pixels allow.
        const Bar& bar = bars[static_cast<std::size_t>((y - top) * 7 / barRows)];
        pixel = bar.shades[static_cast<std::size_t>((x - left) * bar.count / barColumns)];
      }
      pixels[static_cast<std::size_t>(y) * size + x] = pixel;
    }
  }
  return pixels;
}

}  // namespace testcard
