#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "surface/canvas.hpp"

namespace testcard::testing {

using Clock = std::chrono::steady_clock;

// A program run by a test, its output (stdout and stderr) going to a file.
// The destructor kills it if it is still running.
class ChildProcess {
 public:
  // Runs `argv` (argv[0] is the path) with exactly `environment`.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status once the program has ended within `timeout`; nullopt if
  // it is still running then. A program killed by a signal gives 128 + the
  // signal number, as a shell reports it.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  bool Running();
  int Pid() const { return pid_; }
  // Everything the program wrote so far.
  std::string Output() const;

 private:
  int pid_ = -1;
  std::optional<int> status_;
  std::string outputFile_;
};

// This process's environment without the variables that name a display.
std::vector<std::string> EnvironmentWithoutDisplay();

// A private X server (Xvfb) with one screen of the given size, on a display
// number the server picks itself, and a connection to it. Stopped by the
// destructor.
class VirtualScreen {
 public:
  VirtualScreen(int width, int height);
  ~VirtualScreen();
  VirtualScreen(const VirtualScreen&) = delete;
  VirtualScreen& operator=(const VirtualScreen&) = delete;

  // ":N", for DISPLAY.
  const std::string& Name() const { return name_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // What the screen shows in the rectangle, read back from the root window.
  Canvas Capture(int left, int top, int width, int height) const;
  Canvas Capture() const { return Capture(0, 0, width_, height_); }

  // Polls the screen until the rectangle from (0, 0) of `expected`'s size
  // shows exactly `expected`, for at most `timeout`.
  bool WaitUntilShowing(const Canvas& expected, std::chrono::milliseconds timeout) const;

  // A real key press and release through XTest, with the given modifier keys
  // (keysyms) held down around it.
  void PressKey(unsigned long keysym, const std::vector<unsigned long>& modifiers = {}) const;
  // Presses the keys one after the other as fast as the server takes them.
  void PressKeys(const std::vector<unsigned long>& keysyms) const;

  struct WindowInfo {
    unsigned long id;
    int left, top, width, height;
    bool viewable;
  };
  // The top-level window titled `title`, if there is one.
  std::optional<WindowInfo> FindWindow(const std::string& title) const;
  // Gives the keyboard focus to the window, as a window manager would.
  void Focus(unsigned long window) const;

  // Maps a window of another program over the whole screen, above
  // everything, filled with kCoverColour; Uncover takes it away again.
  static constexpr Colour kCoverColour = 0x996633;  // RGB(51, 102, 153)
  unsigned long Cover() const;
  void Uncover(unsigned long cover) const;

 private:
  int serverPid_ = -1;
  void* display_ = nullptr;  // Xlib's Display, kept out of the tests' headers
  std::string name_;
  int width_;
  int height_;
};

}  // namespace testcard::testing
