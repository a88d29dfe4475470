// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/app/x_session.hpp"

namespace testcard::testing {

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
