// SPDX-License-Identifier: MIT
#pragma once

// What both programs' command lines share: how arguments and file names are
// shown in messages, how --help and --version are found and answered, and
// how a usage error is reported. Exit statuses are in exit_status.hpp.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace testcard {

// An argument quoted for a one-line message: control characters (DEL too)
// and bytes outside ASCII are shown as \xNN, so that no argument can break
// the line or send escape sequences to the terminal.
std::string QuoteArgument(std::string_view text);

// A message made safe to print as one line: control characters (a newline
// or escape in a file name, say) and DEL are shown as \xNN; everything
// else, UTF-8 included, is kept as it is.
std::string PrintableLine(std::string_view text);

// Why an argument the program does not take is refused: "unknown option
// '--x'" for what looks like an option, else "unexpected argument 'x'".
std::string RefusedArgument(std::string_view argument);

// What the arguments ask before anything else: help (--help or -h) wins
// over --version, and either is answered wherever it stands, even beside a
// mistake, but never when it is the value of an option: the argument after
// one of `valueOptions` (given without '=') is that option's value.
enum class InfoRequest { kNone, kHelp, kVersion };
InfoRequest FindInfoRequest(std::span<const std::string_view> arguments,
                            std::span<const std::string_view> valueOptions = {});

// The answer to --version: the program's name and the release it belongs
// to, for example "testcard 0.1.0", ending in a newline.
std::string VersionText(std::string_view program);

// Prints the answer to --help or --version on `out` and makes sure it got
// there. Returns kExitSuccess, or kExitFailure after saying on `err` why
// it could not be written (a full disk, a closed standard output).
int PrintAnswer(std::string_view program, std::string_view answer, std::ostream& out,
                std::ostream& err);

// Reports wrong arguments the way command-line tools do: "PROGRAM: REASON"
// and a pointer to --help on `err`, not the whole usage. Returns kExitUsage.
int ReportUsageError(std::string_view program, std::string_view reason, std::ostream& err);

}  // namespace testcard
