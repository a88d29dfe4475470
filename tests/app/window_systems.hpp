// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "surface/canvas.hpp"

namespace testcard::testing {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A program run by a test in a process group of its own, its stdout and
// stderr going to a file. One that cannot be run exits with 127 and says
// so; the destructor ends the group if still running.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
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

// Runs a program to its end and returns what it wrote; throws if it fails.
std::string RunToEnd(const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment);
// Polls `done` for up to 20 s; throws `failure()` if it never holds.
void WaitUntil(const std::function<bool()>& done, const std::function<std::string()>& failure);
// This process's environment without the variables that name a display.
std::vector<std::string> EnvironmentWithoutDisplay();

// Rows of a screen as its device pixel values.
struct Screenshot {
  int width = 0;
  std::vector<int> rows;  // the y of each row held
  std::vector<std::uint32_t> pixels;
};

// A window system started by a test, its screen read back in device pixels.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The environment for a program in this session.
  virtual std::vector<std::string> Environment() const = 0;
  // The screen's rows `rows`, all of them if none are given.
  virtual Screenshot Capture(const std::vector<int>& rows) const = 0;
  // A real press of the key with this X keysym name ("a", "Return").
  virtual void Press(const std::string& key) const = 0;
  // The value the screen holds for `colour`.
  virtual std::uint32_t DeviceValue(Colour colour) const { return colour; }
};

// Polls the screen until it shows `expected` from its top-left corner and
// black beyond it, for at most `timeout` (only the given rows if any).
// Returns "" then, or how many pixels differ and the first of them.
std::string WaitUntilShowing(const WindowSystem& screen, const Canvas& expected,
                             milliseconds timeout, const std::vector<int>& rows = {});

// A private X server (Xvfb, on a display number of its own choosing, its
// root window black) with one screen; with a dock height, also openbox and
// a dock window reserving that strip at the top. Throws std::runtime_error
// with the reason when any of them cannot start.
struct XSetup {
  int width, height;
  int depth = 24;
  int dockHeight = 0;
};
class XSession : public WindowSystem {
 public:
  explicit XSession(const XSetup& setup);
  ~XSession() override;

  std::vector<std::string> Environment() const override;
  Screenshot Capture(const std::vector<int>& rows) const override;
  void Press(const std::string& key) const override { Press({}, Keycode(key)); }
  std::uint32_t DeviceValue(Colour colour) const override;

  // The key code of a keysym name in the current layout.
  unsigned Keycode(const std::string& keysym) const;
  // A real key press and release through XTest, `held` keys around it.
  void Press(const std::vector<unsigned>& held, unsigned key) const;
  // Maps a window filled with `colour` over the whole screen, above all.
  unsigned long Cover(Colour colour) const;
  void DestroyWindow(unsigned long window) const;

 private:
  XSetup setup_;
  std::optional<ChildProcess> server_;
  std::optional<ChildProcess> windowManager_;
  void* display_ = nullptr;  // Xlib's Display, kept out of the tests' headers
  std::string name_;
};

struct SwayOutput {
  int width, height;  // device pixels
  double scale;
};

// sway on its headless backend (software rendering, a virtual keyboard as
// its one input device), with XWayland, DISPLAY and WAYLAND_DISPLAY set, on
// sockets in a runtime directory of its own. As root it runs as "nobody"
// inside private mount and network namespaces with a /tmp of their own.
// Outputs HEADLESS-1, -2, ... stand side by side; the last one has the
// focus and is the one Capture reads. Throws std::runtime_error with the
// reason and what sway said when it cannot start.
class SwayDesktop : public WindowSystem {
 public:
  SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar);
  ~SwayDesktop() override;
  std::vector<std::string> Environment() const override { return environment_; }
  Screenshot Capture(const std::vector<int>& rows) const override;
  void Press(const std::string& key) const override;
  // The command line that runs `argv` as the user sway runs as.
  std::vector<std::string> AsSessionUser(std::vector<std::string> argv) const;
  // Runs sway commands (swaymsg); Capture reads HEADLESS-`output` from then on.
  void Command(const std::string& commands, int output);

 private:
  std::string runtimeDir_;
  std::vector<std::string> environment_;
  std::vector<std::string> user_;  // setpriv and its options, or nothing
  std::unique_ptr<ChildProcess> server_, keyboard_;
  std::string captured_;
};

// weston 10 on its X11 backend, in a window that fills an Xvfb of its own,
// rendering in software, at an integer output scale.
class WestonDesktop : public XSession {
 public:
  WestonDesktop(int width, int height, int scale);
  ~WestonDesktop() override;
  std::vector<std::string> Environment() const override;

 private:
  std::string runtimeDir_;
  std::unique_ptr<ChildProcess> server_;
};

}  // namespace testcard::testing
