// SPDX-License-Identifier: MIT
#include "surface/sdl/sdl_key_presses.hpp"

namespace testcard {
namespace {

// The keys that type a control character with Ctrl held: the letters (SDL
// gives the letter keys of non-Latin layouts their Latin key codes) and the
// ASCII neighbours of the capitals.
bool TypesControlWithCtrl(SDL_Keycode key) {
  return (key >= SDLK_a && key <= SDLK_z) || key == SDLK_LEFTBRACKET || key == SDLK_BACKSLASH ||
         key == SDLK_RIGHTBRACKET || key == SDLK_SPACE;
}

bool YieldsControlCharacter(const SDL_Keysym& key) {
  switch (key.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_ESCAPE:
    case SDLK_BACKSPACE:
      return true;
    case SDLK_TAB:  // Shift+Tab is ISO_Left_Tab, which types nothing
      return (key.mod & KMOD_SHIFT) == 0;
    default:
      return (key.mod & KMOD_CTRL) != 0 && TypesControlWithCtrl(key.sym);
  }
}

// Characters in UTF-8 text: every byte that does not continue a sequence.
int CharacterCount(const char* text) {
  int count = 0;
  for (const char* at = text; *at != '\0'; ++at) {
    if ((static_cast<unsigned char>(*at) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

int KeyPressesIn(const SDL_Event& event) {
  switch (event.type) {
    case SDL_TEXTINPUT:
      return CharacterCount(event.text.text);
    case SDL_KEYDOWN:
      return YieldsControlCharacter(event.key.keysym) ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace testcard
