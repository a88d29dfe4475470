#include "app/key_presses.hpp"

#include <gtest/gtest.h>

#include <span>
#include <utility>

#include "tests/app/sdl_events.hpp"

namespace testcard {
namespace {

using testing::KeyDown;
using testing::Text;

TEST(KeyPressesIn, CountsEveryKeyThatYieldsACharacterOnce) {
  // Printable keys count through their text, never through the key-down, so
  // the pair SDL sends for one key is one press; text counts characters.
  const struct {
    const char* text;
    int presses;
  } texts[] = {{"a", 1}, {" ", 1}, {"\xC3\xA9", 1}, {"\xE2\x82\xAC", 1}, {"ab", 2}, {"", 0}};
  for (const auto& c : texts)
    EXPECT_EQ(KeyPressesIn(Text(c.text)), c.presses) << "text \"" << c.text << "\"";

  constexpr Uint16 kNone = KMOD_NONE, kCtrl = KMOD_LCTRL, kShift = KMOD_LSHIFT;
  constexpr Uint16 kAlt = KMOD_LALT, kAltGr = KMOD_RALT, kSuper = KMOD_LGUI;
  using Key = std::pair<SDL_Keycode, Uint16>;  // with its modifiers
  // Keys whose character SDL never reports as text, and Ctrl with a letter.
  const Key onePress[] = {
      {SDLK_RETURN, kNone},      {SDLK_KP_ENTER, kNone},   {SDLK_ESCAPE, kNone},
      {SDLK_BACKSPACE, kNone},   {SDLK_TAB, kNone},        {SDLK_TAB, kShift},
      {SDLK_RETURN, KMOD_RCTRL}, {SDLK_RETURN, KMOD_NUM},  {SDLK_a, kCtrl},
      {SDLK_z, KMOD_RCTRL},      {SDLK_q, kCtrl | kShift}, {SDLK_m, kCtrl | KMOD_CAPS}};
  // Printable keys' key-downs, Ctrl with anything but a letter, the system's
  // shortcuts, and modifier keys alone.
  const Key none[] = {{SDLK_a, kNone},          {SDLK_SPACE, kNone},   {SDLK_a, kShift},
                      {SDLK_1, kCtrl},          {SDLK_SPACE, kCtrl},   {SDLK_LEFT, kCtrl},
                      {SDLK_a, kCtrl | kAltGr}, {SDLK_RETURN, kAlt},   {SDLK_TAB, kAlt},
                      {SDLK_TAB, kSuper},       {SDLK_ESCAPE, kAltGr}, {SDLK_a, kSuper | kCtrl},
                      {SDLK_LSHIFT, kShift},    {SDLK_LCTRL, kCtrl},   {SDLK_RALT, kAltGr},
                      {SDLK_LGUI, kSuper}};
  for (const auto& [keys, presses] : {std::pair{std::span<const Key>(onePress), 1}, {none, 0}}) {
    for (const auto& [key, modifiers] : keys) {
      EXPECT_EQ(KeyPressesIn(KeyDown(key, modifiers)), presses)
          << "key " << SDL_GetKeyName(key) << ", modifiers 0x" << std::hex << modifiers;
    }
  }
  // Keys that yield no character.
  for (const SDL_Keycode key :
       {SDLK_LEFT, SDLK_DOWN, SDLK_F1, SDLK_F12, SDLK_INSERT, SDLK_DELETE, SDLK_HOME, SDLK_END,
        SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_CAPSLOCK, SDLK_NUMLOCKCLEAR, SDLK_SCROLLLOCK, SDLK_KP_5}) {
    EXPECT_EQ(KeyPressesIn(KeyDown(key)), 0) << "key " << SDL_GetKeyName(key);
  }
  // An auto-repeated character counts; releases and clicks do not.
  EXPECT_EQ(KeyPressesIn(KeyDown(SDLK_RETURN, kNone, 1)), 1);
  EXPECT_EQ(KeyPressesIn(KeyDown(SDLK_c, kCtrl, 1)), 1);
  EXPECT_EQ(KeyPressesIn(testing::KeyUp(SDLK_RETURN)), 0);
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  EXPECT_EQ(KeyPressesIn(click), 0);
}

}  // namespace
}  // namespace testcard
