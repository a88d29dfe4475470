// testcard-render: draws a test pattern at any size and writes it as a PNG.

#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "tools/command_line.hpp"
#include "tools/png_writer.hpp"
#include "tools/render_options.hpp"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Render(const testcard::RenderRequest& request) {
  try {
    testcard::GridForm form(request.width, request.height);
    testcard::DrawPattern(form, request.pattern);
    if (request.output == "-") {
      testcard::WritePng(form.Picture(), stdout, "standard output");
    } else {
      testcard::WritePngFile(form.Picture(), request.output);
    }
    return 0;
  } catch (const testcard::RunTimeError& error) {
    std::cerr << "testcard-render: drawing failed: " << testcard::PrintableLine(error.what())
              << "\n";
  } catch (const testcard::PngWriteError& error) {
    // The message names the file, which may hold any byte but a NUL.
    std::cerr << "testcard-render: " << testcard::PrintableLine(error.what()) << "\n";
  }
  return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const testcard::RenderCommand command = testcard::ParseRenderArguments(arguments);
  if (std::holds_alternative<testcard::HelpRequest>(command)) {
    std::cout << testcard::RenderUsage();
    return 0;
  }
  if (std::holds_alternative<testcard::VersionRequest>(command)) {
    std::cout << testcard::VersionText("testcard-render");
    return 0;
  }
  if (const auto* error = std::get_if<testcard::UsageError>(&command)) {
    std::cerr << "testcard-render: " << error->reason << "\n\n" << testcard::RenderUsage();
    return kExitUsage;
  }
  return Render(std::get<testcard::RenderRequest>(command));
}
