// SPDX-License-Identifier: MIT
// The file the exporter writes, unnamed and with the named temporary it
// falls back to where a file system has no unnamed files. render_cli_test.sh
// checks the output paths through the program; the end-to-end and browser
// tests compare every pixel of its PNGs with the screen.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/replacement_file.hpp"

namespace testcard {
namespace {

namespace fs = std::filesystem;
using Naming = ReplacementFile::Naming;

// One export into an empty folder, in a child process: a signal arrives
// halfway through the writing (or none does), then the file is committed or
// abandoned, as when a later write fails. An ending signal and a failure
// leave the folder empty, no temporary either; a signal the caller had
// ignored (nohup's SIGHUP) stays ignored and the file is complete.
TEST(ReplacementFile, LeavesTheWholeFileOrNothing) {
  const struct Case {
    const char* what;
    int signal;  // 0: none
    bool ignored, commit;
    std::optional<int> endsBy;  // the signal that ends the child, if any
  } cases[] = {
      {"SIGINT", SIGINT, false, true, SIGINT},
      {"SIGTERM", SIGTERM, false, true, SIGTERM},
      {"SIGHUP", SIGHUP, false, true, SIGHUP},
      {"SIGHUP under nohup", SIGHUP, true, true, std::nullopt},
      {"a failed write", 0, false, false, std::nullopt},
      {"a complete file", 0, false, true, std::nullopt},
  };
  const fs::path folder =
      fs::temp_directory_path() / ("testcard-replacement-" + std::to_string(getpid()));
  for (const Naming naming : {Naming::kNamed, Naming::kUnnamedWherePossible}) {
    for (const Case& c : cases) {
      const std::string what = std::string(c.what) + (naming == Naming::kNamed ? ", named" : "");
      fs::remove_all(folder);
      fs::create_directories(folder);
      if (fork() == 0) {
        if (c.signal != 0) std::signal(c.signal, c.ignored ? SIG_IGN : SIG_DFL);
        {
          ReplacementFile file((folder / "t").string(), "t", naming);
          const bool half = write(file.Descriptor(), "who", 3) == 3;
          if (c.signal != 0) raise(c.signal);
          if (half && write(file.Descriptor(), "le", 2) == 2 && c.commit) file.Commit();
        }
        _exit(0);
      }
      int status = 0;
      wait(&status);
      if (c.endsBy) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == *c.endsBy) << what;
      } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << what;
      }
      const bool whole = !c.endsBy && c.commit;
      std::vector<fs::path> left;
      for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename());
      EXPECT_EQ(left, whole ? std::vector<fs::path>{"t"} : std::vector<fs::path>{}) << what;
      if (whole) {
        EXPECT_EQ(fs::file_size(folder / "t"), 5u) << what;
      }
    }
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace testcard
