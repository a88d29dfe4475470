// SPDX-License-Identifier: MIT
#pragma once

#include "surface/form/window_port.hpp"

namespace testcard {

// What a window system's events mean to the program: each window system
// turns its own events into these few, and nothing else of them reaches
// the pattern cycle.
struct WindowEvent {
  enum class Kind {
    // Nothing the program acts on (a mouse move, a key that typed nothing).
    kNothing,
    // `presses` key presses, each of which typed at least one character.
    kTyped,
    // The window may cover another area now (another output, resolution or
    // scale): `client` is its size in device pixels, `screen` the size of
    // the screen it is to cover.
    kResized,
    // The window system lost what the window showed: show the same picture
    // again, nothing is redrawn.
    kShowAgain,
    // The user or the window system asks the program to end.
    kClose,
  };

  static WindowEvent Of(Kind kind) { return {kind, 0, {}, {}}; }
  static WindowEvent Typed(int presses) { return {Kind::kTyped, presses, {}, {}}; }
  static WindowEvent Resized(PixelSize client, PixelSize screen) {
    return {Kind::kResized, 0, client, screen};
  }

  Kind kind = Kind::kNothing;
  int presses = 0;
  PixelSize client;
  PixelSize screen;
};

}  // namespace testcard
