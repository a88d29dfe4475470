// The exporter's argument parsing; render_cli_test.sh runs the program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/render_options.hpp"

namespace testcard {
namespace {

using Arguments = std::vector<std::string_view>;

TEST(RenderOptions, AcceptsEachFormAndNeverTakesAValueForAnOption) {
  const struct {
    Arguments arguments;
    Pattern pattern;
    int width, height;
    std::string output;
  } cases[] = {
      {{"--output", "-", "--size", "1x1", "--pattern", "cross"}, Pattern::kCross, 1, 1, "-"},
      {{"--pattern=colour", "--size=32767x32767", "--output=a b"},
       Pattern::kColour,
       32767,
       32767,
       "a b"},
      {{"--pattern", "color", "--size", "1921X1081", "--output", "-h"},
       Pattern::kColour,
       1921,
       1081,
       "-h"},
      {{"--output", "--help", "--size", "2x3", "--pattern", "grid"},
       Pattern::kGrid,
       2,
       3,
       "--help"},
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
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(
      ParseRenderArguments(Arguments{"--size", "junk", "--version", "-h"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(
      ParseRenderArguments(Arguments{"--pattern", "plaid", "--version", "--output", "-h"})));
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
      {with(3, "640"), "not WIDTHxHEIGHT"},
      {with(3, "x480"), "not WIDTHxHEIGHT"},
      {with(3, "640x480x2"), "not WIDTHxHEIGHT"},
      {with(3, "+640x480"), "not WIDTHxHEIGHT"},
      {with(3, "99999999999999999999x480"), "not WIDTHxHEIGHT"},
      {with(3, "0x480"), "1 to 32767"},
      {with(3, "640x32768"), "1 to 32767"},
      {with(1, "Grid"), "unknown pattern 'Grid' (choose grid, cross or colour)"},
      {with(0, "--patern"), "unknown option '--patern'"},
      {with(5, ""), "--output needs a file name"},
      {{"--pattern", "grid", "--size", "640x480", "--output"}, "--output needs a value"},
      {{"--pattern", "grid", "--size", "640x480"}, "missing --output"},
      {{"--size", "1x1", "--output", "o"}, "missing --pattern"},
      {{"--pattern", "grid", "--pattern", "cross", "--size", "1x1", "--output", "o"},
       "--pattern is given more than once"},
      {{"a\nb\x1b[2J\x7f\xc3\xa9"}, "unexpected argument 'a\\x0ab\\x1b[2J\\x7f\\xc3\\xa9'"},
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
