// SPDX-License-Identifier: MIT
// Feeds arbitrary argument lists to testcard-render's parser and checks the
// contract its caller relies on: help, a request inside the accepted
// limits, or a usage error with a one-line reason.
//
// Input: the arguments, separated by NUL bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tools/render_options.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> arguments;
  for (std::size_t start = 0; start <= input.size();) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    arguments.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  const testcard::RenderCommand command = testcard::ParseRenderArguments(arguments);
  if (const auto* request = std::get_if<testcard::RenderRequest>(&command)) {
    if (request->width < 1 || request->width > testcard::kMaxRenderSide) std::abort();
    if (request->height < 1 || request->height > testcard::kMaxRenderSide) std::abort();
    if (request->output.empty()) std::abort();
  } else if (const auto* error = std::get_if<testcard::UsageError>(&command)) {
    if (error->reason.empty()) std::abort();
    if (error->reason.find('\n') != std::string::npos) std::abort();
  }
  return 0;
}
