#include "tools/command_line.hpp"

#include <algorithm>

namespace testcard {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  const char digits[] = "0123456789abcdef";
  out.append("\\x").push_back(digits[byte >> 4]);
  out.push_back(digits[byte & 0xF]);
}

}  // namespace

std::string QuoteArgument(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) {
      AppendEscaped(quoted, byte);
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

std::string PrintableLine(std::string_view text) {
  std::string line;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      AppendEscaped(line, byte);
    } else {
      line.push_back(c);
    }
  }
  return line;
}

std::string RefusedArgument(std::string_view argument) {
  const bool option = argument.starts_with("-") && argument != "-";
  return (option ? "unknown option " : "unexpected argument ") + QuoteArgument(argument);
}

InfoRequest FindInfoRequest(std::span<const std::string_view> arguments) {
  const auto given = [&](std::string_view option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  if (given("--help") || given("-h")) return InfoRequest::kHelp;
  if (given("--version")) return InfoRequest::kVersion;
  return InfoRequest::kNone;
}

std::string VersionText(std::string_view program) {
  // TESTCARD_VERSION comes from the project's version in CMakeLists.txt.
  return std::string(program) + " " + TESTCARD_VERSION + "\n";
}

}  // namespace testcard
