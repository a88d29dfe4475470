// SPDX-License-Identifier: MIT
#pragma once

#include "surface/x11/x11_types.hpp"

namespace testcard {

// Whether a window manager runs on `display`: one that does announces
// itself on the root window (_NET_SUPPORTING_WM_CHECK). Without one nobody
// answers a request for full screen, and whoever waits for the answer waits
// in vain.
bool X11WindowManagerRuns(X11Display* display);

}  // namespace testcard
