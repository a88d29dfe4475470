// SPDX-License-Identifier: MIT
#include "surface/x11/x11_window_watch.hpp"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstddef>

namespace testcard {
namespace {

// Xlib calls its error handler with no context of ours, so the window it
// watches and the handler it replaced live here; one window per process.
Window watched = None;
XErrorHandler previous = nullptr;

// write(2) and _exit(2): this runs inside Xlib, where streams and exit
// handlers are no safe choice.
template <std::size_t N>
[[noreturn]] void End(const char (&message)[N]) {
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, N - 1);
  _exit(1);
}

[[noreturn]] void EndClosedFromOutside() {
  End("testcard: the window was closed by another program; ending.\n");
}

// The X server gone (killed, crashed, the session ended): Xlib's own last
// word would be its own line, without saying who speaks.
int OnXIOError(Display*) {
  End("testcard: the connection to the X server was lost; ending.\n");
}

int OnXError(Display* display, XErrorEvent* error) {
  if ((error->error_code == BadWindow || error->error_code == BadDrawable) &&
      error->resourceid == watched) {
    EndClosedFromOutside();
  }
  return previous != nullptr ? previous(display, error) : 0;
}

}  // namespace

void WatchX11Window(X11Window window) {
  watched = window;
  const XErrorHandler replaced = XSetErrorHandler(OnXError);
  if (replaced != OnXError) previous = replaced;
  XSetIOErrorHandler(OnXIOError);
}

void EndIfX11WindowDestroyed(const X11Event& event) {
  if (event.type == DestroyNotify && event.xdestroywindow.window == watched) {
    EndClosedFromOutside();
  }
}

}  // namespace testcard
