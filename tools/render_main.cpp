// SPDX-License-Identifier: MIT
// testcard-render: draws a test pattern at any size and writes it as a PNG.

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/command_line/command_line.hpp"
#include "app/command_line/exit_status.hpp"
#include "patterns/patterns.hpp"
#include "surface/form/grid_form.hpp"
#include "surface/form/run_time_error.hpp"
#include "tools/output_file.hpp"
#include "tools/png_writer.hpp"
#include "tools/render_options.hpp"

namespace {

constexpr std::string_view kProgram = "testcard-render";

int Render(const testcard::RenderRequest& request) {
  // A file size limit (ulimit -f) then fails the write with a message
  // instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    // Opened first: a path that cannot be written fails before the drawing.
    testcard::OutputFile output(request.output);
    testcard::GridForm form(request.width, request.height);
    testcard::DrawPattern(form, request.pattern);
    testcard::WritePng(testcard::RowsOf(form.Picture()), output.Stream(), output.Name().c_str());
    output.Commit();
    return testcard::kExitSuccess;
  } catch (const testcard::RunTimeError& error) {
    std::cerr << kProgram << ": drawing failed: " << testcard::PrintableLine(error.what()) << "\n";
  } catch (const testcard::PngWriteError& error) {
    // The message names the file, which may hold any byte but a NUL.
    std::cerr << kProgram << ": " << testcard::PrintableLine(error.what()) << "\n";
  }
  return testcard::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const testcard::RenderCommand command = testcard::ParseRenderArguments(arguments);
  if (std::holds_alternative<testcard::HelpRequest>(command)) {
    return testcard::PrintAnswer(kProgram, testcard::RenderUsage(), std::cout, std::cerr);
  }
  if (std::holds_alternative<testcard::VersionRequest>(command)) {
    return testcard::PrintAnswer(kProgram, testcard::VersionText(kProgram), std::cout, std::cerr);
  }
  if (const auto* error = std::get_if<testcard::UsageError>(&command)) {
    return testcard::ReportUsageError(kProgram, error->reason, std::cerr);
  }
  return Render(std::get<testcard::RenderRequest>(command));
}
