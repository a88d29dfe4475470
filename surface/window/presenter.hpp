// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "surface/form/window_port.hpp"
#include "surface/raster/canvas.hpp"

namespace testcard {

// One way of putting a finished picture on the screen: a window's own pixel
// buffer, a texture of a renderer, an X11 image at 10 bits a channel, the
// bytes a web page's canvas takes. Each window system offers one or more;
// which one a window uses is chosen once, when it is made.
//
// Whatever the way, the picture is shown from the top-left corner, one
// picture pixel on one device pixel, its colour values kept exactly (only
// their order in a pixel, or their number of bits, may change); whatever
// the output covers beyond the picture is black. Failures raise
// RunTimeError.
class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual void Show(const Canvas& picture) = 0;
};

// A pixel buffer a presenter writes into: `size` device pixels, `pitch`
// bytes from one row to the next, `bytesPerPixel` bytes a pixel.
struct PixelBuffer {
  std::uint8_t* pixels = nullptr;
  PixelSize size;
  std::size_t pitch = 0;
  std::size_t bytesPerPixel = 4;
};

// Copies `picture` into `buffer` from its top-left corner, each row through
// convert(const Colour* from, std::uint8_t* to, int count), which writes
// `count` buffer pixels; every byte beyond the picture becomes zero, black
// in every pixel format the presenters use.
template <typename Convert>
void CopyPicture(const Canvas& picture, const PixelBuffer& buffer, Convert convert) {
  const int width = std::min(picture.Width(), buffer.size.width);
  const int height = std::min(picture.Height(), buffer.size.height);
  const std::size_t rowBytes = std::size_t(buffer.size.width) * buffer.bytesPerPixel;
  for (int y = 0; y < buffer.size.height; ++y) {
    std::uint8_t* row = buffer.pixels + std::size_t(y) * buffer.pitch;
    const std::size_t shown = y < height ? std::size_t(width) * buffer.bytesPerPixel : 0;
    if (shown > 0) convert(picture.Row(y).data(), row, width);
    std::memset(row + shown, 0, rowBytes - shown);
  }
}

}  // namespace testcard
