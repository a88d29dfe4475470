// The exporter's argument parsing. What a user sees (exit codes, messages,
// usage, files left behind) is checked by render_cli_test.sh and the install
// test; here the cases they do not run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/render_options.hpp"

namespace testcard {
namespace {

using Arguments = std::vector<std::string_view>;

TEST(RenderOptions, AcceptsEachPatternSizeAndOutputForm) {
  const struct {
    Arguments arguments;
    Pattern pattern;
    int width, height;
    std::string output;
  } cases[] = {
      {{"--output", "-", "--size", "1x1", "--pattern", "cross"}, Pattern::kCross, 1, 1, "-"},
      {{"--pattern=colour", "--size=32767x32767", "--output=a b.png"},
       Pattern::kColour,
       32767,
       32767,
       "a b.png"},
      {{"--pattern", "color", "--size", "1921X1081", "--output", "c.png"},
       Pattern::kColour,
       1921,
       1081,
       "c.png"},
  };
  for (const auto& c : cases) {
    const RenderCommand command = ParseRenderArguments(c.arguments);
    ASSERT_TRUE(std::holds_alternative<RenderRequest>(command))
        << std::get<UsageError>(command).reason;
    const auto& request = std::get<RenderRequest>(command);
    EXPECT_EQ(request.pattern, c.pattern);
    EXPECT_EQ(request.width, c.width);
    EXPECT_EQ(request.height, c.height);
    EXPECT_EQ(request.output, c.output);
  }
}

TEST(RenderOptions, HelpAndVersionAnswerWhateverElseIsGiven) {
  // (Each alone is run by the install test.)
  for (const Arguments& arguments :
       {Arguments{"--size", "junk", "--help"}, Arguments{"--version", "-h"}}) {
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(ParseRenderArguments(arguments)));
  }
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(
      ParseRenderArguments(Arguments{"--pattern", "plaid", "--version"})));
}

TEST(RenderOptions, RefusesBadArgumentsWithAOneLineReason) {
  const Arguments good = {"--pattern", "grid", "--size", "640x480", "--output", "o.png"};
  auto with = [&](std::size_t index, std::string_view value) {
    auto arguments = good;
    arguments[index] = value;
    return arguments;
  };
  const struct {
    Arguments arguments;
    std::string reason;  // a part of the reason that must appear
  } cases[] = {
      {with(3, "640x"), "not WIDTHxHEIGHT"},
      {with(3, "x480"), "not WIDTHxHEIGHT"},
      {with(3, "640x480x2"), "not WIDTHxHEIGHT"},
      {with(3, "640x-480"), "not WIDTHxHEIGHT"},
      {with(3, "+640x480"), "not WIDTHxHEIGHT"},
      {with(3, "64.5x480"), "not WIDTHxHEIGHT"},
      {with(3, " 640x480"), "not WIDTHxHEIGHT"},
      {with(3, "99999999999999999999x480"), "not WIDTHxHEIGHT"},
      {with(3, "640x0"), "1 to 32767"},
      {with(3, "640x32768"), "1 to 32767"},
      {with(1, "checkerboard"), "unknown pattern 'checkerboard' (choose grid, cross or colour)"},
      {with(1, "Grid"), "unknown pattern"},
      {with(0, "--patern"), "unknown option '--patern'"},
      {with(5, ""), "--output needs a file name"},
      {{"--pattern", "grid", "--size", "640x480"}, "missing --output"},
      {{"--pattern", "grid", "--pattern", "cross", "--size", "1x1", "--output", "o"},
       "--pattern is given more than once"},
      {{"--pattern", "grid", "--size", "640x480", "--output", "o.png", "extra"},
       "unexpected argument 'extra'"},
      {{"a\nb\x1b[2J"}, "unexpected argument 'a\\x0ab\\x1b[2J'"},
      {with(1,
            "gr\xc3\xa9"
            "d"),
       "unknown pattern 'gr\\xc3\\xa9d'"},
  };
  for (const auto& c : cases) {
    const RenderCommand command = ParseRenderArguments(c.arguments);
    ASSERT_TRUE(std::holds_alternative<UsageError>(command)) << c.reason;
    const std::string& reason = std::get<UsageError>(command).reason;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos) << "one line: " << reason;
  }
}

}  // namespace
}  // namespace testcard
