// SPDX-License-Identifier: MIT
#pragma once

namespace testcard {

// Whether a Wayland compositor's socket is there to connect to, as
// libwayland looks for it: WAYLAND_DISPLAY (a path, or a name in
// XDG_RUNTIME_DIR), else "wayland-0" in XDG_RUNTIME_DIR. Looking costs no
// connection, so that outside a Wayland session libwayland gets no chance to
// print its own complaints.
bool WaylandSocketReachable();

}  // namespace testcard
