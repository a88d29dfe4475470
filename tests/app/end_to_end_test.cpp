// SPDX-License-Identifier: MIT
// testcard as users meet it on X11: a real X server (Xvfb, started by each
// test on a display of its own), with and without a window manager, real key
// events through XTest on real keyboard layouts, and the screen read back
// pixel by pixel and compared with a headless rendering of the same pattern.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "tests/app/x_session.hpp"

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

TEST(EndToEnd, ShowsEachPatternPixelForPixelOnEveryKindOfXScreen) {
  const struct {
    const char* name;
    XSetup setup;
    int width, height;  // the window testcard is to make
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
    const std::vector<Canvas> patterns = Patterns(c.width, c.height);
    // No click and no focus from the test: keys must reach the window as
    // it appears.
    const char* keys[] = {"a", "Return", "Escape"};
    for (int step = 0; step < 3; ++step) {
      ASSERT_EQ(session.WaitUntilShowing(patterns[step], kAppears), "")
          << "step " << step << "; testcard said:\n"
          << program.Output();
      if (step == 0 && c.setup.dockHeight > 0) {
        // Full screen as the window manager knows it: panels that raise
        // themselves stay below.
        const std::string state = session.Run({"xprop", "-name", "Form1", "_NET_WM_STATE"});
        EXPECT_NE(state.find("_NET_WM_STATE_FULLSCREEN"), std::string::npos) << state;
      }
      if (step == 1) {  // the picture persists, covered and uncovered again
        const unsigned long cover = session.Cover(0x996633);
        ASSERT_EQ(session.WaitUntilShowing(Canvas(c.width, c.height, 0x996633), kAppears), "");
        session.DestroyWindow(cover);
        ASSERT_EQ(session.WaitUntilShowing(patterns[step], kAppears), "") << "uncovered";
      }

      session.Press({}, session.Keycode(keys[step]));
    }
    EXPECT_EQ(program.WaitForExit(kExits), 0) << program.Output();
  }
}

// Presses as "Ctrl+Shift+2 a Left*300": keys named by what they type on the
// US layout, so on another layout the same physical keys; "*n" repeats. A
// dead key alone comes last for its layout: it waits for the next key.
struct KeyCase {
  const char* presses;
  int steps;  // how far the pattern moves: one per character typed
};
struct LayoutCases {
  const char* layout;
  const char* variant;
  std::vector<KeyCase> cases;
};

const std::map<std::string, std::string> kModifiers = {
    {"Ctrl", "Control_L"}, {"Shift", "Shift_L"}, {"Alt", "Alt_L"},
    {"Super", "Super_L"},  {"AltGr", "Alt_R"},
};

// Key codes for each press, looked up on the US layout.
std::vector<std::vector<unsigned>> KeyCodes(const XSession& session, const std::string& presses) {
  std::vector<std::vector<unsigned>> result;
  std::istringstream words(presses);
  for (std::string word; words >> word;) {
    const std::size_t star = word.find('*');
    const int times = star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
    std::vector<unsigned> codes;
    std::istringstream names(word.substr(0, star));
    for (std::string name; std::getline(names, name, '+');)
      codes.push_back(session.Keycode(kModifiers.contains(name) ? kModifiers.at(name) : name));
    result.insert(result.end(), times, codes);
  }
  return result;
}

TEST(EndToEnd, AKeyAdvancesExactlyWhenItTypesACharacterOnTheUsersLayout) {
  // clang-format off
  const LayoutCases layouts[] = {
      {"us", "", {
        // Keys that type nothing.
        {"Left Up F1 F12 Insert Delete Home End Prior Next KP_Delete Ctrl+Left Ctrl+Delete", 0},
        {"Shift_L Control_L Alt_L Super_L Alt_R Caps_Lock Caps_Lock Num_Lock Num_Lock", 0},
        {"Shift+Tab", 0},  // ISO_Left_Tab: X11 types nothing for it
        // Printable characters, one step each, however many events a key makes.
        {"a", 1}, {"Shift+a b", 2}, {"space", 1}, {"Left*300 a F5*300", 1},
        // Control characters: CR, CR, ESC, BS, TAB, SOH, ESC, NUL, NUL.
        {"Return", 1}, {"KP_Enter", 1}, {"Escape", 1}, {"BackSpace", 1}, {"Tab", 1},
        {"Ctrl+a", 1}, {"Ctrl+bracketleft", 1}, {"Ctrl+space", 1}, {"Ctrl+Shift+2", 1},
        // Modifiers that still type the key's character: 1, a, a, CR.
        {"Ctrl+1", 1}, {"Alt+a", 1}, {"Super+a", 1}, {"Alt+Return", 1}}},
      // @ and z; Ctrl+Shift+2 types ", printable here; a dead ^ then e is ê.
      {"de", "", {{"AltGr+q", 1}, {"AltGr", 0}, {"y", 1}, {"Ctrl+Shift+2", 1},
                  {"grave e", 1}, {"grave", 0}}},
      // Cyrillic ф, Ф; with Ctrl still one step.
      {"ru", "", {{"a", 1}, {"Shift+a", 1}, {"Ctrl+a", 1}, {"Ctrl+bracketleft", 1}}},
      // A dead acute then e types é; then space, the apostrophe.
      {"us", "intl", {{"apostrophe e", 1}, {"apostrophe space", 1}, {"apostrophe", 0}}},
  };
  // clang-format on
  const XSession session({320, 240});
  const std::vector<Canvas> patterns = Patterns(320, 240);
  std::map<std::string, std::vector<std::vector<unsigned>>> codes;
  for (const LayoutCases& layout : layouts) {
    for (const KeyCase& c : layout.cases)
      codes[c.presses] = KeyCodes(session, c.presses);
  }
  for (const LayoutCases& layout : layouts) {
    session.Run({"setxkbmap", "-layout", layout.layout, "-variant", layout.variant});
    std::optional<ChildProcess> program;
    int step = 3;
    for (const KeyCase& c : layout.cases) {
      SCOPED_TRACE(std::string(layout.layout) + " " + layout.variant + ": " + c.presses);
      if (step + c.steps > 2) {  // a fresh testcard, so that every step shows
        program.reset();
        program.emplace(std::vector<std::string>{TESTCARD_PROGRAM}, session.Environment());
        ASSERT_EQ(session.WaitUntilShowing(patterns[0], kAppears), "") << program->Output();
        step = 0;
      }
      for (const std::vector<unsigned>& press : codes[c.presses])
        session.Press({press.begin(), press.end() - 1}, press.back());
      step += c.steps;
      ASSERT_EQ(session.WaitUntilShowing(patterns[step], kAppears), "");
      std::this_thread::sleep_for(kSettle);
      ASSERT_EQ(session.WaitUntilShowing(patterns[step], milliseconds(0)), "") << "stepped on";
      ASSERT_TRUE(program->Running()) << program->Output();
    }
  }
}

TEST(EndToEnd, AWindowClosedByAnotherProgramEndsItWithOneLineAndStatusOne) {
  const XSession session({320, 240});
  ChildProcess program({TESTCARD_PROGRAM}, session.Environment());
  ASSERT_EQ(session.WaitUntilShowing(Patterns(320, 240)[0], kAppears), "") << program.Output();
  session.Run({"xdotool", "search", "--name", "^Form1$", "windowclose"});
  EXPECT_EQ(program.WaitForExit(kExits), 1);
  EXPECT_EQ(program.Output(), "testcard: the window was closed by another program; ending.\n");
}

}  // namespace
}  // namespace testcard::testing
