// SPDX-License-Identifier: MIT
#include "surface/x11/x11_window_watch.hpp"

#include <X11/Xlib.h>
#include <unistd.h>

namespace testcard {
namespace {

// Xlib calls its error handler with no context of ours, so the window it
// watches and the handler it replaced live here; one window per process.
Window watched = None;
XErrorHandler previous = nullptr;

[[noreturn]] void EndClosedFromOutside() {
  static constexpr char kMessage[] =
      "testcard: the window was closed by another program; ending.\n";
  // write(2): this may run inside Xlib, where streams are no safe choice.
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(1);
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
}

void EndIfX11WindowDestroyed(const X11Event& event) {
  if (event.type == DestroyNotify && event.xdestroywindow.window == watched) {
    EndClosedFromOutside();
  }
}

}  // namespace testcard
