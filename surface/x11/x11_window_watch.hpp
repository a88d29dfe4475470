// SPDX-License-Identifier: MIT
#pragma once

#include "surface/x11/x11_types.hpp"

namespace testcard {

// The window destroyed by another program (xdotool windowclose, a session
// manager): on X11 that shows either as its DestroyNotify or as an X error
// about the window on the next request, whichever comes first. Left to
// Xlib, the error prints a raw request dump and ends the program; instead
// testcard says in one line that the window was closed by another program
// and exits with status 1.

// Watches `window`. Other X errors go on to the handler that
// was there before. A lost connection to the X server ends the program too,
// with status 1 and one line saying so.
void WatchX11Window(X11Window window);

// Ends the program as above when `event` is the watched window's
// destruction; returns otherwise.
void EndIfX11WindowDestroyed(const X11Event& event);

}  // namespace testcard
