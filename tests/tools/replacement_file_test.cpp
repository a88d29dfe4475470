// SPDX-License-Identifier: MIT
// The named temporary file the exporter falls back to where a file system
// has no unnamed files. render_cli_test.sh checks the output paths through
// the program; the end-to-end and browser tests compare every pixel of its
// PNGs with the screen.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "tools/replacement_file.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;

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
