// SPDX-License-Identifier: MIT
#include "tools/render_options.hpp"

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/command_line/command_line.hpp"

namespace testcard {
namespace {

std::optional<Pattern> ParsePattern(std::string_view name) {
  if (name == "grid") return Pattern::kGrid;
  if (name == "cross") return Pattern::kCross;
  if (name == "colour" || name == "color") return Pattern::kColour;
  return std::nullopt;
}

// One side of WIDTHxHEIGHT: plain decimal digits, 1 to kMaxRenderSide.
std::optional<int> ParseSide(std::string_view text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Fills `request` from --size's value, or says what is wrong with it.
std::optional<std::string> ParseSize(std::string_view text, RenderRequest& request) {
  const std::size_t cross = text.find_first_of("xX");
  const std::string quoted = QuoteArgument(text);
  if (cross == std::string_view::npos) {
    return "--size " + quoted + " is not WIDTHxHEIGHT (for example 1920x1080)";
  }
  const std::optional<int> width = ParseSide(text.substr(0, cross));
  const std::optional<int> height = ParseSide(text.substr(cross + 1));
  if (!width || !height) {
    return "--size " + quoted + " is not WIDTHxHEIGHT in whole pixels (for example 1920x1080)";
  }
  if (*width < 1 || *height < 1 || *width > kMaxRenderSide || *height > kMaxRenderSide) {
    return "--size " + quoted + ": width and height must each be 1 to " +
           std::to_string(kMaxRenderSide) + " pixels";
  }
  request.width = *width;
  request.height = *height;
  return std::nullopt;
}

}  // namespace

RenderCommand ParseRenderArguments(std::span<const std::string_view> arguments) {
  const std::string_view names[3] = {"--pattern", "--size", "--output"};
  switch (FindInfoRequest(arguments, names)) {
    case InfoRequest::kHelp:
      return HelpRequest{};
    case InfoRequest::kVersion:
      return VersionRequest{};
    case InfoRequest::kNone:
      break;
  }
  RenderRequest request;
  bool seen[3] = {false, false, false};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view option = arguments[i];
    std::optional<std::string_view> value;
    if (const std::size_t equals = option.find('=');
        option.starts_with("--") && equals != std::string_view::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
    }
    const auto known = std::find(std::begin(names), std::end(names), option);
    if (known == std::end(names)) {
      return UsageError{RefusedArgument(option)};
    }
    const auto index = static_cast<std::size_t>(known - std::begin(names));
    if (seen[index]) return UsageError{std::string(option) + " is given more than once"};
    seen[index] = true;
    if (!value) {
      if (i + 1 == arguments.size()) {
        return UsageError{std::string(option) + " needs a value"};
      }
      value = arguments[++i];
    }
    if (index == 0) {
      const std::optional<Pattern> pattern = ParsePattern(*value);
      if (!pattern) {
        return UsageError{"unknown pattern " + QuoteArgument(*value) +
                          " (choose grid, cross or colour)"};
      }
      request.pattern = *pattern;
    } else if (index == 1) {
      if (auto problem = ParseSize(*value, request)) return UsageError{*problem};
    } else {
      if (value->empty()) return UsageError{"--output needs a file name, or - for standard output"};
      request.output = std::string(*value);
    }
  }
  for (std::size_t i = 0; i < 3; ++i) {
    if (!seen[i]) return UsageError{"missing " + std::string(names[i])};
  }
  return request;
}

std::string RenderUsage() {
  return "Usage: testcard-render --pattern grid|cross|colour --size WIDTHxHEIGHT --output "
         "FILE.png\n"
         "\n"
         "Draws one of testcard's monitor test patterns at exactly WIDTH x HEIGHT pixels\n"
         "(1 to 32767 each) and writes it as an 8-bit RGB PNG file.\n"
         "\n"
         "  --pattern NAME   grid, cross or colour (color is accepted too)\n"
         "  --size WxH       the picture's size in pixels, for example 1920x1080\n"
         "  --output FILE    the PNG file to write, or - for standard output\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "Exit status: 0 written, 1 drawing or writing failed (no file is left behind),\n"
         "2 bad arguments.\n";
}

}  // namespace testcard
