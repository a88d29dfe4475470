// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include "surface/app_window.hpp"

namespace testcard {

// Opens the program's window; throws WindowUnavailable when none can be had.
using OpenWindow = std::function<std::unique_ptr<AppWindow>()>;

// How the program ended: its exit status, and the window it ran in (none if
// it could not open one), still open.
struct ProgramEnd {
  int status = 0;
  std::unique_ptr<AppWindow> window;
};

// The whole program after its arguments: opens the window, starts on the
// grid, steps through the patterns on key presses and ends on the third
// press or a close request, with status 0. A window that cannot be opened,
// or a run-time error (shown in a message box too), ends it with status 1
// and a message on `errors` that says what failed.
ProgramEnd RunProgram(const OpenWindow& open, std::ostream& errors);

}  // namespace testcard
