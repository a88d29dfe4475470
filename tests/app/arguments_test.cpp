// testcard's arguments. The install test runs --help, -h, --version and
// unknown options on the installed program; here what it does not run.

#include "app/arguments.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace testcard {
namespace {

TEST(Arguments, NoneRunHelpAndVersionWinAnythingElseIsRefusedWithTheUsage) {
  const std::string usage = AppUsage();
  const std::string version = std::string("testcard ") + TESTCARD_EXPECTED_VERSION + "\n";
  const struct {
    std::vector<std::string_view> arguments;
    std::optional<int> status;
    std::string out, err;
  } cases[] = {
      {{}, std::nullopt, "", ""},
      {{"--version"}, 0, version, ""},
      // Either answers even beside a mistake, and help comes first.
      {{"--fullscreen", "--help"}, 0, usage, ""},
      {{"--version", "extra"}, 0, version, ""},
      {{"--version", "-h"}, 0, usage, ""},
      {{"--version=1"}, kExitUsage, "", "testcard: unknown option '--version=1'\n\n" + usage},
      {{"-"}, kExitUsage, "", "testcard: unexpected argument '-'\n\n" + usage},
      {{"grid", "--fullscreen"},
       kExitUsage,
       "",
       "testcard: unexpected argument 'grid'\n\n" + usage},
      {{"a\nb\x1b[2J"},
       kExitUsage,
       "",
       "testcard: unexpected argument 'a\\x0ab\\x1b[2J'\n\n" + usage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "no arguments" : std::string(c.arguments.front()));
    std::ostringstream out, err;
    EXPECT_EQ(AnswerArguments(c.arguments, out, err), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_TRUE(usage.starts_with("Usage: testcard [--help | --version]\n")) << usage;
}

}  // namespace
}  // namespace testcard
