// SPDX-License-Identifier: MIT
#pragma once

namespace testcard {

// Chooses which of SDL's video drivers to try, before SDL starts its video
// system: Wayland first in a Wayland session (SDL on its own would take
// XWayland, which a compositor scales on high-DPI outputs), then X11; X11
// alone where no Wayland compositor can be reached, so that libwayland has
// no chance to print its own complaints about a missing session. A driver
// the user names in SDL_VIDEODRIVER always wins.
void ChooseVideoDriver();

// Whether a Wayland compositor's socket can be reached: WAYLAND_DISPLAY (a
// path, or a name in XDG_RUNTIME_DIR), else "wayland-0" in XDG_RUNTIME_DIR.
bool WaylandSocketReachable();

}  // namespace testcard
