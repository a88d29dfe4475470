// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_key_text.hpp"

#include <xkbcommon/xkbcommon.h>

namespace testcard {
namespace {

// Wayland key codes are evdev's; xkbcommon's are X11's, 8 higher.
constexpr std::uint32_t kEvdevToXkb = 8;

}  // namespace

int CharactersTyped(xkb_state* state, std::uint32_t key) {
  const xkb_keycode_t code = key + kEvdevToXkb;
  const xkb_keysym_t symbol = xkb_state_key_get_one_sym(state, code);
  if (symbol == XKB_KEY_Delete || symbol == XKB_KEY_KP_Delete) return 0;
  char text[64];
  const int length = xkb_state_key_get_utf8(state, code, text, sizeof text);
  // NUL (Ctrl+Space, Ctrl+@) comes back as one zero byte, which the length
  // counts; otherwise every byte that does not continue a UTF-8 sequence
  // starts a character.
  int characters = 0;
  for (int i = 0; i < length && i < static_cast<int>(sizeof text) - 1; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

}  // namespace testcard
