// SPDX-License-Identifier: MIT
// testcard as users meet it: real window systems started by each test (Xvfb
// with and without a window manager, sway headless with XWayland, weston in
// an Xvfb), real key presses on real keyboard layouts, and the screen read
// back in device pixels and compared with a headless rendering.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "tests/app/window_systems.hpp"

namespace testcard::testing {
namespace {

// Long enough for a start on a busy machine; the waits end as soon as the
// screen shows what is expected.
constexpr milliseconds kAppears(15000);
// How long a key that must change nothing is given to change something.
constexpr milliseconds kSettle(300);
constexpr milliseconds kExits(3000);

std::vector<Canvas> Patterns(int width, int height) {
  std::vector<Canvas> patterns;
  for (const Pattern pattern : {Pattern::kGrid, Pattern::kCross, Pattern::kColour}) {
    GridForm form(width, height);
    DrawPattern(form, pattern);
    patterns.push_back(form.Picture());
  }
  return patterns;
}

// Left types nothing and leaves the grid; a, Return and Escape step to the
// cross, the colour pattern and the end. `atStep(step, width, height)` runs
// while each pattern shows and may change the picture's size; the pattern
// must show again after it. No click and no focus from the test: keys must
// reach the window as it appears.
void StepsThroughThePatterns(const WindowSystem& screen, ChildProcess& program, int width,
                             int height, const std::function<void(int, int&, int&)>& atStep) {
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_EQ(WaitUntilShowing(screen, Patterns(width, height)[step], kAppears), "")
        << program.Output();
    atStep(step, width, height);
    ASSERT_EQ(WaitUntilShowing(screen, Patterns(width, height)[step], kAppears), "") << "again";
    if (step == 0) {
      screen.Press("Left");
      std::this_thread::sleep_for(kSettle);
      ASSERT_EQ(WaitUntilShowing(screen, Patterns(width, height)[0], milliseconds(0)), "");
    }
    screen.Press(std::vector<std::string>{"a", "Return", "Escape"}[std::size_t(step)]);
  }
  EXPECT_EQ(program.WaitForExit(kExits), 0) << program.Output();
}

TEST(EndToEnd, ShowsEachPatternPixelForPixelOnEveryKindOfXScreen) {
  const struct {
    const char* name;
    XSetup setup;
    int width, height;  // the picture testcard is to show
  } cases[] = {
      {"bare X server", {800, 600}, 800, 600},
      {"odd-sized screen", {641, 481}, 640, 480},
      {"openbox and a dock at the top", {640, 480, 24, 40}, 640, 480},
      {"depth 30", {640, 480, 30}, 640, 480},
      {"depth 16", {320, 240, 16}, 320, 240},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const XSession session(c.setup);
    ChildProcess program({TESTCARD_PROGRAM}, session.Environment());
    StepsThroughThePatterns(session, program, c.width, c.height, [&](int step, int&, int&) {
      if (step == 0 && c.setup.dockHeight > 0) {
        // Full screen as the window manager knows it: panels that raise
        // themselves stay below.
        const std::string state =
            RunToEnd({"xprop", "-name", "Form1", "_NET_WM_STATE"}, session.Environment());
        EXPECT_NE(state.find("_NET_WM_STATE_FULLSCREEN"), std::string::npos) << state;
      }
      if (step == 1) {  // the picture persists, covered and uncovered again
        const unsigned long cover = session.Cover(0x996633);
        const Canvas covered(c.setup.width, c.setup.height, 0x996633);
        ASSERT_EQ(WaitUntilShowing(session, covered, kAppears), "");
        session.DestroyWindow(cover);
      }
    });
  }
}

// Keys are named by what they type on the US layout, so on another layout
// the same physical keys. Each case in a fresh testcard.
TEST(EndToEnd, AKeyAdvancesExactlyWhenItTypesACharacterOnTheUsersLayout) {
  // clang-format off
  const struct {
    const char* layout;
    const char* variant;
    std::vector<std::pair<const char*, int>> cases;  // presses and the steps they make
  } layouts[] = {
      {"us", "", {
        // Keys that type nothing, however many events they make.
        {"Left F1 Insert Delete Home KP_Delete Ctrl+Delete Shift_L Control_L Alt_L Super_L Alt_R", 0},
        {"Caps_Lock Caps_Lock Num_Lock Num_Lock Shift+Tab", 0},  // Shift+Tab: ISO_Left_Tab
        {"Left*300 space F5*300", 1}, {"Shift+a", 1},
        // Control characters: CR, CR, ESC, BS, TAB, SOH, ESC, NUL, NUL.
        {"Return", 1}, {"KP_Enter", 1}, {"Escape", 1}, {"BackSpace", 1}, {"Tab", 1},
        {"Ctrl+a", 1}, {"Ctrl+bracketleft", 1}, {"Ctrl+space", 1}, {"Ctrl+Shift+2", 1},
        // Modifiers that still type the key's character.
        {"Ctrl+1 Alt+a", 2}, {"Alt+Return", 1}}},
      // @ and z; Ctrl+Shift+2 types ", printable here; a dead ^ waits, then e is ê.
      {"de", "", {{"AltGr+q y", 2}, {"AltGr", 0}, {"Ctrl+Shift+2", 1}, {"grave", 0}, {"grave e", 1}}},
      // Cyrillic ф, two bytes one character; with Ctrl still one step.
      {"ru", "", {{"a", 1}, {"Ctrl+a", 1}}},
      // A dead acute waits, then e types é; then space, the apostrophe.
      {"us", "intl", {{"apostrophe", 0}, {"apostrophe e", 1}, {"apostrophe space", 1}}},
  };
  // clang-format on
  const std::map<std::string, std::string> modifiers = {
      {"Ctrl", "Control_L"}, {"Shift", "Shift_L"}, {"Alt", "Alt_L"}, {"AltGr", "Alt_R"}};
  const XSession session({320, 240});
  const std::vector<Canvas> patterns = Patterns(320, 240);
  for (const auto& layout : layouts) {
    RunToEnd({"setxkbmap", "-layout", "us"}, session.Environment());
    // Key codes for each press in "Ctrl+Shift+2 a Left*300" ("*n" repeats).
    std::vector<std::vector<std::vector<unsigned>>> codes;
    for (const auto& [presses, steps] : layout.cases) {
      std::istringstream words(presses);
      codes.emplace_back();
      for (std::string word; words >> word;) {
        const std::size_t star = word.find('*');
        std::vector<unsigned> keys;
        std::istringstream names(word.substr(0, star));
        for (std::string name; std::getline(names, name, '+');)
          keys.push_back(session.Keycode(modifiers.contains(name) ? modifiers.at(name) : name));
        codes.back().insert(codes.back().end(),
                            star == std::string::npos ? 1 : std::stoi(word.substr(star + 1)), keys);
      }
    }
    RunToEnd({"setxkbmap", "-layout", layout.layout, "-variant", layout.variant},
             session.Environment());
    for (std::size_t i = 0; i < codes.size(); ++i) {
      SCOPED_TRACE(std::string(layout.layout) + " " + layout.variant + ": " +
                   layout.cases[i].first);
      ChildProcess program({TESTCARD_PROGRAM}, session.Environment());
      ASSERT_EQ(WaitUntilShowing(session, patterns[0], kAppears), "") << program.Output();
      for (const std::vector<unsigned>& press : codes[i])
        session.Press({press.begin(), press.end() - 1}, press.back());
      ASSERT_EQ(WaitUntilShowing(session, patterns[layout.cases[i].second], kAppears), "");
      std::this_thread::sleep_for(kSettle);
      EXPECT_EQ(WaitUntilShowing(session, patterns[layout.cases[i].second], milliseconds(0)), "")
          << "stepped on";
      EXPECT_TRUE(program.Running()) << program.Output();
    }
  }
}

TEST(EndToEnd, AWindowClosedByAnotherProgramEndsItWithOneLineAndStatusOne) {
  const XSession session({320, 240});
  ChildProcess program({TESTCARD_PROGRAM}, session.Environment());
  ASSERT_EQ(WaitUntilShowing(session, Patterns(320, 240)[0], kAppears), "") << program.Output();
  RunToEnd({"xdotool", "search", "--name", "^Form1$", "windowclose"}, session.Environment());
  EXPECT_EQ(program.WaitForExit(kExits), 1);
  EXPECT_EQ(program.Output(), "testcard: the window was closed by another program; ending.\n");
}

TEST(WaylandEndToEnd, SwayShowsEveryPatternPixelExactOnTheOutputItCovers) {
  // The outputs, the picture on the last, and a change of the window's
  // output or size once the grid shows, with the picture after it.
  const struct {
    std::vector<SwayOutput> outputs;
    int width, height;
    const char* command;
    int laterWidth, laterHeight;
    bool bar = false;
    const char* driver = "";  // an SDL_VIDEODRIVER setting, if any
  } cases[] = {
      // clang-format off
      {{{1281, 721, 1}}, 1280, 720, "output HEADLESS-1 resolution 1024x768", 1024, 768, true},
      {{{1280, 720, 2}}, 1280, 720, "output HEADLESS-1 scale 1", 1280, 720},
      {{{1200, 900, 1.5}}, 1200, 900, "", 1200, 900},
      {{{1000, 750, 1.25}}, 1000, 750, "", 1000, 750},
      {{{1920, 1080, 1}, {1280, 1024, 1}}, 1280, 1024,
       "move container to output HEADLESS-1; focus output HEADLESS-1", 1920, 1080},
      {{{1024, 768, 1}}, 1024, 768, "", 1024, 768, false, "SDL_VIDEODRIVER=x11"},  // XWayland
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    SwayDesktop sway(c.outputs, c.bar);
    std::vector<std::string> environment = sway.Environment();
    if (*c.driver != '\0') environment.push_back(c.driver);
    ChildProcess program(sway.AsSessionUser({TESTCARD_PROGRAM}), environment);
    StepsThroughThePatterns(sway, program, c.width, c.height,
                            [&](int step, int& width, int& height) {
                              if (step != 0 || *c.command == '\0') return;
                              sway.Command(c.command, 1);
                              width = c.laterWidth;
                              height = c.laterHeight;
                            });
  }
}

TEST(WaylandEndToEnd, WestonShowsEveryPatternPixelExact) {
  for (const int scale : {1, 2}) {
    SCOPED_TRACE("scale " + std::to_string(scale));
    const WestonDesktop weston(1280, 800, scale);
    ChildProcess program({TESTCARD_PROGRAM}, weston.Environment());
    StepsThroughThePatterns(weston, program, 1280, 800, [](int, int&, int&) {});
  }
}

// With no display at all, not even a Wayland runtime directory, the one
// message is testcard's own (libwayland has one of its own to print).
TEST(WaylandEndToEnd, WithoutAnyDisplayOnlyTestcardSpeaks) {
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  std::erase_if(environment,
                [](const std::string& v) { return v.starts_with("XDG_RUNTIME_DIR="); });
  ChildProcess program({TESTCARD_PROGRAM}, environment);
  EXPECT_EQ(program.WaitForExit(kExits), 1);
  EXPECT_EQ(program.Output().rfind("testcard: ", 0), 0u) << program.Output();
}

}  // namespace
}  // namespace testcard::testing
