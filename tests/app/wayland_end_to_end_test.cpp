// SPDX-License-Identifier: MIT
// testcard on Wayland as users meet it: real compositors started by each
// test (sway headless with XWayland, weston in an Xvfb), at integer and
// fractional output scales, with several outputs and with a bar; keys typed
// through the compositor, and the output read back in device pixels and
// compared with the headless rendering at that size.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "tests/app/wayland_session.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard::testing {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAppears(15000);
constexpr milliseconds kSettle(400);
constexpr milliseconds kExitsPromptly(3000);

Canvas Rendering(Pattern pattern, int width, int height) {
  GridForm form(width, height);
  DrawPattern(form, pattern);
  return form.Picture();
}

// Whether the output shows `pattern` at width x height from its top-left
// corner, now or within `wait`.
::testing::AssertionResult Shows(const Desktop& desktop, ChildProcess& program, Pattern pattern,
                                 int width, int height, milliseconds wait = kAppears) {
  const Canvas expected = Rendering(pattern, width, height);
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const Canvas shown = desktop.Capture();
    // Beyond the even-sized picture, on an odd-sized output, all is black.
    ::testing::AssertionResult same =
        shown.Width() < width || shown.Height() < height
            ? ::testing::AssertionFailure() << "the picture does not fit"
            : PictureIs(shown, [&](int x, int y) {
                return x < width && y < height ? expected.Pixel(x, y) : kBlack;
              });
    if (same || Clock::now() > deadline) {
      return same << "\nthe output is " << shown.Width() << " x " << shown.Height()
                  << "\ntestcard's output:\n"
                  << program.Output();
    }
    std::this_thread::sleep_for(milliseconds(50));
  }
}

// The grid at start; a key that types nothing leaves it; a letter, Return
// and a third character step to the cross, the colour pattern and the end.
// `resize` runs once the grid shows: it gives the window another size and
// says which.
void StepsThroughThePatterns(Desktop& desktop, std::vector<std::string> environment, int width,
                             int height, const std::function<void(int&, int&)>& resize = {}) {
  ChildProcess program(desktop.AsSessionUser({TESTCARD_PROGRAM}), environment);
  ASSERT_TRUE(Shows(desktop, program, Pattern::kGrid, width, height));
  if (resize) {
    resize(width, height);
    ASSERT_TRUE(Shows(desktop, program, Pattern::kGrid, width, height));
  }
  desktop.Press("Left");
  std::this_thread::sleep_for(kSettle);
  EXPECT_TRUE(Shows(desktop, program, Pattern::kGrid, width, height, milliseconds(0)));
  desktop.Press("a");
  EXPECT_TRUE(Shows(desktop, program, Pattern::kCross, width, height));
  desktop.Press("Return");
  EXPECT_TRUE(Shows(desktop, program, Pattern::kColour, width, height));
  desktop.Press("x");
  EXPECT_EQ(program.WaitForExit(kExitsPromptly), 0) << program.Output();
}

struct SwayCase {
  const char* name;
  std::vector<SwayOutput> outputs;
  bool bar;
  const char* driver;  // SDL_VIDEODRIVER, if set
  int width, height;   // the picture on the last output
  // A change of the window's output or size once the grid shows, and the
  // output and picture size after it.
  const char* command = nullptr;
  int laterOutput = 0, laterWidth = 0, laterHeight = 0;
};

TEST(WaylandEndToEnd, SwayShowsEveryPatternPixelExactOnTheOutputItCovers) {
  // clang-format off
  const SwayCase cases[] = {
      {"scale 1, odd size, a bar, then a new resolution", {{1281, 721, 1}}, true, nullptr,
       1280, 720, "output HEADLESS-1 resolution 1024x768", 1, 1024, 768},
      {"scale 2, then 1", {{1280, 720, 2}}, false, nullptr, 1280, 720,
       "output HEADLESS-1 scale 1", 1, 1280, 720},
      {"scale 1.5", {{1200, 900, 1.5}}, false, nullptr, 1200, 900},
      {"scale 1.25", {{1000, 750, 1.25}}, false, nullptr, 1000, 750},
      {"two outputs, focus on the second, then moved to the first",
       {{1920, 1080, 1}, {1280, 1024, 1}}, false, nullptr, 1280, 1024,
       "move container to output HEADLESS-1; focus output HEADLESS-1", 1, 1920, 1080},
      {"XWayland at scale 1", {{1024, 768, 1}}, false, "SDL_VIDEODRIVER=x11", 1024, 768},
  };
  // clang-format on
  for (const SwayCase& c : cases) {
    SCOPED_TRACE(c.name);
    SwayDesktop sway(c.outputs, c.bar);
    const auto resize = [&](int& width, int& height) {
      sway.Command(c.command, c.laterOutput);
      width = c.laterWidth;
      height = c.laterHeight;
    };
    std::vector<std::string> environment = sway.Environment();
    if (c.driver != nullptr) environment.push_back(c.driver);
    StepsThroughThePatterns(sway, environment, c.width, c.height,
                            c.command != nullptr ? resize : std::function<void(int&, int&)>());
  }
}

TEST(WaylandEndToEnd, WestonShowsEveryPatternPixelExact) {
  for (const int scale : {1, 2}) {
    SCOPED_TRACE("scale " + std::to_string(scale));
    WestonDesktop weston(1280, 800, scale);
    StepsThroughThePatterns(weston, weston.Environment(), 1280, 800);
  }
}

// With no display at all, not even a Wayland runtime directory, the one
// message is testcard's own (libwayland has one of its own to print).
TEST(WaylandEndToEnd, WithoutAnyDisplayOnlyTestcardSpeaks) {
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  std::erase_if(environment,
                [](const std::string& v) { return v.starts_with("XDG_RUNTIME_DIR="); });
  ChildProcess program({TESTCARD_PROGRAM}, environment);
  EXPECT_EQ(program.WaitForExit(kExitsPromptly), 1);
  EXPECT_EQ(program.Output().rfind("testcard: ", 0), 0u) << program.Output();
}

}  // namespace
}  // namespace testcard::testing
