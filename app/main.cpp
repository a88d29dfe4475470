// testcard: fills the primary screen with monitor test patterns. It starts on
// the grid; each key that types a character steps to the cross, then to the
// colour pattern, and one more key ends it.

#include <SDL_events.h>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/arguments.hpp"
#include "app/events.hpp"
#include "app/handlers.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "surface/screen.hpp"
#include "surface/sdl_window.hpp"

namespace {

constexpr int kExitFailure = 1;

// Shows the error in a message box as well, since whoever started testcard
// from a desktop menu has no terminal to read it in.
int Fail(testcard::SdlWindow& window, const std::string& heading, const std::string& detail) {
  std::cerr << "testcard: " << heading << " " << detail << "\n";
  if (!window.ShowErrorBox("testcard", heading + "\n\n" + detail)) {
    std::cerr << "testcard: could not show the error in a message box either\n";
  }
  return kExitFailure;
}

int RunPatterns(testcard::SdlWindow& window) {
  using testcard::EventOutcome;
  const testcard::PixelSize start = window.ClientSize();
  testcard::GridForm form(start.width, start.height);
  form.AttachWindow(window);
  const testcard::PixelSize screen = window.PrimaryDisplaySize();
  testcard::OnLoad(form, testcard::Screen::FromPixels(screen.width, screen.height));
  window.Show(form.Picture());

  // One event at a time, in order: key presses that arrive while a pattern
  // is drawn wait in the queue and are handled afterwards.
  for (;;) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) == 0) {
      throw testcard::RunTimeError(
          testcard::error_number::kWindowFailure,
          std::string("Cannot read the window's events: ") + SDL_GetError());
    }
    switch (testcard::DispatchEvent(form, event)) {
      case EventOutcome::kEndProgram:
        return 0;
      case EventOutcome::kPictureChanged:
      case EventOutcome::kShowAgain:
        window.Present();
        break;
      case EventOutcome::kNothing:
        break;
    }
  }
}

int Run() {
  std::unique_ptr<testcard::SdlWindow> window;
  try {
    window = std::make_unique<testcard::SdlWindow>();
  } catch (const testcard::WindowUnavailable& error) {
    std::cerr << "testcard: " << error.what() << "\n"
              << "testcard shows its patterns in a window, so it needs a graphical session:\n"
              << "start it from the desktop, or check that DISPLAY (X11) or WAYLAND_DISPLAY\n"
              << "names a running display.\n";
    return kExitFailure;
  }
  try {
    return RunPatterns(*window);
  } catch (const testcard::RunTimeError& error) {
    return Fail(*window,
                "Run-time error '" + std::to_string(error.Number()) + "':", error.Message());
  } catch (const std::exception& error) {
    return Fail(*window, "Unexpected error:", error.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (const std::optional<int> status =
          testcard::AnswerArguments(arguments, std::cout, std::cerr)) {
    return *status;
  }
  return Run();
}
