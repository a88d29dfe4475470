// SPDX-License-Identifier: MIT
// testcard's arguments; render_cli_test.sh runs the program with failing
// output and control characters.

#include "app/arguments.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace testcard {
namespace {

using Arguments = std::vector<std::string_view>;

TEST(Arguments, NoneRunHelpAndVersionWinAnythingElseIsRefused) {
  std::ostringstream out, err;
  EXPECT_EQ(AnswerArguments(Arguments{}, out, err), std::nullopt);
  EXPECT_EQ(AnswerArguments(Arguments{"--fullscreen", "--help"}, out, err), kExitSuccess);
  EXPECT_EQ(AnswerArguments(Arguments{"--version", "extra"}, out, err), kExitSuccess);
  EXPECT_EQ(AnswerArguments(Arguments{"--version", "-h"}, out, err), kExitSuccess);
  EXPECT_EQ(out.str(), AppUsage() + "testcard " + TESTCARD_EXPECTED_VERSION + "\n" + AppUsage());
  EXPECT_EQ(AnswerArguments(Arguments{"--version=1", "-"}, out, err), kExitUsage);
  EXPECT_EQ(err.str(),
            "testcard: unknown option '--version=1'\n"
            "Try 'testcard --help' for more information.\n");
}

}  // namespace
}  // namespace testcard
