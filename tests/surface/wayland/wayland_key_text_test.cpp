// SPDX-License-Identifier: MIT
// The key rule where testcard reads the keyboard itself (Wayland): the same
// presses on the same layouts as the X11 key-layout cases, through the
// keymaps xkbcommon compiles for those layouts, as a compositor sends them.

#include "surface/wayland/wayland_key_text.hpp"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>
#include <string>
#include <vector>

namespace testcard {
namespace {

constexpr std::uint32_t kEvdevToXkb = 8;

struct Keyboard {
  explicit Keyboard(const char* layout, const char* variant) {
    const xkb_rule_names names{"evdev", "pc105", layout, variant, nullptr};
    keymap.reset(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (keymap) state.reset(xkb_state_new(keymap.get()));
  }
  // Presses `keys` in order, all but the last held around it, and returns
  // whether the last one typed a character.
  bool Press(const std::vector<std::uint32_t>& keys) {
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
      xkb_state_update_key(state.get(), keys[i] + kEvdevToXkb, XKB_KEY_DOWN);
    }
    const bool typed = TypesCharacter(state.get(), keys.back());
    for (std::size_t i = keys.size() - 1; i-- > 0;) {
      xkb_state_update_key(state.get(), keys[i] + kEvdevToXkb, XKB_KEY_UP);
    }
    // A lock key is a press and a release of its own.
    xkb_state_update_key(state.get(), keys.back() + kEvdevToXkb, XKB_KEY_DOWN);
    xkb_state_update_key(state.get(), keys.back() + kEvdevToXkb, XKB_KEY_UP);
    return typed;
  }

  std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> context{
      xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref};
  std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> keymap{nullptr, xkb_keymap_unref};
  std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> state{nullptr, xkb_state_unref};
};

TEST(TypesCharacter, EveryKeyClassOnTheLayoutsUsersHave) {
  const std::uint32_t kCtrl = KEY_LEFTCTRL, kShift = KEY_LEFTSHIFT, kAlt = KEY_LEFTALT,
                      kAltGr = KEY_RIGHTALT, kSuper = KEY_LEFTMETA;
  // Keys by their place on the keyboard; whether each press types at least
  // one character.
  const struct {
    const char* layout;
    const char* variant;
    std::vector<std::vector<std::uint32_t>> presses;
    std::vector<int> typed;
  } cases[] = {
      // Keys that type nothing.
      {"us",
       "",
       {{KEY_LEFT},
        {KEY_F1},
        {KEY_INSERT},
        {KEY_DELETE},
        {KEY_HOME},
        {KEY_PAGEDOWN},
        {KEY_KPDOT},
        {kCtrl, KEY_DELETE},
        {kShift},
        {kCtrl},
        {kAlt},
        {kSuper},
        {kAltGr},
        {KEY_CAPSLOCK},
        {KEY_NUMLOCK},
        {kShift, KEY_TAB}},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Printable keys and control characters: CR, CR, ESC, BS, TAB, SOH,
      // SUB, ESC, FS, GS, NUL, NUL; a modifier that still types the key's
      // character.
      {"us",
       "",
       {{KEY_SPACE},
        {kShift, KEY_A},
        {KEY_ENTER},
        {KEY_KPENTER},
        {KEY_ESC},
        {KEY_BACKSPACE},
        {KEY_TAB},
        {kCtrl, KEY_A},
        {kCtrl, KEY_Z},
        {kCtrl, KEY_LEFTBRACE},
        {kCtrl, KEY_BACKSLASH},
        {kCtrl, KEY_RIGHTBRACE},
        {kCtrl, KEY_SPACE},
        {kCtrl, kShift, KEY_2},
        {kCtrl, KEY_1},
        {kAlt, KEY_A},
        {kSuper, KEY_A},
        {kAlt, KEY_ENTER}},
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      // @ with AltGr, z on the y key; a dead circumflex types nothing alone,
      // then e types one character.
      {"de",
       "",
       {{kAltGr, KEY_Q}, {KEY_Y}, {kAltGr}, {kCtrl, kShift, KEY_2}, {KEY_GRAVE}, {KEY_E}},
       {1, 1, 0, 1, 0, 1}},
      // Cyrillic, two bytes one character; with Ctrl still one.
      {"ru", "", {{KEY_A}, {kCtrl, KEY_A}}, {1, 1}},
      // A dead acute waits; then e, or space.
      {"us", "intl", {{KEY_APOSTROPHE}, {KEY_E}, {KEY_APOSTROPHE}, {KEY_SPACE}}, {0, 1, 0, 1}},
      // Caps Lock makes capitals, which still type.
      {"us", "", {{KEY_CAPSLOCK}, {KEY_A}, {KEY_CAPSLOCK}}, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    Keyboard keyboard(c.layout, c.variant);
    ASSERT_TRUE(keyboard.state) << "no keymap for " << c.layout << " " << c.variant
                                << ": is xkb-data installed?";
    std::vector<int> typed;
    for (const auto& press : c.presses)
      typed.push_back(keyboard.Press(press) ? 1 : 0);
    EXPECT_EQ(typed, c.typed) << c.layout << " " << c.variant;
  }
}

}  // namespace
}  // namespace testcard
