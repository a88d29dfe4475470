// SPDX-License-Identifier: MIT
#include "surface/browser/rgba_picture.hpp"

#include <bit>

namespace testcard {

void RgbaPicture::Show(const Canvas& picture) {
  size_ = {picture.Width(), picture.Height()};
  rgba_.resize(std::size_t(size_.width) * std::size_t(size_.height));
  static_assert(std::endian::native == std::endian::little, "WebAssembly is little-endian");
  // The canvas pixel 0x00BBGGRR is, in little-endian memory, the bytes R, G,
  // B, 0: only the alpha byte is missing.
  CopyPicture(picture,
              {reinterpret_cast<std::uint8_t*>(rgba_.data()), size_, std::size_t(size_.width) * 4},
              [](const Colour* from, std::uint8_t* to, int count) {
                auto* pixels = reinterpret_cast<std::uint32_t*>(to);
                for (int x = 0; x < count; ++x)
                  pixels[x] = from[x] | 0xFF000000u;
              });
}

}  // namespace testcard
