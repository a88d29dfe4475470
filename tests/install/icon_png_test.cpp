#include "tools/icon_png.hpp"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/png_writer.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

// Reads a PNG of any kind as size x size 8-bit RGBA pixels in the icon's
// layout; fails on any other size.
::testing::AssertionResult ReadIcon(const fs::path& file, int size,
                                    std::vector<IconPixel>& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
    return ::testing::AssertionFailure() << "cannot read " << file << ": " << image.message;
  }
  image.format = PNG_FORMAT_RGBA;
  pixels.assign(PNG_IMAGE_SIZE(image) / 4, 0);
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
    return ::testing::AssertionFailure() << "cannot decode " << file << ": " << image.message;
  }
  if (image.width != unsigned(size) || image.height != unsigned(size)) {
    return ::testing::AssertionFailure() << file << " is " << image.width << " x " << image.height;
  }
  // The bytes R, G, B, A as the icon's 0xAABBGGRR, on a little-endian machine.
  static_assert(std::endian::native == std::endian::little);
  return ::testing::AssertionSuccess();
}

// The index of the first pixel that differs, or -1.
long FirstDifference(const std::vector<IconPixel>& actual, const std::vector<IconPixel>& expected) {
  if (actual.size() != expected.size()) return 0;
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin());
  return a == actual.end() ? -1 : a - actual.begin();
}

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
  std::vector<IconPixel> read;
  ASSERT_TRUE(ReadIcon(folder / "ramp.png", 8, read));
  EXPECT_EQ(FirstDifference(read, ramp), -1);
  fs::remove(folder / "ramp.png");

  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  EXPECT_THROW(WriteIconPng(icon, 15, folder / "short.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 0, folder / "empty.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 16, folder / "missing" / "icon.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 16, folder), PngWriteError);
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}

// The icons `cmake --install` put in the staging folder (see CMakeLists.txt).
TEST(InstalledIcons, EachIsTheWindowIconDrawnAtItsSizeWithTransparency) {
  for (const int size : {TESTCARD_ICON_SIZES}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    SCOPED_TRACE(folder);
    std::vector<IconPixel> installed;
    ASSERT_TRUE(
        ReadIcon(fs::path(TESTCARD_STAGED_ICONS) / folder / "apps/testcard.png", size, installed))
        << "run through ctest, which installs into the staging folder first";
    const long first = FirstDifference(installed, DrawWindowIcon(size));
    EXPECT_EQ(first, -1) << "first difference at (" << first % size << ", " << first / size << ")";
  }
}

}  // namespace
}  // namespace testcard
