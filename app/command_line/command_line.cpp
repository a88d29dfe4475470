// SPDX-License-Identifier: MIT
#include "app/command_line/command_line.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/command_line/exit_status.hpp"

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

InfoRequest FindInfoRequest(std::span<const std::string_view> arguments,
                            std::span<const std::string_view> valueOptions) {
  InfoRequest found = InfoRequest::kNone;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") return InfoRequest::kHelp;
    if (argument == "--version") found = InfoRequest::kVersion;
    if (std::find(valueOptions.begin(), valueOptions.end(), argument) != valueOptions.end()) {
      ++i;  // its value, whatever it looks like
    }
  }
  return found;
}

std::string VersionText(std::string_view program) {
  // TESTCARD_VERSION comes from the project's version in CMakeLists.txt.
  return std::string(program) + " " + TESTCARD_VERSION + "\n";
}

int PrintAnswer(std::string_view program, std::string_view answer, std::ostream& out,
                std::ostream& err) {
  errno = 0;
  out << answer;
  out.flush();
  if (out) return kExitSuccess;
  const int reason = errno;
  err << program << ": cannot write to standard output: "
      << (reason != 0 ? std::strerror(reason) : "write error") << "\n";
  return kExitFailure;
}

int ReportUsageError(std::string_view program, std::string_view reason, std::ostream& err) {
  err << program << ": " << reason << "\nTry '" << program << " --help' for more information.\n";
  return kExitUsage;
}

}  // namespace testcard
