// SPDX-License-Identifier: MIT
// The desktop program behind one stand-in window that can be told to fail:
// start-up sizing, the key-driven cycle, repaints, new sizes on every
// pattern, and every way the program ends.

#include "app/desktop/program.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/form/grid_form.hpp"
#include "surface/form/run_time_error.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

enum class Failing { kNothing, kOpen, kPlace, kPresent };

WindowEvent Event(WindowEvent::Kind kind) {
  return WindowEvent::Of(kind);
}

class FakeWindow : public AppWindow {
 public:
  FakeWindow(PixelSize display, std::deque<WindowEvent> events, Failing failing)
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
  WindowEvent NextEvent() override {
    if (events_.empty()) Fail(failing_, "Cannot read the window's events");  // whatever fails
    const WindowEvent event = events_.front();
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
  std::deque<WindowEvent> events_;
  Failing failing_;
  const Canvas* picture_ = nullptr;
};

// A picture the program is to put on the screen.
struct Shown {
  Pattern pattern;
  int width, height;
};

TEST(RunProgram, StepsRedrawsForNewSizesShowsAgainAndEndsAsItShould) {
  constexpr auto G = Pattern::kGrid, C = Pattern::kCross, K = Pattern::kColour;
  using Kind = WindowEvent::Kind;
  const auto typed = WindowEvent::Typed;
  const auto resized = [](int width, int height, int screenWidth, int screenHeight) {
    return WindowEvent::Resized({width, height}, {screenWidth, screenHeight});
  };
  // clang-format off
  const struct {
    PixelSize display;
    Failing failing;
    int status;
    std::vector<Shown> shown;  // the pictures put on the screen, in order
    std::string said;          // part of the message on errors and in the box
    std::deque<WindowEvent> events;
  } cases[] = {
      // Each case ends its own way, so that one press more or less shows.
      {{1024, 768}, Failing::kNothing, 1, {{G, 1024, 768}, {C, 1024, 768}, {K, 1024, 768}},
       "Cannot read the window's events",
       {Event(Kind::kNothing), typed(1), typed(1)}},
      {{640, 480}, Failing::kNothing, 0, {{G, 640, 480}, {C, 640, 480}, {K, 640, 480}},
       "", {typed(1), typed(1), typed(1)}},
      // Several presses in one event step one after the other.
      {{320, 240}, Failing::kNothing, 0, {{G, 320, 240}, {K, 320, 240}}, "", {typed(2), typed(1)}},
      {{320, 240}, Failing::kNothing, 0, {{G, 320, 240}}, "", {typed(3)}},
      // An odd screen; a repaint and a size that rounds to the same even
      // size show the same picture again.
      {{801, 601}, Failing::kNothing, 1,
       {{G, 800, 600}, {G, 800, 600}, {C, 800, 600}, {C, 800, 600}},
       "Cannot read the window's events",
       {Event(Kind::kShowAgain), typed(1), resized(801, 601, 801, 601)}},
      // A new size redraws the pattern on show for the screen, on every
      // pattern, whichever side changed.
      {{640, 480}, Failing::kNothing, 0,
       {{G, 640, 480}, {G, 1024, 768}, {C, 1024, 768}, {C, 1024, 600}, {K, 1024, 600},
        {K, 800, 600}},
       "",
       {resized(1024, 769, 1024, 769), typed(1), resized(1024, 600, 1025, 600), typed(1),
        resized(800, 600, 800, 600), typed(1)}},
      {{640, 480}, Failing::kNothing, 0, {{G, 640, 480}, {C, 640, 480}}, "",
       {typed(1), Event(Kind::kClose)}},
      {{640, 480}, Failing::kOpen, 1, {}, "graphical session", {}},
      {{40000, 600}, Failing::kNothing, 1, {}, "Run-time error '6': Overflow", {}},
      {{640, 480}, Failing::kNothing, 1, {{G, 640, 480}}, "Run-time error '6': Overflow",
       {resized(1, 1, 40000, 600)}},
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
    ASSERT_EQ(window->shown.size(), c.shown.size());
    for (std::size_t i = 0; i < c.shown.size(); ++i) {
      GridForm expected(c.shown[i].width, c.shown[i].height);
      DrawPattern(expected, c.shown[i].pattern);
      EXPECT_TRUE(testing::SamePicture(window->shown[i], expected.Picture())) << "picture " << i;
    }
    // The window covers the screen from its top-left corner, even-sized.
    if (end.status == 0) {
      const Shown& last = c.shown.back();
      const PixelRect& a = window->asked;
      EXPECT_EQ((std::vector{a.left, a.top, a.width, a.height}),
                (std::vector{0, 0, last.width, last.height}));
    }
  }
}

}  // namespace
}  // namespace testcard
