// testcard as a user meets it: a real X server (Xvfb, started by each test on
// a display of its own), real key events through XTest, and the screen read
// back pixel by pixel and compared with a headless rendering of the same
// pattern at the same size.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "tests/app/x_session.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard::testing {
namespace {

using std::chrono::milliseconds;

// Long enough for a start on a busy machine; the waits end as soon as the
// screen shows what is expected.
constexpr milliseconds kAppears(15000);
// How long a key that must change nothing is given to change something.
constexpr milliseconds kSettle(400);
constexpr milliseconds kExitsPromptly(2000);

Canvas Rendering(Pattern pattern, int width, int height) {
  GridForm form(width, height);
  DrawPattern(form, pattern);
  return form.Picture();
}

std::vector<std::string> EnvironmentFor(const VirtualScreen& screen) {
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  environment.push_back("DISPLAY=" + screen.Name());
  return environment;
}

// testcard on its own virtual screen, started and checked to be on the grid.
class Session {
 public:
  Session(int screenWidth, int screenHeight, int width, int height)
      : screen(screenWidth, screenHeight),
        program({TESTCARD_PROGRAM}, EnvironmentFor(screen)),
        grid(Rendering(Pattern::kGrid, width, height)),
        cross(Rendering(Pattern::kCross, width, height)),
        colour(Rendering(Pattern::kColour, width, height)) {}

  // Asserts that the screen shows `expected` now or soon.
  ::testing::AssertionResult Shows(const Canvas& expected, const std::string& name) {
    if (screen.WaitUntilShowing(expected, kAppears)) return ::testing::AssertionSuccess();
    return SamePicture(screen.Capture(0, 0, expected.Width(), expected.Height()), expected, name)
           << "\ntestcard's output:\n"
           << program.Output();
  }
  // Asserts that testcard's window is mapped at the top-left corner with the
  // given size.
  ::testing::AssertionResult WindowIsAtTopLeft(int width, int height) {
    const auto window = screen.FindWindow("Form1");
    if (!window) return ::testing::AssertionFailure() << "no window \"Form1\"";
    if (window->viewable && window->left == 0 && window->top == 0 && window->width == width &&
        window->height == height) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "window " << window->width << " x " << window->height << " at (" << window->left
           << ", " << window->top << ")" << (window->viewable ? "" : ", not viewable")
           << "; expected " << width << " x " << height << " at (0, 0)";
  }
  // Asserts that the screen still shows `expected` a while later, with
  // testcard still running: whatever was sent has had time to act.
  ::testing::AssertionResult StillShows(const Canvas& expected, const std::string& name) {
    std::this_thread::sleep_for(kSettle);
    if (!program.Running()) {
      return ::testing::AssertionFailure() << "testcard ended:\n" << program.Output();
    }
    return SamePicture(screen.Capture(0, 0, expected.Width(), expected.Height()), expected, name);
  }

  VirtualScreen screen;
  ChildProcess program;
  const Canvas grid;
  const Canvas cross;
  const Canvas colour;
};

TEST(EndToEnd, StartsOnTheGridAndStepsOnCharacterKeysOnly) {
  Session session(800, 600, 800, 600);
  ASSERT_TRUE(session.Shows(session.grid, "e2e-grid"));
  EXPECT_TRUE(session.WindowIsAtTopLeft(800, 600));

  session.screen.PressKey(XK_Left);
  session.screen.PressKey(XK_F5);
  session.screen.PressKey(XK_Shift_L);
  EXPECT_TRUE(session.StillShows(session.grid, "e2e-after-left-f5-shift"));

  session.screen.PressKey(XK_a);
  EXPECT_TRUE(session.Shows(session.cross, "e2e-cross"));
  EXPECT_TRUE(session.StillShows(session.cross, "e2e-cross-once")) << "one key, one step";

  session.screen.PressKey(XK_Return);
  EXPECT_TRUE(session.Shows(session.colour, "e2e-colour"));
  EXPECT_TRUE(session.StillShows(session.colour, "e2e-colour-once"));

  session.screen.PressKey(XK_Escape);
  EXPECT_EQ(session.program.WaitForExit(kExitsPromptly), 0) << session.program.Output();
}

TEST(EndToEnd, KeysPressedInQuickSuccessionAreAllHandled) {
  Session session(640, 480, 640, 480);
  ASSERT_TRUE(session.Shows(session.grid, "e2e-quick-grid"));
  session.screen.PressKeys({XK_space, XK_KP_Enter});
  EXPECT_TRUE(session.Shows(session.colour, "e2e-quick-colour"));
  EXPECT_TRUE(session.StillShows(session.colour, "e2e-quick-colour-stays"));
  session.screen.PressKey(XK_x, {XK_Control_L});
  EXPECT_EQ(session.program.WaitForExit(kExitsPromptly), 0) << session.program.Output();
}

TEST(EndToEnd, AFloodOfKeysStepsOncePerCharacterKeyAndNoMore) {
  Session session(640, 480, 640, 480);
  ASSERT_TRUE(session.Shows(session.grid, "e2e-flood-grid"));
  // 1,000 key presses as fast as the server takes them, two of them letters.
  std::vector<unsigned long> flood;
  for (int i = 0; i < 1000; ++i)
    flood.push_back(i % 2 == 0 ? XK_Left : XK_F5);
  flood[300] = XK_a;
  flood[700] = XK_b;
  session.screen.PressKeys(flood);
  EXPECT_TRUE(session.Shows(session.colour, "e2e-flood-colour"));
  EXPECT_TRUE(session.StillShows(session.colour, "e2e-flood-colour-stays"));
  // The third character ends it, and a thousand more after it change nothing.
  session.screen.PressKeys(std::vector<unsigned long>(1000, XK_c));
  EXPECT_EQ(session.program.WaitForExit(kExitsPromptly), 0) << session.program.Output();
}

TEST(EndToEnd, ThePictureSurvivesBeingCoveredAndUncovered) {
  Session session(640, 480, 640, 480);
  ASSERT_TRUE(session.Shows(session.grid, "e2e-cover-grid"));
  session.screen.PressKey(XK_space);
  ASSERT_TRUE(session.Shows(session.cross, "e2e-cover-cross"));

  const unsigned long cover = session.screen.Cover();
  const Canvas covered(640, 480, VirtualScreen::kCoverColour);
  ASSERT_TRUE(session.Shows(covered, "e2e-covered")) << "the cover never showed";
  session.screen.Uncover(cover);
  EXPECT_TRUE(session.Shows(session.cross, "e2e-uncovered"));
  EXPECT_TRUE(session.program.Running());
}

TEST(EndToEnd, AnOddSizedScreenGetsAnEvenWindowAtTheTopLeft) {
  Session session(1025, 769, 1024, 768);
  ASSERT_TRUE(session.Shows(session.grid, "e2e-odd-grid"));
  EXPECT_TRUE(session.WindowIsAtTopLeft(1024, 768));
  session.screen.PressKey(XK_Tab);
  EXPECT_TRUE(session.Shows(session.cross, "e2e-odd-cross"));
  EXPECT_TRUE(session.StillShows(session.cross, "e2e-odd-cross-once"));
}

TEST(EndToEnd, ARunTimeErrorIsReportedAndEndsTheProgramWithOne) {
  // One pixel wide: rounded down to an even width that leaves no window.
  VirtualScreen screen(1, 600);
  ChildProcess program({TESTCARD_PROGRAM}, EnvironmentFor(screen));
  const auto deadline = Clock::now() + kAppears;
  std::optional<VirtualScreen::WindowInfo> box;
  while (!(box = screen.FindWindow("testcard")) && program.Running() && Clock::now() < deadline)
    std::this_thread::sleep_for(milliseconds(20));
  ASSERT_TRUE(box.has_value()) << "no message box; testcard said:\n" << program.Output();
  EXPECT_NE(program.Output().find("Run-time error"), std::string::npos) << program.Output();
  const auto window = screen.FindWindow("Form1");
  EXPECT_FALSE(window.has_value() && window->viewable) << "the test window was shown";

  screen.Focus(box->id);
  screen.PressKey(XK_Return);
  EXPECT_EQ(program.WaitForExit(kExitsPromptly), 1) << program.Output();
}

TEST(EndToEnd, WithoutADisplayItSaysWhyAndExitsWithOne) {
  ChildProcess program({TESTCARD_PROGRAM}, EnvironmentWithoutDisplay());
  EXPECT_EQ(program.WaitForExit(kExitsPromptly), 1);
  const std::string output = program.Output();
  EXPECT_NE(output.find("testcard: "), std::string::npos) << output;
  EXPECT_NE(output.find("graphical session"), std::string::npos) << output;
}

TEST(EndToEnd, ArgumentsAreRefusedWithAUsageLine) {
  ChildProcess program({TESTCARD_PROGRAM, "--fullscreen"}, EnvironmentWithoutDisplay());
  EXPECT_EQ(program.WaitForExit(kExitsPromptly), 2);
  const std::string output = program.Output();
  EXPECT_NE(output.find("'--fullscreen'"), std::string::npos) << output;
  EXPECT_NE(output.find("Try 'testcard --help'"), std::string::npos) << output;
}

}  // namespace
}  // namespace testcard::testing
