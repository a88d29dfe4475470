// SPDX-License-Identifier: MIT
#include "tools/icon_png.hpp"

#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/png_writer.hpp"

namespace testcard {

void WriteIconPng(std::span<const IconPixel> pixels, int size,
                  const std::filesystem::path& target) {
  const std::string name = target.string();
  if (size < 1 || pixels.size() != static_cast<std::size_t>(size) * size) {
    throw PngWriteError("cannot write " + name + ": the icon is not " + std::to_string(size) +
                        " x " + std::to_string(size) + " pixels");
  }
  // Spelled out byte by byte, since an IconPixel's layout in memory depends
  // on the machine's byte order.
  std::vector<unsigned char> bytes;
  bytes.reserve(pixels.size() * 4);
  for (const IconPixel pixel : pixels) {
    for (const int shift : {0, 8, 16, 24})
      bytes.push_back(static_cast<unsigned char>(pixel >> shift));
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(size);
  image.height = static_cast<png_uint_32>(size);
  image.format = PNG_FORMAT_RGBA;
  // libpng removes the file itself when writing fails.
  if (png_image_write_to_file(&image, name.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
    const std::string why = image.message;
    png_image_free(&image);
    throw PngWriteError("cannot write " + name + ": " + why);
  }
}

}  // namespace testcard
