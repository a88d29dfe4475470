// SPDX-License-Identifier: MIT
#include "tools/icon_png.hpp"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <bit>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/png_writer.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

TEST(IconPng, KeepsEveryPixelAndItsAlphaAndRefusesWhatItCannotWrite) {
  std::string name = (fs::temp_directory_path() / "icon-png-XXXXXX").string();
  ASSERT_NE(mkdtemp(name.data()), nullptr);
  const fs::path folder = name;
  // Every byte of every pixel different, and alpha other than 0 and 255, so
  // that swapped channels or a lost or premultiplied alpha show.
  std::vector<IconPixel> ramp(8 * 8);
  for (std::size_t i = 0; i < ramp.size(); ++i) {
    const auto v = static_cast<IconPixel>(i);
    ramp[i] = (v * 4) | (255 - v * 3) << 8 | (v * 2 + 7) << 16 | (v * 4 + 1) << 24;
  }
  WriteIconPng(ramp, 8, folder / "ramp.png");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, (folder / "ramp.png").c_str()), 0)
      << image.message;
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(8u, 8u));
  // Read as the bytes R, G, B, A, which is the icon's 0xAABBGGRR on a
  // little-endian machine.
  static_assert(std::endian::native == std::endian::little);
  image.format = PNG_FORMAT_RGBA;
  std::vector<IconPixel> read(PNG_IMAGE_SIZE(image) / 4);
  ASSERT_NE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr), 0) << image.message;
  EXPECT_EQ(read, ramp);
  fs::remove(folder / "ramp.png");

  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  EXPECT_THROW(WriteIconPng(icon, 15, folder / "short.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 16, folder / "missing" / "icon.png"), PngWriteError);
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace testcard
