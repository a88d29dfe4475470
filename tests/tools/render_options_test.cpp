// SPDX-License-Identifier: MIT
// The exporter's argument parsing; render_cli_test.sh runs the program.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/render_options.hpp"

namespace testcard {
namespace {

// What the arguments, separated by spaces, parse to: "pattern WxH output",
// "help", "version", or the usage error's reason.
std::string Parsed(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; std::getline(in, word, ' ');)
    words.push_back(word);
  const std::vector<std::string_view> arguments(words.begin(), words.end());
  const RenderCommand command = ParseRenderArguments(arguments);
  if (std::holds_alternative<HelpRequest>(command)) return "help";
  if (std::holds_alternative<VersionRequest>(command)) return "version";
  if (const auto* error = std::get_if<UsageError>(&command)) return error->reason;
  const auto& request = std::get<RenderRequest>(command);
  return std::to_string(static_cast<int>(request.pattern)) + " " + std::to_string(request.width) +
         "x" + std::to_string(request.height) + " " + request.output;
}

TEST(RenderOptions, ParsesEachFormAndRefusesWithAOneLineReason) {
  const std::string ok = "--pattern grid --size 640x480 --output o.png ";
  const struct {
    std::string arguments, parsed;  // parsed: the reason's start, for a refusal
  } cases[] = {
      {"--output - --size 1x1 --pattern cross", "2 1x1 -"},
      {"--pattern=colour --size=32767x32767 --output=a=b", "3 32767x32767 a=b"},
      {"--pattern color --size 1921X1081 --output -h", "3 1921x1081 -h"},
      {"--output --help --size 2x3 --pattern grid", "1 2x3 --help"},
      {"--size junk --version -h", "help"},
      {"--pattern plaid --version --output -h", "version"},
      {"--pattern grid --size 640 --output o", "--size '640' is not WIDTHxHEIGHT"},
      {"--pattern grid --size +640x48 --output o", "--size '+640x48' is not WIDTHxHEIGHT in"},
      {"--pattern grid --size 99999999999x480 --output o", "--size '99999999999x480' is not"},
      {"--pattern grid --size 0x480 --output o", "--size '0x480': width and height must each be 1"},
      {"--pattern grid --size 640x32768 --output o", "--size '640x32768': width and height"},
      {"--pattern grid --size 32768x640 --output o", "--size '32768x640': width and height"},
      {"--pattern Grid --size 1x1 --output o", "unknown pattern 'Grid' (choose grid, cross or"},
      {"--patern grid --size 1x1 --output o", "unknown option '--patern'"},
      {"--pattern grid --size 1x1 --output=", "--output needs a file name, or - for standard"},
      {"--pattern grid --size 1x1 --output", "--output needs a value"},
      {"--size 1x1 --output o", "missing --pattern"},
      {"--pattern grid --size 1x1", "missing --output"},
      {ok + "--pattern cross", "--pattern is given more than once"},
      {ok + "a\nb\x1b[2J\x7f\xc3\xa9", "unexpected argument 'a\\x0ab\\x1b[2J\\x7f\\xc3\\xa9'"},
  };
  for (const auto& c : cases) {
    const std::string parsed = Parsed(c.arguments);
    EXPECT_TRUE(parsed.starts_with(c.parsed)) << c.arguments << " gave: " << parsed;
    EXPECT_EQ(parsed.find('\n'), std::string::npos) << parsed;
  }
}

}  // namespace
}  // namespace testcard
