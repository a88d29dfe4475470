// The program behind its window, with the window a stand-in that can be
// told to fail: every way the program can end, and what it says.

#include "app/program.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
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

// Which call of the window fails, raising the run-time error.
enum class Failing { kNothing, kPlace, kPresent };

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

TEST(RunProgram, EndsWithZeroOnTheThirdKeyAndOneWithAMessageOnEveryFailure) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  const std::deque<SDL_Event> threeKeys = {Text("a"), Text(" "), Text("x")};
  const struct {
    const char* name;
    bool windowOpens;
    PixelSize display;
    std::deque<SDL_Event> events;
    Failing failing;
    int status;
    std::string said;  // part of what it must say on errors and in the box; empty: nothing
  } cases[] = {
      {"three keys", true, {640, 480}, threeKeys, Failing::kNothing, 0, ""},
      {"a close request", true, {640, 480}, {Text("a"), quit}, Failing::kNothing, 0, ""},
      {"no window", false, {640, 480}, {}, Failing::kNothing, 1, "graphical session"},
      {"a display too wide for 16 bits",
       true,
       {40000, 600},
       threeKeys,
       Failing::kNothing,
       1,
       "Run-time error '6': Overflow"},
      {"the window refusing to move",
       true,
       {640, 480},
       threeKeys,
       Failing::kPlace,
       1,
       "Run-time error '480': Cannot make the window full screen"},
      {"the picture not showing",
       true,
       {640, 480},
       threeKeys,
       Failing::kPresent,
       1,
       "Cannot show the picture"},
      {"events that cannot be read",
       true,
       {640, 480},
       {Text("a")},
       Failing::kNothing,
       1,
       "Cannot read the window's events"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow* fake = nullptr;
    std::ostringstream errors;
    const ProgramEnd end = RunProgram(
        [&]() -> std::unique_ptr<AppWindow> {
          if (!c.windowOpens) throw WindowUnavailable("cannot open a display");
          auto window = std::make_unique<FakeWindow>(c.display, c.events, c.failing);
          fake = window.get();
          return window;
        },
        errors);
    EXPECT_EQ(end.status, c.status);
    EXPECT_EQ(end.window != nullptr, c.windowOpens);
    if (c.said.empty()) {
      EXPECT_EQ(errors.str(), "");
      EXPECT_TRUE(fake->boxes.empty());
      continue;
    }
    EXPECT_NE(errors.str().find(c.said), std::string::npos) << errors.str();
    if (c.windowOpens) {
      ASSERT_EQ(fake->boxes.size(), 1u);
      const std::string box = fake->boxes.front();
      EXPECT_NE(box.find(c.said.substr(c.said.find(':') + 2)), std::string::npos) << box;
    }
  }
}

TEST(RunProgram, PutsUpEachPatternAsItsKeyArrives) {
  FakeWindow* fake = nullptr;
  std::ostringstream errors;
  const ProgramEnd end = RunProgram(
      [&]() -> std::unique_ptr<AppWindow> {
        auto window = std::make_unique<FakeWindow>(
            PixelSize{801, 601}, std::deque<SDL_Event>{Text("a"), Text("b")}, Failing::kNothing);
        fake = window.get();
        return window;
      },
      errors);
  // Two keys, then the events run out: the colour pattern is what it shows.
  EXPECT_EQ(end.status, 1);
  GridForm expected(800, 600);
  ColorTest(expected);
  EXPECT_TRUE(testing::SamePicture(fake->lastShown, expected.Picture(), "program-colour"));
  EXPECT_EQ(fake->presents, 3) << "the grid, the cross, the colour pattern";
}

}  // namespace
}  // namespace testcard
