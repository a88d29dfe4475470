// SPDX-License-Identifier: MIT
// The program behind one stand-in window that can be told to fail: start-up
// sizing, the key-driven cycle, repaints, and every way the program ends.

#include "app/program.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

enum class Failing { kNothing, kOpen, kPlace, kPresent };

SDL_Event Text(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::snprintf(event.text.text, sizeof event.text.text, "%s", utf8);
  return event;
}
SDL_Event Key(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  return event;
}
SDL_Event Window(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  return event;
}
SDL_Event Quit() {
  SDL_Event event{};
  event.type = SDL_QUIT;
  return event;
}

class FakeWindow : public AppWindow {
 public:
  FakeWindow(PixelSize display, std::deque<SDL_Event> events, Failing failing)
      : display_(display), events_(std::move(events)), failing_(failing) {}
  PixelSize PrimaryDisplaySize() const override { return display_; }
  PixelSize ClientSize() const override { return {asked.width, asked.height}; }
  PixelSize Place(const PixelRect& client) override {
    if (failing_ == Failing::kPlace) Raise("Cannot make the window full screen");
    asked = client;
    return ClientSize();
  }
  void Show(const Canvas& picture) override {
    picture_ = &picture;
    Present();
  }
  void Present() override {
    if (failing_ == Failing::kPresent) Raise("Cannot show the picture");
    shown.push_back(*picture_);
  }
  SDL_Event NextEvent() override {
    if (events_.empty()) Raise("Cannot read the window's events");
    const SDL_Event event = events_.front();
    events_.pop_front();
    return event;
  }
  bool ShowErrorBox(const std::string&, const std::string& text) override {
    boxes.push_back(text);
    return true;
  }

  PixelRect asked{0, 0, 640, 480};
  std::vector<Canvas> shown;  // every picture put on the screen, in order
  std::vector<std::string> boxes;

 private:
  [[noreturn]] static void Raise(const std::string& what) {
    throw RunTimeError(error_number::kWindowFailure, what + ": the window system said no");
  }
  PixelSize display_;
  std::deque<SDL_Event> events_;
  Failing failing_;
  const Canvas* picture_ = nullptr;
};

Canvas Rendering(Pattern pattern, PixelRect size) {
  GridForm form(size.width, size.height);
  DrawPattern(form, pattern);
  return form.Picture();
}

TEST(RunProgram, StepsOnCharacterKeysShowsAgainWhenAskedAndEndsAsItShould) {
  constexpr auto G = Pattern::kGrid, C = Pattern::kCross, K = Pattern::kColour;
  const struct {
    const char* name;
    PixelSize display;
    std::deque<SDL_Event> events;
    Failing failing;
    int status;
    std::vector<Pattern> shown;  // the patterns put on the screen, in order
    std::string said;            // part of the message on errors and in the box
  } cases[] = {
      {"character keys; the rest change nothing",
       {1024, 768},
       {Key(SDLK_LEFT), Key(SDLK_F5), Key(SDLK_LSHIFT), Key(SDLK_a), Key(SDLK_1, KMOD_LCTRL),
        Text("a"), Key(SDLK_DELETE), Key(SDLK_RETURN, KMOD_LALT), Key(SDLK_ESCAPE)},
       Failing::kNothing,
       0,
       {G, C, K},
       ""},
      {"control characters typed on other window systems",
       {640, 480},
       {Key(SDLK_LEFTBRACKET, KMOD_RCTRL), Key(SDLK_SPACE, KMOD_LCTRL), Key(SDLK_z, KMOD_LCTRL)},
       Failing::kNothing,
       0,
       {G, C, K},
       ""},
      {"an odd screen; repaints and new sizes show the picture again",
       {801, 601},
       {Window(SDL_WINDOWEVENT_EXPOSED), Text("\xC3\xA9"), Window(SDL_WINDOWEVENT_SIZE_CHANGED),
        Window(SDL_WINDOWEVENT_MOVED), Text("\xE2\x90\x9B")},
       Failing::kNothing,
       1,
       {G, G, C, C, K},
       "Cannot read the window's events"},
      {"two characters in one text are two presses",
       {320, 240},
       {Text("xy"), Text("z")},
       Failing::kNothing,
       0,
       {G, K},
       ""},
      {"a close request",
       {640, 480},
       {Text("a"), Window(SDL_WINDOWEVENT_CLOSE)},
       Failing::kNothing,
       0,
       {G, C},
       ""},
      {"quit", {640, 480}, {Quit()}, Failing::kNothing, 0, {G}, ""},
      {"no window", {640, 480}, {}, Failing::kOpen, 1, {}, "graphical session"},
      {"a display too wide for 16 bits",
       {40000, 600},
       {},
       Failing::kNothing,
       1,
       {},
       "Run-time error '6': Overflow"},
      {"the window refusing to move",
       {640, 480},
       {},
       Failing::kPlace,
       1,
       {},
       "Run-time error '480': Cannot make the window full screen"},
      {"the picture not showing",
       {640, 480},
       {},
       Failing::kPresent,
       1,
       {},
       "Cannot show the picture"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream errors;
    FakeWindow* window = nullptr;
    const ProgramEnd end = RunProgram(
        [&]() -> std::unique_ptr<AppWindow> {
          if (c.failing == Failing::kOpen) throw WindowUnavailable("cannot open a display");
          auto made = std::make_unique<FakeWindow>(c.display, c.events, c.failing);
          window = made.get();
          return made;
        },
        errors);
    EXPECT_EQ(end.status, c.status);
    if (c.said.empty()) {
      EXPECT_EQ(errors.str(), "");
    } else {
      EXPECT_NE(errors.str().find(c.said), std::string::npos) << errors.str();
    }
    if (window == nullptr) continue;
    EXPECT_EQ(window->boxes.size(), c.said.empty() ? 0u : 1u);
    if (c.shown.empty()) continue;
    // Even-sized, at the top-left corner, the screen's size less at most one.
    const PixelRect even{0, 0, c.display.width / 2 * 2, c.display.height / 2 * 2};
    EXPECT_EQ(window->asked.width, even.width);
    EXPECT_EQ(window->asked.height, even.height);
    EXPECT_EQ(window->asked.left + window->asked.top, 0);
    ASSERT_EQ(window->shown.size(), c.shown.size());
    for (std::size_t i = 0; i < c.shown.size(); ++i) {
      EXPECT_TRUE(testing::SamePicture(window->shown[i], Rendering(c.shown[i], even), "program"))
          << "picture " << i;
    }
  }
}

}  // namespace
}  // namespace testcard
