// SPDX-License-Identifier: MIT
// The PNG's pixels, and the named temporary file the exporter falls back to
// where a file system has no unnamed files. render_cli_test.sh checks the
// output paths through the program.

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <vector>

#include "surface/colour.hpp"
#include "tools/png_writer.hpp"
#include "tools/replacement_file.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

TEST(WritePngFile, WritesEveryPixelAsRgbBytes) {
  const fs::path file = fs::temp_directory_path() / ("testcard-" + std::to_string(getpid()));
  Canvas canvas(7, 3, rtcRgb(1, 2, 3));
  canvas.Line(0, 1, 7, 1, rtcRgb(255, 0, 0));
  canvas.Line(6, 0, 6, 3, rtcRgb(0, 128, 255));
  WritePngFile(canvas, file);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str())) << image.message;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
  ASSERT_EQ(image.width * 10 + image.height, 73u);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(rtcRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]), canvas.Pixel(i % 7, i / 7)) << i;
  }
  fs::remove(file);
}

// Each signal that ends the program mid-write takes the file with it; a
// commit (signal 0: none) puts the whole file in place.
TEST(ReplacementFile, NamedTemporaryGoesWithAnEndingSignalOrBecomesTheTarget) {
  const fs::path folder =
      fs::temp_directory_path() / ("testcard-named-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, 0}) {
    if (fork() == 0) {
      std::signal(signal, SIG_DFL);
      ReplacementFile file((folder / "t").string(), "t", ReplacementFile::Naming::kNamed);
      if (write(file.Descriptor(), "whole", 5) == 5 && signal == 0) file.Commit();
      raise(signal);
      _exit(0);
    }
    int status = 0;
    wait(&status);
    EXPECT_EQ(signal == 0 ? WIFEXITED(status) : WTERMSIG(status) == signal, true) << signal;
    const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    EXPECT_EQ(files, signal == 0 ? 1 : 0) << signal;
  }
  EXPECT_EQ(fs::file_size(folder / "t"), 5u);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace testcard
