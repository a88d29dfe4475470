// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include "surface/window/app_window.hpp"

namespace testcard {

// Opens the program's window; throws WindowUnavailable when none can be had.
using OpenWindow = std::function<std::unique_ptr<AppWindow>()>;

// How the program ended: its exit status, and the window it ran in (none if
// it could not open one), still open.
struct ProgramEnd {
  int status = 0;
  std::unique_ptr<AppWindow> window;
};

// The desktop program after its arguments: opens the window and drives the
// pattern cycle with the window's events, one at a time, showing each new
// picture, until the third key press or a close request ends it with
// status 0. A window that cannot be opened, or a run-time error (shown in a
// message box too), ends it with status 1 and a message on `errors` that
// says what failed.
ProgramEnd RunProgram(const OpenWindow& open, std::ostream& errors);

}  // namespace testcard
