// testcard's arguments; render_cli_test.sh runs the same on the program.

#include "app/arguments.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace testcard {
namespace {

TEST(Arguments, NoneRunHelpAndVersionWinAnythingElseIsRefused) {
  const std::string usage = AppUsage();
  const std::string version = std::string("testcard ") + TESTCARD_EXPECTED_VERSION + "\n";
  const std::string tryHelp = "\nTry 'testcard --help' for more information.\n";
  const struct {
    std::vector<std::string_view> arguments;
    std::optional<int> status;
    std::string out, err;
    bool outFails = false;
  } cases[] = {
      {{}, std::nullopt, "", ""},
      {{"--fullscreen", "--help"}, kExitSuccess, usage, ""},
      {{"--version", "extra"}, kExitSuccess, version, ""},
      {{"--version", "-h"}, kExitSuccess, usage, ""},
      {{"--help"},
       kExitFailure,
       "",
       "testcard: cannot write to standard output: write error\n",
       true},
      {{"--version=1"}, kExitUsage, "", "testcard: unknown option '--version=1'" + tryHelp},
      {{"-", "--x"}, kExitUsage, "", "testcard: unexpected argument '-'" + tryHelp},
      {{"a\nb\x1b[2J\x7f"},
       kExitUsage,
       "",
       "testcard: unexpected argument 'a\\x0ab\\x1b[2J\\x7f'" + tryHelp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "no arguments" : std::string(c.arguments.front()));
    std::ostringstream out, err;
    if (c.outFails) out.setstate(std::ios::badbit);
    EXPECT_EQ(AnswerArguments(c.arguments, out, err), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_TRUE(usage.starts_with("Usage: testcard [--help | --version]\n")) << usage;
}

}  // namespace
}  // namespace testcard
