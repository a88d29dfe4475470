#pragma once

#include <span>
#include <string>
#include <string_view>

namespace testcard {

// An argument quoted for a one-line message: control characters and bytes
// outside ASCII are shown as \xNN, so that no argument can break the line
// or send escape sequences to the terminal.
std::string QuoteArgument(std::string_view text);

// A message made safe to print as one line: control characters (a newline
// or escape in a file name, say) are shown as \xNN; everything else,
// UTF-8 included, is kept as it is.
std::string PrintableLine(std::string_view text);

// Why an argument the program does not take is refused: "unknown option
// '--x'" for what looks like an option, else "unexpected argument 'x'".
std::string RefusedArgument(std::string_view argument);

// What the arguments ask before anything else: help (--help or -h) wins
// over --version, and either is answered wherever it stands, even beside a
// mistake.
enum class InfoRequest { kNone, kHelp, kVersion };
InfoRequest FindInfoRequest(std::span<const std::string_view> arguments);

// The answer to --version: the program's name and the release it belongs
// to, for example "testcard 0.1.0", ending in a newline.
std::string VersionText(std::string_view program);

}  // namespace testcard
