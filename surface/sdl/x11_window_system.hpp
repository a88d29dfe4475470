// SPDX-License-Identifier: MIT
#pragma once

#include "surface/sdl/plain_window_system.hpp"
#include "surface/x11/x11_types.hpp"

struct SDL_SysWMinfo;

namespace testcard {

// A window on SDL's X11 driver: placed by SDL as any window, and what X11
// needs beyond SDL (surface/x11/):
// - the primary display is the RandR primary output (SDL lists it first);
// - full screen only where a window manager runs to grant it;
// - at 10 bits a channel (depth 30), where SDL has no window surface, the
//   picture goes out as an X image (X11DeepColour);
// - key presses that type control characters are read from X itself
//   (SDL's own key-downs are off, so that a key counts once);
// - a window destroyed by another program ends testcard with one line.
class X11WindowSystem : public PlainWindowSystem {
 public:
  explicit X11WindowSystem(SDL_Window* window);
  WindowEvent SystemEvent(const SDL_Event& event) override;

 protected:
  bool ManagesWindows() const override;

 private:
  X11WindowSystem(SDL_Window* window, const SDL_SysWMinfo& info);

  X11Display* display_;
};

}  // namespace testcard
