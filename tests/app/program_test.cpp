// The program behind its window, with the window a stand-in that can be
// told to fail: every way the program can end, and what it says.

#include "app/program.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "tests/app/sdl_events.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using testing::Text;

// Which call of the window fails: opening it throws WindowUnavailable, the
// others raise the run-time error.
enum class Failing { kNothing, kOpen, kPlace, kPresent };

class FakeWindow : public AppWindow {
 public:
  FakeWindow(PixelSize display, std::deque<SDL_Event> events, Failing failing)
      : display_(display), events_(std::move(events)), failing_(failing) {}

  PixelSize PrimaryDisplaySize() const override { return display_; }
  PixelSize ClientSize() const override { return client_; }
  PixelSize Place(const PixelRect& client) override {
    if (failing_ == Failing::kPlace) Raise("Cannot make the window full screen");
    client_ = {client.width, client.height};
    return client_;
  }
  void Show(const Canvas& picture) override {
    picture_ = &picture;
    Present();
  }
  void Present() override {
    if (failing_ == Failing::kPresent) Raise("Cannot show the picture");
    ++presents;
    lastShown = *picture_;
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

  int presents = 0;
  Canvas lastShown;
  std::vector<std::string> boxes;

 private:
  [[noreturn]] static void Raise(const std::string& what) {
    throw RunTimeError(error_number::kWindowFailure, what + ": the window system said no");
  }

  PixelSize display_;
  PixelSize client_{640, 480};
  std::deque<SDL_Event> events_;
  Failing failing_;
  const Canvas* picture_ = nullptr;
};

struct Outcome {
  ProgramEnd end;
  std::string errors;
  FakeWindow* window = nullptr;  // owned by end.window
};

Outcome RunOn(PixelSize display, std::deque<SDL_Event> events,
              Failing failing = Failing::kNothing) {
  Outcome run;
  std::ostringstream errors;
  run.end = RunProgram(
      [&]() -> std::unique_ptr<AppWindow> {
        if (failing == Failing::kOpen) throw WindowUnavailable("cannot open a display");
        auto window = std::make_unique<FakeWindow>(display, events, failing);
        run.window = window.get();
        return window;
      },
      errors);
  run.errors = errors.str();
  return run;
}

TEST(RunProgram, EndsWithZeroOnTheThirdKeyAndOneWithAMessageOnEveryFailure) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  const std::deque<SDL_Event> keys = {Text("a"), Text(" "), Text("x")};
  const struct {
    const char* name;
    PixelSize display;
    std::deque<SDL_Event> events;
    Failing failing;
    int status;
    std::string said;  // part of what it must say on errors and in the box; empty: nothing
  } cases[] = {
      {"three keys", {640, 480}, keys, Failing::kNothing, 0, ""},
      {"a close request", {640, 480}, {Text("a"), quit}, Failing::kNothing, 0, ""},
      {"no window", {640, 480}, {}, Failing::kOpen, 1, "graphical session"},
      {"a display too wide for 16 bits",
       {40000, 600},
       keys,
       Failing::kNothing,
       1,
       "Run-time error '6': Overflow"},
      {"the window refusing to move",
       {640, 480},
       keys,
       Failing::kPlace,
       1,
       "Run-time error '480': Cannot make the window full screen"},
      {"the picture not showing",
       {640, 480},
       keys,
       Failing::kPresent,
       1,
       "Cannot show the picture"},
      {"events that cannot be read",
       {640, 480},
       {Text("a")},
       Failing::kNothing,
       1,
       "Cannot read the window's events"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = RunOn(c.display, c.events, c.failing);
    EXPECT_EQ(run.end.status, c.status);
    const bool opened = c.failing != Failing::kOpen;
    EXPECT_EQ(run.end.window != nullptr, opened);
    if (c.said.empty()) {
      EXPECT_EQ(run.errors, "");
      EXPECT_TRUE(run.window->boxes.empty());
      continue;
    }
    EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
    if (opened) {
      ASSERT_EQ(run.window->boxes.size(), 1u);
      const std::string& box = run.window->boxes.front();
      EXPECT_NE(box.find(c.said.substr(c.said.find(':') + 2)), std::string::npos) << box;
    }
  }
}

TEST(RunProgram, PutsUpEachPatternAsItsKeyArrivesAndShowsItAgainWhenAsked) {
  // Two keys with an expose between them, then the events run out.
  const Outcome run =
      RunOn({801, 601}, {Text("a"), testing::WindowEvent(SDL_WINDOWEVENT_EXPOSED), Text("b")});
  EXPECT_EQ(run.end.status, 1);
  GridForm expected(800, 600);
  ColorTest(expected);
  EXPECT_TRUE(testing::SamePicture(run.window->lastShown, expected.Picture(), "program-colour"));
  EXPECT_EQ(run.window->presents, 4) << "the grid, the cross, the cross again, the colour pattern";
}

}  // namespace
}  // namespace testcard
