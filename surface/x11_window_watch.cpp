// SPDX-License-Identifier: MIT
#include "surface/x11_window_watch.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
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

void WatchX11Window(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  watched = info.info.x11.window;
  const XErrorHandler replaced = XSetErrorHandler(OnXError);
  if (replaced != OnXError) previous = replaced;
}

void EndIfX11WindowDestroyed(const SDL_Event& event) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
      event.syswm.msg->subsystem != SDL_SYSWM_X11) {
    return;
  }
  const XEvent& xevent = event.syswm.msg->msg.x11.event;
  if (xevent.type == DestroyNotify && xevent.xdestroywindow.window == watched) {
    EndClosedFromOutside();
  }
}

}  // namespace testcard
