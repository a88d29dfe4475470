// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "surface/window/app_window.hpp"

namespace testcard {

// Opens the desktop program's window on the first window system, in order,
// that is there and opens: testcard's own Wayland client in a Wayland
// session (a compositor's socket found, SDL_VIDEODRIVER not naming another
// driver), then SDL (X11, or the driver SDL_VIDEODRIVER names). Throws
// WindowUnavailable with every system's reason when none opens.
std::unique_ptr<AppWindow> OpenDesktopWindow();

}  // namespace testcard
