#include "app/arguments.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace testcard {
namespace {

struct Answer {
  std::optional<int> status;
  std::string out;
  std::string err;
};

Answer Answering(std::vector<std::string_view> arguments) {
  std::ostringstream out;
  std::ostringstream err;
  const std::optional<int> status = AnswerArguments(arguments, out, err);
  return {status, out.str(), err.str()};
}

TEST(Arguments, WithoutArgumentsTestcardRunsAndSaysNothing) {
  const Answer answer = Answering({});
  EXPECT_FALSE(answer.status.has_value());
  EXPECT_EQ(answer.out, "");
  EXPECT_EQ(answer.err, "");
}

TEST(Arguments, HelpAndVersionAnswerOnStandardOutputAndEndWithZero) {
  const std::string usage = AppUsage();
  const std::string version = std::string("testcard ") + TESTCARD_EXPECTED_VERSION + "\n";
  const struct {
    std::vector<std::string_view> arguments;
    std::string out;
  } cases[] = {
      {{"--help"}, usage},
      {{"-h"}, usage},
      {{"--version"}, version},
      // Either answers even beside a mistake, and help comes first.
      {{"--fullscreen", "--help"}, usage},
      {{"--version", "extra"}, version},
      {{"--version", "-h"}, usage},
  };
  for (const auto& c : cases) {
    const Answer answer = Answering(c.arguments);
    SCOPED_TRACE(std::string(c.arguments.front()));
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.out, c.out);
    EXPECT_EQ(answer.err, "");
  }
  EXPECT_TRUE(usage.starts_with("Usage: testcard [--help | --version]\n")) << usage;
}

TEST(Arguments, AnythingElseIsRefusedWithTheReasonAndTheUsage) {
  const struct {
    std::vector<std::string_view> arguments;
    std::string firstLine;
  } cases[] = {
      {{"--fullscreen"}, "testcard: unknown option '--fullscreen'"},
      {{"--Help"}, "testcard: unknown option '--Help'"},
      {{"--version=1"}, "testcard: unknown option '--version=1'"},
      {{"-"}, "testcard: unexpected argument '-'"},
      {{"grid", "--fullscreen"}, "testcard: unexpected argument 'grid'"},
      {{""}, "testcard: unexpected argument ''"},
      {{"a\nb\x1b[2J"}, "testcard: unexpected argument 'a\\x0ab\\x1b[2J'"},
  };
  for (const auto& c : cases) {
    const Answer answer = Answering(c.arguments);
    SCOPED_TRACE(c.firstLine);
    EXPECT_EQ(answer.status, kExitUsage);
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, c.firstLine + "\n\n" + AppUsage());
  }
}

}  // namespace
}  // namespace testcard
