// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "surface/canvas.hpp"

namespace testcard::testing {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A program run by a test in a process group of its own, its stdout and
// stderr going to a file. The destructor ends the group if still running.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status (128 + signal if killed), or nullopt if still running
  // after `timeout`.
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

// A private X server (Xvfb, on a display number it picks itself) with one
// screen, optionally a window manager (openbox) and a dock that reserves a
// strip at the top, and a connection to it. Throws std::runtime_error with
// the reason when any of them cannot start.
struct XSetup {
  int width, height;
  int depth = 24;
  int dockHeight = 0;  // > 0: openbox and a dock window
};
class XSession {
 public:
  explicit XSession(const XSetup& setup);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // The environment for a program on this display.
  std::vector<std::string> Environment() const;

  // Polls the screen until, from (0, 0), it shows `expected` as this
  // screen's pixel format shows it, for at most `timeout`; only the given
  // rows if there are any. Returns "" then, or how the screen differed.
  std::string WaitUntilShowing(const Canvas& expected, milliseconds timeout,
                               const std::vector<int>& rows = {}) const;

  // The X key code of a keysym name ("a", "Return") in the current layout.
  unsigned Keycode(const std::string& keysym) const;
  // One real key press and release through XTest, with `held` key codes
  // pressed around it.
  void Press(const std::vector<unsigned>& held, unsigned key) const;
  // Switches the keyboard layout (setxkbmap).
  void SetLayout(const std::string& layout, const std::string& variant) const;

  // Destroys a window of the test's own.
  void DestroyWindow(unsigned long window) const;
  // Raises the dock above the other windows, as a panel does that wants
  // to be seen: only a full-screen window stays above it.
  void RaiseDock() const;
  // Maps a window filled with `colour` over the whole screen, above all.
  unsigned long Cover(Colour colour) const;

 private:
  std::vector<std::uint32_t> ScreenPixels(const Canvas& expected) const;
  std::string Differences(const Canvas& expected, const std::vector<int>& rows) const;

  XSetup setup_;
  int serverPid_ = -1;
  std::optional<ChildProcess> windowManager_;
  unsigned long dock_ = 0;
  void* display_ = nullptr;  // Xlib's Display, kept out of the tests' headers
  std::string name_;
};

}  // namespace testcard::testing
