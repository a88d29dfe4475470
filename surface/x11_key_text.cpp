// SPDX-License-Identifier: MIT
#include "surface/x11_key_text.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <string>

namespace testcard {
namespace {

// U+2400 + code in UTF-8 (U+2421 for DEL): E2 90 80+code, or E2 90 A1.
std::string ControlPicture(unsigned char code) {
  const char last = static_cast<char>(code == 0x7F ? 0xA1 : 0x80 + code);
  return {'\xE2', '\x90', last};
}

}  // namespace

bool StartX11KeyText() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::string(driver) != "x11") return false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  SDL_EventState(SDL_KEYDOWN, SDL_IGNORE);
  return true;
}

std::string X11ControlText(const SDL_Event& event) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
      event.syswm.msg->subsystem != SDL_SYSWM_X11) {
    return {};
  }
  XEvent xevent = event.syswm.msg->msg.x11.event;
  if (xevent.type != KeyPress) return {};
  char bytes[16];
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&xevent.xkey, bytes, sizeof bytes, &keysym, nullptr);
  if (keysym == XK_Delete || keysym == XK_KP_Delete) return {};
  std::string pictures;
  for (int i = 0; i < length; ++i) {
    const auto code = static_cast<unsigned char>(bytes[i]);
    if (code >= 0x20 && code != 0x7F) return {};
    pictures += ControlPicture(code);
  }
  return pictures;
}

}  // namespace testcard
