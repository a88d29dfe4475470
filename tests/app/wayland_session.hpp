// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "surface/canvas.hpp"
#include "tests/app/x_session.hpp"

namespace testcard::testing {

// The keys the end-to-end tests press.
enum class Key { kLeft, kLetterA, kReturn, kLetterX };

// A Wayland compositor started by a test on sockets of its own, with
// testcard's screen and keyboard as a user has them. Stopped by the
// destructor; a compositor that cannot start throws std::runtime_error with
// the reason.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The session environment for programs run in it.
  virtual std::vector<std::string> Environment() const = 0;
  // What the output under test shows, in device pixels.
  virtual Canvas Capture() const = 0;
  // A real key press through the compositor.
  virtual void Press(Key key) const = 0;
};

struct SwayOutput {
  int width, height;  // device pixels
  double scale;
};

// sway on its headless backend (software rendering, no input devices but
// a virtual keyboard), with XWayland, DISPLAY and WAYLAND_DISPLAY set. As
// root it runs as "nobody" inside private mount and network namespaces with
// a /tmp of their own. Outputs are HEADLESS-1, HEADLESS-2, ... side by side;
// the last one has the focus and is the one Capture reads.
class SwayDesktop : public Desktop {
 public:
  SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar);
  ~SwayDesktop() override;
  std::vector<std::string> Environment() const override;
  Canvas Capture() const override;
  void Press(Key key) const override;
  // Runs a sway command (swaymsg) and throws when sway refuses it; Capture
  // reads HEADLESS-n from then on.
  void Command(const std::string& command, int capturedOutput);

 private:
  std::string runtimeDir_;
  std::vector<std::string> environment_;
  std::unique_ptr<ChildProcess> sway_;
  std::unique_ptr<ChildProcess> keyboard_;
  std::string captured_;
};

// weston 10 on its X11 backend, in a window filling an Xvfb of its own,
// rendering in software, at an integer output scale.
class WestonDesktop : public Desktop {
 public:
  WestonDesktop(int width, int height, int scale);
  ~WestonDesktop() override;
  std::vector<std::string> Environment() const override;
  Canvas Capture() const override { return screen_.Capture(); }
  void Press(Key key) const override;

 private:
  VirtualScreen screen_;
  std::string runtimeDir_;
  std::unique_ptr<ChildProcess> weston_;
};

}  // namespace testcard::testing
