// SPDX-License-Identifier: MIT
// testcard: fills the primary screen with monitor test patterns. It starts on
// the grid; each key that types a character steps to the cross, then to the
// colour pattern, and one more key ends it.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/desktop/arguments.hpp"
#include "app/desktop/desktop_window.hpp"
#include "app/desktop/program.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (const std::optional<int> status =
          testcard::AnswerArguments(arguments, std::cout, std::cerr)) {
    return *status;
  }
  testcard::ProgramEnd end = testcard::RunProgram(testcard::OpenDesktopWindow, std::cerr);
  // The end of the program ends the process at once, the window with it, as
  // the window system cleans up after a client that is gone. Closing it the
  // long way would only give SDL a chance to report, as exit status 1, a
  // late error about a window already destroyed.
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(end.status);
}
