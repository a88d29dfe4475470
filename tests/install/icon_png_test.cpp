#include "tools/icon_png.hpp"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/png_writer.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<IconPixel> pixels;
};

// Reads a PNG of any kind as 8-bit RGBA pixels in the icon's layout.
::testing::AssertionResult ReadPng(const fs::path& file, Picture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
    return ::testing::AssertionFailure() << "cannot read " << file << ": " << image.message;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr) == 0) {
    return ::testing::AssertionFailure() << "cannot decode " << file << ": " << image.message;
  }
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.clear();
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    picture.pixels.push_back(IconPixel{bytes[i]} | IconPixel{bytes[i + 1]} << 8 |
                             IconPixel{bytes[i + 2]} << 16 | IconPixel{bytes[i + 3]} << 24);
  }
  return ::testing::AssertionSuccess();
}

std::string Hex(IconPixel pixel) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(pixel));
  return std::string(text) + " (AABBGGRR)";
}

// Compares pixel by pixel and names the first difference, with alpha.
::testing::AssertionResult SameIcon(const Picture& actual, const std::vector<IconPixel>& expected,
                                    int size) {
  if (actual.width != size || actual.height != size) {
    return ::testing::AssertionFailure() << "the PNG is " << actual.width << " x " << actual.height
                                         << ", not " << size << " x " << size;
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (actual.pixels[i] != expected[i]) {
      return ::testing::AssertionFailure()
             << "pixel (" << i % size << ", " << i / size << ") is " << Hex(actual.pixels[i])
             << ", expected " << Hex(expected[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "icon-png-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TEST(IconPng, KeepsEveryPixelAndItsAlpha) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  // Every byte of every pixel different, and alpha other than 0 and 255, so
  // that swapped channels or a lost or premultiplied alpha show.
  std::vector<IconPixel> ramp(8 * 8);
  for (std::size_t i = 0; i < ramp.size(); ++i) {
    const auto v = static_cast<IconPixel>(i);
    ramp[i] = (v * 4) | (255 - v * 3) << 8 | (v * 2 + 7) << 16 | (v * 4 + 1) << 24;
  }
  const struct {
    int size;
    std::vector<IconPixel> pixels;
  } cases[] = {{8, ramp}, {16, DrawWindowIcon(16)}, {kMaxIconSize, DrawWindowIcon(kMaxIconSize)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const fs::path file = folder.Path() / ("icon-" + std::to_string(c.size) + ".png");
    WriteIconPng(c.pixels, c.size, file);
    Picture read;
    ASSERT_TRUE(ReadPng(file, read));
    EXPECT_TRUE(SameIcon(read, c.pixels, c.size));
  }
}

TEST(IconPng, RefusesWhatItCannotWriteAndLeavesNoFile) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  const std::vector<IconPixel> icon = DrawWindowIcon(16);
  EXPECT_THROW(WriteIconPng(icon, 15, folder.Path() / "short.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 0, folder.Path() / "empty.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 16, folder.Path() / "missing" / "icon.png"), PngWriteError);
  EXPECT_THROW(WriteIconPng(icon, 16, folder.Path()), PngWriteError);
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

// The icons `cmake --install` put in the staging folder (see CMakeLists.txt).
TEST(InstalledIcons, EachIsTheWindowIconDrawnAtItsSizeWithTransparency) {
  for (const int size : {TESTCARD_ICON_SIZES}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    SCOPED_TRACE(folder);
    Picture installed;
    ASSERT_TRUE(ReadPng(fs::path(TESTCARD_STAGED_ICONS) / folder / "apps/testcard.png", installed))
        << "run through ctest, which installs into the staging folder first";
    EXPECT_TRUE(SameIcon(installed, DrawWindowIcon(size), size));
  }
}

}  // namespace
}  // namespace testcard
