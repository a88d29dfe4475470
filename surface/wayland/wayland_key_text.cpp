// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_key_text.hpp"

#include <xkbcommon/xkbcommon.h>

namespace testcard {
namespace {

// Wayland key codes are evdev's; xkbcommon's are X11's, 8 higher.
constexpr std::uint32_t kEvdevToXkb = 8;

}  // namespace

bool TypesCharacter(xkb_state* state, std::uint32_t key) {
  const xkb_keycode_t code = key + kEvdevToXkb;
  const xkb_keysym_t symbol = xkb_state_key_get_one_sym(state, code);
  if (symbol == XKB_KEY_Delete || symbol == XKB_KEY_KP_Delete) return false;
  // The length of the text, without the terminating NUL: NUL itself
  // (Ctrl+Space, Ctrl+@) comes back as one zero byte, and counts.
  char text[64];
  return xkb_state_key_get_utf8(state, code, text, sizeof text) > 0;
}

}  // namespace testcard
