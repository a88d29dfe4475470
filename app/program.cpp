// SPDX-License-Identifier: MIT
#include "app/program.hpp"

#include <exception>
#include <string>

#include "app/events.hpp"
#include "app/handlers.hpp"
#include "surface/exit_status.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "surface/screen.hpp"

namespace testcard {
namespace {

// After the window system gave the window another size (another output, a
// new resolution or scale): the pattern on show is drawn again for the
// pixels the window covers now, sized as at start-up. A size that rounds
// down to the form's even size changes nothing, so the window placed by the
// start-up itself does not draw twice.
void FollowWindowSize(GridForm& form, AppWindow& window) {
  const PixelSize now = window.ClientSize();
  if (now.width / 2 * 2 == form.Picture().Width() &&
      now.height / 2 * 2 == form.Picture().Height()) {
    return;
  }
  const PixelSize screen = window.PrimaryDisplaySize();
  SizeToScreen(form, Screen::FromPixels(screen.width, screen.height));
  RedrawPattern(form);
}

// The start-up and the key-driven cycle, until the program is to end.
void RunPatterns(AppWindow& window) {
  const PixelSize start = window.ClientSize();
  GridForm form(start.width, start.height);
  form.AttachWindow(window);
  const PixelSize screen = window.PrimaryDisplaySize();
  OnLoad(form, Screen::FromPixels(screen.width, screen.height));
  window.Show(form.Picture());

  // One event at a time, in order: key presses that arrive while a pattern
  // is drawn wait in the queue and are handled afterwards.
  for (;;) {
    switch (DispatchEvent(form, window.NextEvent())) {
      case EventOutcome::kEndProgram:
        return;
      case EventOutcome::kSizeChanged:
        FollowWindowSize(form, window);
        window.Present();
        break;
      case EventOutcome::kPictureChanged:
      case EventOutcome::kShowAgain:
        window.Present();
        break;
      case EventOutcome::kNothing:
        break;
    }
  }
}

// Shows the error in a message box as well, since whoever started testcard
// from a desktop menu has no terminal to read it in.
int Fail(AppWindow& window, std::ostream& errors, const std::string& heading,
         const std::string& detail) {
  errors << "testcard: " << heading << " " << detail << "\n";
  if (!window.ShowErrorBox("testcard", heading + "\n\n" + detail)) {
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
  try {
    RunPatterns(*end.window);
  } catch (const RunTimeError& error) {
    end.status = Fail(*end.window, errors,
                      "Run-time error '" + std::to_string(error.Number()) + "':", error.Message());
  } catch (const std::exception& error) {
    end.status = Fail(*end.window, errors, "Unexpected error:", error.what());
  }
  return end;
}

}  // namespace testcard
