#include "app/key_presses.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/app/sdl_events.hpp"

namespace testcard {
namespace {

using testing::KeyDown;
using testing::KeyUp;
using testing::Text;

TEST(KeyPressesIn, CountsEveryKeyThatYieldsACharacterOnce) {
  const struct {
    const char* what;
    SDL_Event event;
    int presses;
  } cases[] = {
      // Printable keys count through their text, never through the key-down,
      // so the pair that SDL sends for one key is one press.
      {"text a", Text("a"), 1},
      {"text space", Text(" "), 1},
      {"text digit", Text("7"), 1},
      {"text e-acute (two bytes)", Text("\xC3\xA9"), 1},
      {"text euro sign (three bytes)", Text("\xE2\x82\xAC"), 1},
      {"text of two characters from an input method", Text("ab"), 2},
      {"empty text", Text(""), 0},
      {"key-down a", KeyDown(SDLK_a), 0},
      {"key-down space", KeyDown(SDLK_SPACE), 0},
      {"key-down shifted a", KeyDown(SDLK_a, KMOD_LSHIFT), 0},
      // Keys whose character SDL never reports as text.
      {"Enter", KeyDown(SDLK_RETURN), 1},
      {"keypad Enter", KeyDown(SDLK_KP_ENTER), 1},
      {"Escape", KeyDown(SDLK_ESCAPE), 1},
      {"Backspace", KeyDown(SDLK_BACKSPACE), 1},
      {"Tab", KeyDown(SDLK_TAB), 1},
      {"Shift+Tab", KeyDown(SDLK_TAB, KMOD_LSHIFT), 1},
      {"Ctrl+Enter", KeyDown(SDLK_RETURN, KMOD_RCTRL), 1},
      {"auto-repeated Enter", KeyDown(SDLK_RETURN, KMOD_NONE, 1), 1},
      {"Enter with Num Lock on", KeyDown(SDLK_RETURN, KMOD_NUM), 1},
      {"Ctrl+a", KeyDown(SDLK_a, KMOD_LCTRL), 1},
      {"Ctrl+z (right Ctrl)", KeyDown(SDLK_z, KMOD_RCTRL), 1},
      {"Ctrl+Shift+q", KeyDown(SDLK_q, KMOD_LCTRL | KMOD_LSHIFT), 1},
      {"auto-repeated Ctrl+c", KeyDown(SDLK_c, KMOD_LCTRL, 1), 1},
      {"Ctrl+Caps Lock+m", KeyDown(SDLK_m, KMOD_LCTRL | KMOD_CAPS), 1},
      // Ctrl with anything but a letter, and the system's shortcuts.
      {"Ctrl+1", KeyDown(SDLK_1, KMOD_LCTRL), 0},
      {"Ctrl+space", KeyDown(SDLK_SPACE, KMOD_LCTRL), 0},
      {"Ctrl+Left", KeyDown(SDLK_LEFT, KMOD_LCTRL), 0},
      {"Ctrl+Alt+a (AltGr)", KeyDown(SDLK_a, KMOD_LCTRL | KMOD_RALT), 0},
      {"Alt+Enter", KeyDown(SDLK_RETURN, KMOD_LALT), 0},
      {"Alt+Tab", KeyDown(SDLK_TAB, KMOD_LALT), 0},
      {"Super+Tab", KeyDown(SDLK_TAB, KMOD_LGUI), 0},
      {"Alt+Escape", KeyDown(SDLK_ESCAPE, KMOD_RALT), 0},
      {"Super+a", KeyDown(SDLK_a, KMOD_LGUI | KMOD_LCTRL), 0},
      // Keys that yield no character.
      {"Left", KeyDown(SDLK_LEFT), 0},
      {"Right", KeyDown(SDLK_RIGHT), 0},
      {"Up", KeyDown(SDLK_UP), 0},
      {"Down", KeyDown(SDLK_DOWN), 0},
      {"F1", KeyDown(SDLK_F1), 0},
      {"F5", KeyDown(SDLK_F5), 0},
      {"F12", KeyDown(SDLK_F12), 0},
      {"left Shift", KeyDown(SDLK_LSHIFT, KMOD_LSHIFT), 0},
      {"right Shift", KeyDown(SDLK_RSHIFT, KMOD_RSHIFT), 0},
      {"left Ctrl", KeyDown(SDLK_LCTRL, KMOD_LCTRL), 0},
      {"right Alt", KeyDown(SDLK_RALT, KMOD_RALT), 0},
      {"Super", KeyDown(SDLK_LGUI, KMOD_LGUI), 0},
      {"Insert", KeyDown(SDLK_INSERT), 0},
      {"Delete", KeyDown(SDLK_DELETE), 0},
      {"Home", KeyDown(SDLK_HOME), 0},
      {"End", KeyDown(SDLK_END), 0},
      {"Page Up", KeyDown(SDLK_PAGEUP), 0},
      {"Page Down", KeyDown(SDLK_PAGEDOWN), 0},
      {"Caps Lock", KeyDown(SDLK_CAPSLOCK), 0},
      {"Num Lock", KeyDown(SDLK_NUMLOCKCLEAR), 0},
      {"Scroll Lock", KeyDown(SDLK_SCROLLLOCK), 0},
      {"keypad 5 without Num Lock", KeyDown(SDLK_KP_5), 0},
      // Other events.
      {"Enter released", KeyUp(SDLK_RETURN), 0},
      {"a released", KeyUp(SDLK_a), 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KeyPressesIn(c.event), c.presses) << c.what;

  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  EXPECT_EQ(KeyPressesIn(click), 0) << "mouse click";
}

}  // namespace
}  // namespace testcard
