// SPDX-License-Identifier: MIT
#pragma once

// Xlib's types as the X11 folder's headers name them, without Xlib's
// headers: whoever hands these over (the SDL window) need not include Xlib.
struct _XDisplay;
union _XEvent;

namespace testcard {

using X11Display = ::_XDisplay;
using X11Event = ::_XEvent;
// An X resource ID (Window, Drawable), as Xlib's XID.
using X11Window = unsigned long;

}  // namespace testcard
