// SPDX-License-Identifier: MIT
#include "tools/icon_png.hpp"

#include <string>

#include "tools/png_writer.hpp"

namespace testcard {

void WriteIconPng(std::span<const IconPixel> pixels, int size,
                  const std::filesystem::path& target) {
  if (size < 1 || pixels.size() != static_cast<std::size_t>(size) * size) {
    throw PngWriteError("cannot write " + target.string() + ": the icon is not " +
                        std::to_string(size) + " x " + std::to_string(size) + " pixels");
  }
  // Spelled out byte by byte, since an IconPixel's layout in memory depends
  // on the machine's byte order.
  const auto row = [&](int y, unsigned char* bytes) {
    for (const IconPixel pixel : pixels.subspan(std::size_t(y) * std::size_t(size), size)) {
      for (const int shift : {0, 8, 16, 24})
        *bytes++ = static_cast<unsigned char>(pixel >> shift);
    }
  };
  WritePngFile({size, size, true, row}, target);
}

}  // namespace testcard
