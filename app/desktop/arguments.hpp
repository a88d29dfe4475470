// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "app/command_line/exit_status.hpp"

namespace testcard {

// Handles testcard's command line, the arguments after the program name.
// testcard shows its patterns only when started without arguments; it
// answers --help (or -h) and --version, and refuses anything else, so that
// a typo never fills the screen.
//
// Returns the exit status when testcard is to end here: kExitSuccess after
// the usage or the version on `out` (kExitFailure if it could not be
// written), kExitUsage after the reason and a pointer to --help on `err`.
// Returns nothing when testcard is to run.
std::optional<int> AnswerArguments(std::span<const std::string_view> arguments, std::ostream& out,
                                   std::ostream& err);

// The usage text, ending in a newline.
std::string AppUsage();

}  // namespace testcard
