// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "surface/canvas.hpp"
#include "tests/app/x_session.hpp"

namespace testcard::testing {

// A Wayland compositor a test starts on sockets of its own (in a runtime
// directory of its own), and stops in the destructor. One that cannot start
// throws std::runtime_error with the reason and what it said.
class Desktop {
 public:
  virtual ~Desktop();
  // The session environment for programs run in it.
  const std::vector<std::string>& Environment() const { return environment_; }
  // The command line that runs `argv` as the user the compositor runs as.
  std::vector<std::string> AsSessionUser(std::vector<std::string> argv) const;
  // What the output under test shows, in device pixels.
  virtual Canvas Capture() const = 0;
  // A real press of the key with this X keysym name ("a", "Return", "Left")
  // through the compositor.
  virtual void Press(const std::string& key) const = 0;

 protected:
  // `isolated`: in private namespaces of the test process (see SwayDesktop).
  explicit Desktop(bool isolated);
  // Runs the compositor and waits until `ready` holds.
  void Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
             const std::function<bool()>& ready);

  std::string runtimeDir_;
  std::vector<std::string> environment_;
  std::vector<std::string> user_;  // setpriv and its options, or nothing
  std::unique_ptr<ChildProcess> server_;
};

struct SwayOutput {
  int width, height;  // device pixels
  double scale;
};

// sway on its headless backend (software rendering, a virtual keyboard as
// its one input device), with XWayland, DISPLAY and WAYLAND_DISPLAY set. As
// root it runs as "nobody" inside private mount and network namespaces with
// a /tmp of their own. Outputs HEADLESS-1, -2, ... stand side by side; the
// last one has the focus and is the one Capture reads.
class SwayDesktop : public Desktop {
 public:
  SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar);
  Canvas Capture() const override;
  void Press(const std::string& key) const override;
  // Runs sway commands (swaymsg); Capture reads HEADLESS-`output` from then on.
  void Command(const std::string& commands, int output);

 private:
  std::unique_ptr<ChildProcess> keyboard_;
  std::string captured_;
};

// weston 10 on its X11 backend, in a window that fills an Xvfb of its own,
// rendering in software, at an integer output scale.
class WestonDesktop : public Desktop {
 public:
  WestonDesktop(int width, int height, int scale);
  Canvas Capture() const override { return screen_.Capture(); }
  void Press(const std::string& key) const override;

 private:
  XSession screen_;
};

}  // namespace testcard::testing
