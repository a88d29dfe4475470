// SPDX-License-Identifier: MIT
// What SDL's events mean to the program, the key rule above all: which key
// presses SDL reports step the patterns, on every window system where SDL's
// own keyboard decides (Wayland and any but X11).

#include "surface/sdl/sdl_events.hpp"

#include <gtest/gtest.h>

#include <cstdio>

namespace testcard {
namespace {

using Kind = WindowEvent::Kind;

SDL_Event Key(SDL_Keycode key, int modifiers = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = static_cast<Uint16>(modifiers);
  return event;
}

SDL_Event Text(const char* text) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
  return event;
}

SDL_Event Window(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  return event;
}

TEST(TranslateSdlEvent, CountsThePressesThatTypeACharacterAndNamesWindowEvents) {
  const auto kCtrl = KMOD_LCTRL, kShift = KMOD_LSHIFT, kAlt = KMOD_LALT;
  const struct {
    const char* what;
    SDL_Event event;
    Kind kind;
    int presses;
  } cases[] = {
      // Printable text arrives as text, a press per character however many
      // bytes it takes; the key-downs of printable keys count nothing.
      {"a", Text("a"), Kind::kTyped, 1},
      {"two characters at once", Text("xy"), Kind::kTyped, 2},
      {"e acute, two bytes", Text("\xC3\xA9"), Kind::kTyped, 1},
      {"Cyrillic ef and a euro sign", Text("\xD1\x84\xE2\x82\xAC"), Kind::kTyped, 2},
      {"empty text", Text(""), Kind::kNothing, 0},
      {"key-down of a", Key(SDLK_a), Kind::kNothing, 0},
      {"key-down of space", Key(SDLK_SPACE), Kind::kNothing, 0},
      {"Ctrl+1", Key(SDLK_1, kCtrl), Kind::kNothing, 0},
      // Keys that type control characters, whatever else is held.
      {"Enter", Key(SDLK_RETURN), Kind::kTyped, 1},
      {"Alt+Enter", Key(SDLK_RETURN, kAlt), Kind::kTyped, 1},
      {"keypad Enter", Key(SDLK_KP_ENTER), Kind::kTyped, 1},
      {"Escape", Key(SDLK_ESCAPE), Kind::kTyped, 1},
      {"Backspace", Key(SDLK_BACKSPACE), Kind::kTyped, 1},
      {"Tab", Key(SDLK_TAB), Kind::kTyped, 1},
      {"Shift+Tab", Key(SDLK_TAB, kShift), Kind::kNothing, 0},
      {"Ctrl+a", Key(SDLK_a, kCtrl), Kind::kTyped, 1},
      {"Ctrl+z", Key(SDLK_z, KMOD_RCTRL), Kind::kTyped, 1},
      {"Ctrl+[", Key(SDLK_LEFTBRACKET, kCtrl), Kind::kTyped, 1},
      {"Ctrl+\\", Key(SDLK_BACKSLASH, kCtrl), Kind::kTyped, 1},
      {"Ctrl+]", Key(SDLK_RIGHTBRACKET, kCtrl), Kind::kTyped, 1},
      {"Ctrl+Space", Key(SDLK_SPACE, kCtrl), Kind::kTyped, 1},
      // Keys that type nothing.
      {"Left", Key(SDLK_LEFT), Kind::kNothing, 0},
      {"F1", Key(SDLK_F1), Kind::kNothing, 0},
      {"Insert", Key(SDLK_INSERT), Kind::kNothing, 0},
      {"Delete", Key(SDLK_DELETE), Kind::kNothing, 0},
      {"Ctrl+Delete", Key(SDLK_DELETE, kCtrl), Kind::kNothing, 0},
      {"Home", Key(SDLK_HOME), Kind::kNothing, 0},
      {"Page Down", Key(SDLK_PAGEDOWN), Kind::kNothing, 0},
      {"Shift alone", Key(SDLK_LSHIFT, kShift), Kind::kNothing, 0},
      {"Ctrl alone", Key(SDLK_LCTRL, kCtrl), Kind::kNothing, 0},
      {"Caps Lock", Key(SDLK_CAPSLOCK), Kind::kNothing, 0},
      // The window's own events.
      {"quit", SDL_Event{SDL_QUIT}, Kind::kClose, 0},
      {"close", Window(SDL_WINDOWEVENT_CLOSE), Kind::kClose, 0},
      {"exposed", Window(SDL_WINDOWEVENT_EXPOSED), Kind::kShowAgain, 0},
      {"shown", Window(SDL_WINDOWEVENT_SHOWN), Kind::kShowAgain, 0},
      {"restored", Window(SDL_WINDOWEVENT_RESTORED), Kind::kShowAgain, 0},
      {"maximized", Window(SDL_WINDOWEVENT_MAXIMIZED), Kind::kShowAgain, 0},
      {"size changed", Window(SDL_WINDOWEVENT_SIZE_CHANGED), Kind::kResized, 0},
      {"display changed", Window(SDL_WINDOWEVENT_DISPLAY_CHANGED), Kind::kResized, 0},
      {"moved", Window(SDL_WINDOWEVENT_MOVED), Kind::kNothing, 0},
      {"focus gained", Window(SDL_WINDOWEVENT_FOCUS_GAINED), Kind::kNothing, 0},
  };
  for (const auto& c : cases) {
    const WindowEvent meaning = TranslateSdlEvent(c.event);
    EXPECT_EQ(meaning.kind, c.kind) << c.what;
    EXPECT_EQ(meaning.presses, c.presses) << c.what;
  }
}

}  // namespace
}  // namespace testcard
