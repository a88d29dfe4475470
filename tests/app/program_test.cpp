// SPDX-License-Identifier: MIT
// The program behind one stand-in window that can be told to fail: start-up
// sizing, the key-driven cycle, repaints, and every way the program ends.

#include "app/program.hpp"

#include <gtest/gtest.h>

#include <array>
#include <deque>
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

// An SDL event as the window hands it over: `code` is the key of a
// key-down or the window event's kind.
SDL_Event Event(Uint32 type, int code = 0, int modifiers = 0, const char* text = "") {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = code;
  event.key.keysym.mod = static_cast<Uint16>(modifiers);
  if (type == SDL_WINDOWEVENT) event.window.event = static_cast<Uint8>(code);
  if (type == SDL_TEXTINPUT) std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
  return event;
}

class FakeWindow : public AppWindow {
 public:
  FakeWindow(PixelSize display, std::deque<SDL_Event> events, Failing failing)
      : display_(display), events_(std::move(events)), failing_(failing) {}
  PixelSize PrimaryDisplaySize() const override { return display_; }
  PixelSize ClientSize() const override { return {asked.width, asked.height}; }
  PixelSize Place(const PixelRect& client) override {
    Fail(Failing::kPlace, "Cannot make the window full screen");
    asked = client;
    return ClientSize();
  }
  void Show(const Canvas& picture) override {
    picture_ = &picture;
    Present();
  }
  void Present() override {
    Fail(Failing::kPresent, "Cannot show the picture");
    shown.push_back(*picture_);
  }
  SDL_Event NextEvent() override {
    if (events_.empty()) Fail(failing_, "Cannot read the window's events");  // whatever fails
    const SDL_Event event = events_.front();
    events_.pop_front();
    return event;
  }
  bool ShowErrorBox(const std::string&, const std::string&) override { return ++boxes > 0; }

  PixelRect asked{1, 1, 640, 480};
  std::vector<Canvas> shown;  // every picture put on the screen, in order
  int boxes = 0;

 private:
  void Fail(Failing when, const std::string& what) const {
    if (when == failing_) throw RunTimeError(error_number::kWindowFailure, what + ": refused");
  }
  PixelSize display_;
  std::deque<SDL_Event> events_;
  Failing failing_;
  const Canvas* picture_ = nullptr;
};

TEST(RunProgram, StepsOnCharacterKeysShowsAgainWhenAskedAndEndsAsItShould) {
  constexpr auto G = Pattern::kGrid, C = Pattern::kCross, K = Pattern::kColour;
  constexpr Uint32 kKey = SDL_KEYDOWN, kWindow = SDL_WINDOWEVENT, kText = SDL_TEXTINPUT;
  // clang-format off
  const struct {
    PixelSize display;
    Failing failing;
    int status;
    std::vector<Pattern> shown;  // the patterns put on the screen, in order
    std::string said;            // part of the message on errors and in the box
    std::deque<SDL_Event> events;
  } cases[] = {
      // Key-downs count only for control characters SDL reports no text for.
      // Each case ends its own way, so that one press more or less shows.
      {{1024, 768}, Failing::kNothing, 1, {G, C, K}, "Cannot read the window's events",
       {Event(kKey, SDLK_LEFT), Event(kKey, SDLK_a), Event(kKey, SDLK_1, KMOD_LCTRL),
        Event(kText, 0, 0, "a"), Event(kKey, SDLK_DELETE), Event(kKey, SDLK_z, KMOD_LCTRL)}},
      {{640, 480}, Failing::kNothing, 0, {G, C, K}, "",
       {Event(kKey, SDLK_LEFTBRACKET, KMOD_RCTRL), Event(kKey, SDLK_SPACE, KMOD_LCTRL),
        Event(kKey, SDLK_TAB)}},
      // An odd screen; repaints and new sizes put the picture up again.
      {{801, 601}, Failing::kNothing, 1, {G, G, C, C, K}, "Cannot read the window's events",
       {Event(kWindow, SDL_WINDOWEVENT_EXPOSED), Event(kText, 0, 0, "\xC3\xA9"),
        Event(kWindow, SDL_WINDOWEVENT_SIZE_CHANGED),
        Event(kText, 0, 0, "\xE2\x90\x9B"), Event(kKey, SDLK_TAB, KMOD_LSHIFT)}},
      {{320, 240}, Failing::kNothing, 0, {G, K}, "",
       {Event(kText, 0, 0, "xy"), Event(kKey, SDLK_ESCAPE)}},
      {{640, 480}, Failing::kNothing, 0, {G, C}, "",
       {Event(kKey, SDLK_RETURN, KMOD_LALT), Event(kWindow, SDL_WINDOWEVENT_MOVED),
        Event(kWindow, SDL_WINDOWEVENT_CLOSE)}},
      {{640, 480}, Failing::kNothing, 0, {G}, "", {Event(SDL_QUIT)}},
      {{640, 480}, Failing::kOpen, 1, {}, "graphical session", {}},
      {{40000, 600}, Failing::kNothing, 1, {}, "Run-time error '6': Overflow", {}},
      {{640, 480}, Failing::kPlace, 1, {}, "'480': Cannot make the window full screen", {}},
      {{640, 480}, Failing::kPresent, 1, {}, "Cannot show the picture", {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
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
    EXPECT_TRUE(c.said.empty() ? errors.str().empty()
                               : errors.str().find(c.said) != std::string::npos)
        << errors.str();
    if (window == nullptr) continue;
    EXPECT_EQ(window->boxes, c.said.empty() ? 0 : 1);
    // Even-sized, at the top-left corner, the screen's size less at most one.
    const int width = c.display.width / 2 * 2, height = c.display.height / 2 * 2;
    const PixelRect& a = window->asked;
    if (!c.shown.empty()) {
      EXPECT_EQ((std::array{a.left, a.top, a.width, a.height}), (std::array{0, 0, width, height}));
    }
    ASSERT_EQ(window->shown.size(), c.shown.size());
    for (std::size_t i = 0; i < c.shown.size(); ++i) {
      GridForm expected(width, height);
      DrawPattern(expected, c.shown[i]);
      EXPECT_TRUE(testing::SamePicture(window->shown[i], expected.Picture()));
    }
  }
}

}  // namespace
}  // namespace testcard
