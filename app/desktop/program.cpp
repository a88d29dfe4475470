// SPDX-License-Identifier: MIT
#include "app/desktop/program.hpp"

#include <exception>

#include "app/command_line/exit_status.hpp"
#include "app/cycle/pattern_cycle.hpp"

namespace testcard {
namespace {

using Outcome = PatternCycle::Outcome;

// Start-up and then one event at a time, in order: key presses that arrive
// while a pattern is drawn wait in the window system's queue and are
// handled afterwards. Failures of the window itself throw.
Outcome RunCycle(PatternCycle& cycle, AppWindow& window) {
  Outcome outcome = cycle.Start(window.PrimaryDisplaySize());
  if (outcome != Outcome::kShow) return outcome;
  window.Show(cycle.Picture());
  for (;;) {
    outcome = cycle.Handle(window.NextEvent());
    if (outcome == Outcome::kShow) window.Present();
    if (outcome == Outcome::kEnded || outcome == Outcome::kFailed) return outcome;
  }
}

// Shows the error in a message box as well, since whoever started testcard
// from a desktop menu has no terminal to read it in.
int Fail(AppWindow& window, std::ostream& errors, const CycleFailure& failure) {
  errors << "testcard: " << failure.Line() << "\n";
  if (!window.ShowErrorBox("testcard", failure.heading + "\n\n" + failure.detail)) {
    errors << "testcard: could not show the error in a message box either\n";
  }
  return kExitFailure;
}

}  // namespace

ProgramEnd RunProgram(const OpenWindow& open, std::ostream& errors) {
  ProgramEnd end;
  try {
    end.window = open();
  } catch (const WindowUnavailable& error) {
    errors << "testcard: " << error.what() << "\n"
           << "testcard shows its patterns in a window, so it needs a graphical session:\n"
           << "start it from the desktop, or check that DISPLAY (X11) or WAYLAND_DISPLAY\n"
           << "names a running display.\n";
    end.status = kExitFailure;
    return end;
  }
  PatternCycle cycle(end.window.get());
  try {
    if (RunCycle(cycle, *end.window) == Outcome::kFailed) {
      end.status = Fail(*end.window, errors, cycle.Failure());
    }
  } catch (const WindowLost& error) {
    // Nowhere left to show a message box.
    errors << "testcard: " << error.what() << "; ending.\n";
    end.status = kExitFailure;
  } catch (const std::exception& error) {
    end.status = Fail(*end.window, errors, FailureOf(error));
  }
  return end;
}

}  // namespace testcard
