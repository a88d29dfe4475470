// SPDX-License-Identifier: MIT
#include "app/desktop/arguments.hpp"

#include "app/command_line/command_line.hpp"

namespace testcard {

std::optional<int> AnswerArguments(std::span<const std::string_view> arguments, std::ostream& out,
                                   std::ostream& err) {
  if (arguments.empty()) return std::nullopt;
  switch (FindInfoRequest(arguments)) {
    case InfoRequest::kHelp:
      return PrintAnswer("testcard", AppUsage(), out, err);
    case InfoRequest::kVersion:
      return PrintAnswer("testcard", VersionText("testcard"), out, err);
    case InfoRequest::kNone:
      break;
  }
  return ReportUsageError("testcard", RefusedArgument(arguments.front()), err);
}

std::string AppUsage() {
  return "Usage: testcard [--help | --version]\n"
         "\n"
         "Fills the primary screen with monitor test patterns, pixel for pixel at the\n"
         "screen's native resolution: a grid, a cross and a colour pattern. testcard\n"
         "takes no arguments.\n"
         "\n"
         "Any key that types a character (a letter, digit, space, Enter, Escape, ...)\n"
         "steps to the next pattern; the key after the colour pattern ends testcard,\n"
         "and so does closing the window (Alt+F4).\n"
         "\n"
         "  --help      show this text\n"
         "  --version   show the version\n"
         "\n"
         "Exit status: 0 ended by a key or by closing the window, 1 no window could be\n"
         "opened or a run-time error, 2 bad arguments.\n"
         "\n"
         "testcard-render draws the same patterns as PNG files; see testcard-render --help.\n";
}

}  // namespace testcard
