// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "patterns/patterns.hpp"

namespace testcard {

// What testcard-render was asked to do, parsed from its arguments.
struct RenderRequest {
  Pattern pattern = Pattern::kGrid;
  int width = 0;
  int height = 0;
  std::string output;  // a file name, or "-" for standard output
};
struct HelpRequest {};
struct VersionRequest {};
// The arguments are wrong; `reason` is one line saying how.
struct UsageError {
  std::string reason;
};

using RenderCommand = std::variant<RenderRequest, HelpRequest, VersionRequest, UsageError>;

// Largest width or height accepted: the patterns' 16-bit arithmetic ends there.
inline constexpr int kMaxRenderSide = 32767;

// Parses the arguments after the program name. Options take their value as
// the next argument or after '=' (--size=800x600). --pattern, --size and
// --output are required, each once. --help wins over everything else, and
// --version over everything but --help, so that either answers even after a
// mistyped option; an option's value is never taken for one (--output -h
// names a file).
RenderCommand ParseRenderArguments(std::span<const std::string_view> arguments);

// The usage text, ending in a newline.
std::string RenderUsage();

}  // namespace testcard
