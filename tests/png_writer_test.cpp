// The PNG's pixels, and the named temporary file the exporter falls back
// to where a file system has no unnamed files. render_cli_test.sh checks
// the output paths through the program.

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

fs::path ScratchFolder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("testcard-png-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TEST(WritePngFile, WritesEveryPixelAsRgbBytes) {
  const fs::path file = ScratchFolder("pixels") / "out.png";
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
  ASSERT_EQ(image.width, 7u);
  ASSERT_EQ(image.height, 3u);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(rtcRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]), canvas.Pixel(i % 7, i / 7)) << i;
  }
  fs::remove_all(file.parent_path());
}

// A signal that ends the program mid-write leaves nothing; a commit puts
// the whole file in place.
TEST(ReplacementFile, NamedTemporaryGoesWithAnEndingSignalOrBecomesTheTarget) {
  const fs::path folder = ScratchFolder("named");
  const std::string target = (folder / "t.png").string();
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, 0}) {
    const pid_t child = fork();
    if (child == 0) {
      std::signal(signal, SIG_DFL);
      ReplacementFile file(target, "t.png", ReplacementFile::Naming::kNamed);
      if (write(file.Descriptor(), "whole", 5) != 5) _exit(3);
      if (signal == 0) file.Commit();
      raise(signal);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(signal == 0 ? WIFEXITED(status) && WEXITSTATUS(status) == 0
                          : WIFSIGNALED(status) && WTERMSIG(status) == signal,
              true)
        << signal << ": " << status;
    const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    EXPECT_EQ(files, signal == 0 ? 1 : 0) << signal;
  }
  EXPECT_EQ(fs::file_size(target), 5u);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace testcard
