// SPDX-License-Identifier: MIT
#pragma once

// The exit statuses of both programs, testcard and testcard-render.

namespace testcard {

inline constexpr int kExitSuccess = 0;
// Something failed while running: no window, a run-time error, a file that
// could not be written, help that could not be printed.
inline constexpr int kExitFailure = 1;
// The arguments were wrong; nothing was done.
inline constexpr int kExitUsage = 2;

}  // namespace testcard
