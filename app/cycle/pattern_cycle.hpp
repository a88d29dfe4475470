// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <string>

#include "surface/form/grid_form.hpp"
#include "surface/form/window_port.hpp"
#include "surface/window/window_event.hpp"

namespace testcard {

// A failure the front end is to show its own way (the desktop in a message
// box, the page in place of the picture): a heading such as "Run-time
// error '6':" and the detail.
struct CycleFailure {
  std::string heading;
  std::string detail;
  // Both on one line.
  std::string Line() const { return heading + " " + detail; }
};

// The failure an exception stands for: a run-time error with its number,
// anything else as an unexpected error.
CycleFailure FailureOf(const std::exception& error);

// The pattern cycle, the same for every front end: start-up on a screen
// size, then each window event in turn. It owns the drawing surface; the
// front end shows its picture, and the cycle says when.
//
// - Start: OnLoad sizes the form to the screen (rounded down to even) and
//   draws the grid.
// - kTyped: one OnKeyPress per press, in order: grid, cross, colour pattern,
//   and the press after the colour pattern ends the cycle.
// - kResized: when the window's size, rounded down to even, is no longer
//   the picture's, the form is sized to the screen again and the pattern on
//   show is drawn again for it.
// - kShowAgain: the same picture is to be shown again.
// - kClose: the cycle ends.
// A run-time error (or any other exception) in any of them fails the cycle;
// Failure() then says what failed. After the end or a failure every event
// gets the same answer again.
class PatternCycle {
 public:
  enum class Outcome {
    kUnchanged,  // nothing to show
    kShow,       // show Picture()
    kEnded,      // the program ends, with success
    kFailed,     // the program ends; show Failure()
  };

  // `window`, if any, is what the form places itself on (it must outlive
  // the cycle); without one the form is a picture of the size it is given.
  explicit PatternCycle(WindowPort* window = nullptr);

  Outcome Start(PixelSize screen);
  Outcome Handle(const WindowEvent& event);

  const Canvas& Picture() const { return form_.Picture(); }
  const CycleFailure& Failure() const { return failure_; }

 private:
  template <typename Step>
  Outcome Guarded(Step step);
  Outcome KeyPresses(int presses);
  Outcome Resize(PixelSize client, PixelSize screen);

  GridForm form_{0, 0};
  Outcome over_ = Outcome::kUnchanged;  // kEnded or kFailed once it is over
  CycleFailure failure_;
};

}  // namespace testcard
