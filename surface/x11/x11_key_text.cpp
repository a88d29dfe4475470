// SPDX-License-Identifier: MIT
#include "surface/x11/x11_key_text.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace testcard {

int X11ControlCharacters(const X11Event& event) {
  if (event.type != KeyPress) return 0;
  XKeyEvent key = event.xkey;  // XLookupString takes it by non-const pointer
  char bytes[16];
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&key, bytes, sizeof bytes, &keysym, nullptr);
  if (keysym == XK_Delete || keysym == XK_KP_Delete) return 0;
  for (int i = 0; i < length; ++i) {
    const auto code = static_cast<unsigned char>(bytes[i]);
    if (code >= 0x20 && code != 0x7F) return 0;
  }
  return length;
}

}  // namespace testcard
