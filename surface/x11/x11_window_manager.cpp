// SPDX-License-Identifier: MIT
#include "surface/x11/x11_window_manager.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace testcard {

bool X11WindowManagerRuns(X11Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long remaining = 0;
  unsigned char* value = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &items, &remaining, &value);
  if (value != nullptr) XFree(value);
  return status == Success && type == XA_WINDOW && items == 1;
}

}  // namespace testcard
