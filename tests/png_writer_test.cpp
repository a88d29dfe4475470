#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "surface/colour.hpp"
#include "tools/png_writer.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

// A fresh, empty folder for one test.
fs::path ScratchFolder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("testcard-png-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    files.push_back(entry.path());
  return files;
}

// Decodes a PNG file with libpng's simplified API into RGB bytes.
std::vector<unsigned char> ReadRgb(const fs::path& file, png_uint_32& width, png_uint_32& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_file(&image, file.c_str())) << image.message;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
  width = image.width;
  height = image.height;
  return pixels;
}

TEST(WritePngFile, WritesEveryPixelAsRgbBytes) {
  const fs::path folder = ScratchFolder("roundtrip");
  Canvas canvas(7, 3, rtcRgb(1, 2, 3));
  canvas.Line(0, 1, 7, 1, rtcRgb(255, 0, 0));
  canvas.Line(6, 0, 6, 3, rtcRgb(0, 128, 255));
  WritePngFile(canvas, folder / "out.png");
  ASSERT_EQ(FilesIn(folder), std::vector<fs::path>{folder / "out.png"}) << "no temporary left";

  png_uint_32 width = 0, height = 0;
  const std::vector<unsigned char> rgb = ReadRgb(folder / "out.png", width, height);
  ASSERT_EQ(width, 7u);
  ASSERT_EQ(height, 3u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) {
      const unsigned char* p = &rgb[(y * 7 + x) * 3];
      EXPECT_EQ(rtcRgb(p[0], p[1], p[2]), canvas.Pixel(x, y)) << "(" << x << ", " << y << ")";
    }
  }
  struct stat info {};
  ASSERT_EQ(stat((folder / "out.png").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IRGRP, 0u) << "a normal file, not a private temporary";
  fs::remove_all(folder);
}

TEST(WritePngFile, FailuresLeaveNoFileBehindAndKeepAnOldOne) {
  const fs::path folder = ScratchFolder("failures");
  const Canvas canvas(16, 16, rtcRgb(9, 9, 9));
  std::ofstream(folder / "not-a-folder") << "x";
  const fs::path targets[] = {
      folder / "missing" / "out.png", folder / "not-a-folder" / "out.png",
      folder,  // a folder
  };
  for (const fs::path& target : targets) {
    SCOPED_TRACE(target);
    EXPECT_THROW(WritePngFile(canvas, target), PngWriteError);
  }
  EXPECT_EQ(FilesIn(folder), std::vector<fs::path>{folder / "not-a-folder"});

  // An empty canvas cannot be a PNG; the existing file stays as it was.
  std::ofstream(folder / "keep.png") << "old";
  EXPECT_THROW(WritePngFile(Canvas(0, 0), folder / "keep.png"), PngWriteError);
  std::ifstream kept(folder / "keep.png");
  std::string content;
  kept >> content;
  EXPECT_EQ(content, "old");
  EXPECT_EQ(FilesIn(folder).size(), 2u);
  fs::remove_all(folder);
  // A device is written directly (render_cli_test.sh checks the message).
  EXPECT_THROW(WritePngFile(Canvas(64, 64), "/dev/full"), PngWriteError);
}

}  // namespace
}  // namespace testcard
