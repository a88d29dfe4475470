// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "surface/canvas.hpp"

namespace testcard::testing {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A program run by a test in a process group of its own, its stdout and
// stderr going to a file, `fd3` (if any) as its descriptor 3. Throws when it
// cannot be started; the destructor ends the group if still running.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               int fd3 = -1);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status (128 + signal if killed), nullopt if still running.
  std::optional<int> WaitForExit(milliseconds timeout);
  bool Running() { return !WaitForExit(milliseconds(0)); }
  std::string Output() const;
  int Pid() const { return pid_; }

 private:
  int pid_ = -1;
  std::optional<int> status_;
  std::string outputFile_;
};

// This process's environment without the variables that name a display.
std::vector<std::string> EnvironmentWithoutDisplay();

// A private X server (Xvfb, on a display number of its own choosing) with
// one screen; with a dock height, also openbox and a dock window reserving
// that strip at the top. Throws std::runtime_error with the reason when any
// of them cannot start.
struct XSetup {
  int width, height;
  int depth = 24;
  int dockHeight = 0;
};
class XSession {
 public:
  explicit XSession(const XSetup& setup);
  ~XSession();

  // The environment for a program on this display.
  std::vector<std::string> Environment() const;
  // Runs an X client (setxkbmap, xprop ...) to its end; its output, or a
  // throw when it fails.
  std::string Run(const std::vector<std::string>& argv) const;

  // Polls the screen until, from (0, 0), it shows `expected` in the
  // screen's pixel format, for at most `timeout` (only the given rows if
  // any). Returns "" then, or how the screen differed.
  std::string WaitUntilShowing(const Canvas& expected, milliseconds timeout,
                               const std::vector<int>& rows = {}) const;

  // The whole screen as it is now, at 8 bits a channel (depth 24).
  Canvas Capture() const;

  // The key code of a keysym name ("a", "Return") in the current layout.
  unsigned Keycode(const std::string& keysym) const;
  // A real key press and release through XTest, `held` keys around it.
  void Press(const std::vector<unsigned>& held, unsigned key) const;

  // Maps a window filled with `colour` over the whole screen, above all.
  unsigned long Cover(Colour colour) const;
  void DestroyWindow(unsigned long window) const;

 private:
  std::vector<std::uint32_t> ScreenPixels(const Canvas& expected) const;
  std::string Differences(const Canvas& expected, const std::vector<int>& rows) const;

  XSetup setup_;
  std::optional<ChildProcess> server_;
  std::optional<ChildProcess> windowManager_;
  void* display_ = nullptr;  // Xlib's Display, kept out of the tests' headers
  std::string name_;
};

}  // namespace testcard::testing
