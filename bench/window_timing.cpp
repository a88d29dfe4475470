// SPDX-License-Identifier: MIT
// How fast testcard shows its pictures on a real X server: the time from
// starting the program to its first frame on the screen, and from a key
// press to the next pattern on the screen, plus its peak memory. Each run
// gets a private Xvfb; the screen is read back through XGetImage.
//
//   build/bench/testcard-timing [runs]
//   build/bench/testcard-timing [runs] sway     (as root: namespaces, sway as nobody)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "patterns/patterns.hpp"
#include "surface/grid_form.hpp"
#include "tests/app/window_systems.hpp"

namespace {

using testcard::Canvas;
using testcard::testing::ChildProcess;
using testcard::testing::Clock;
using testcard::testing::XSession;
using Milliseconds = std::chrono::duration<double, std::milli>;

Canvas Rendering(testcard::Pattern pattern, int width, int height) {
  testcard::GridForm form(width, height);
  testcard::DrawPattern(form, pattern);
  return form.Picture();
}

// Rows that tell the three patterns apart and show a frame is complete: the
// top row, the middle rows and the bottom row (a frame is put up top down).
std::vector<int> ProbeRows(int height) {
  return {0, height / 2 - 1, height / 2 + 7, height - 1};
}

// Milliseconds from `start` until the screen shows `expected` (only `rows`
// of it if given, to poll fast); negative on a timeout of ten seconds.
double Until(const testcard::testing::WindowSystem& screen, const Canvas& expected,
             Clock::time_point start, const std::vector<int>& rows = {}) {
  while (Clock::now() - start < std::chrono::seconds(10)) {
    if (WaitUntilShowing(screen, expected, std::chrono::milliseconds(0), rows).empty()) {
      return Milliseconds(Clock::now() - start).count();
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return -1;
}

// The peak resident memory of a process, from /proc, in MB.
double PeakMemoryMb(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct Run {
  double firstFrame, toCross, toColour, peakMb;
};

Run Measure(int width, int height) {
  XSession screen({width, height});
  // A desktop's X server has shown things before: its framebuffer memory is
  // in use. A fresh Xvfb's is not, and its first full-screen picture would
  // pay for that; one cover window touches it first.
  screen.DestroyWindow(screen.Cover(0));
  const std::vector<std::string> environment = screen.Environment();
  const Canvas grid = Rendering(testcard::Pattern::kGrid, width, height);
  const Canvas cross = Rendering(testcard::Pattern::kCross, width, height);
  const Canvas colour = Rendering(testcard::Pattern::kColour, width, height);

  Run run{};
  const Clock::time_point started = Clock::now();
  ChildProcess testcard({TESTCARD_PROGRAM}, environment);
  run.firstFrame = Until(screen, grid, started, ProbeRows(height));
  // Let it settle (it repaints as it gets the focus) before the key comes,
  // as it has long done when a person presses one.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Clock::time_point pressed = Clock::now();
  screen.Press("space");
  run.toCross = Until(screen, cross, pressed, ProbeRows(height));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  pressed = Clock::now();
  screen.Press("Return");
  run.toColour = Until(screen, colour, pressed, ProbeRows(height));
  run.peakMb = PeakMemoryMb(testcard.Pid());
  screen.Press("Escape");
  testcard.WaitForExit(std::chrono::seconds(2));
  return run;
}

// The same under sway headless at an output scale, the output read back
// with grim: each look costs a whole screenshot (tens of milliseconds), so
// these figures are upper bounds, to a screenshot's time.
Run MeasureOnSway(int width, int height, double scale) {
  testcard::testing::SwayDesktop sway({{width, height, scale}}, false);
  const Canvas grid = Rendering(testcard::Pattern::kGrid, width, height);
  const Canvas cross = Rendering(testcard::Pattern::kCross, width, height);
  Run run{};
  Clock::time_point start = Clock::now();
  ChildProcess testcard(sway.AsSessionUser({TESTCARD_PROGRAM}), sway.Environment());
  run.firstFrame = Until(sway, grid, start);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  start = Clock::now();
  sway.Press("space");
  run.toCross = Until(sway, cross, start);
  start = Clock::now();
  sway.Capture({});
  run.toColour = Milliseconds(Clock::now() - start).count();  // one screenshot, for scale
  run.peakMb = PeakMemoryMb(testcard.Pid());
  return run;
}

// The medians of `runs` runs of `measure`.
Run Medians(int runs, const std::function<Run()>& measure) {
  std::vector<double> first, cross, colour, memory;
  for (int i = 0; i < runs; ++i) {
    const Run run = measure();
    first.push_back(run.firstFrame);
    cross.push_back(run.toCross);
    colour.push_back(run.toColour);
    memory.push_back(run.peakMb);
  }
  return {Median(first), Median(cross), Median(colour), Median(memory)};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  if (argc > 2 && std::string(argv[2]) == "sway") {
    for (const double scale : {1.0, 2.0}) {
      const Run m = Medians(runs, [&] { return MeasureOnSway(1920, 1080, scale); });
      std::printf(
          "sway 1920x1080 at scale %.0f, median of %d: first frame %.1f ms, key to cross "
          "%.1f ms (one screenshot takes %.1f ms), peak memory %.1f MB\n",
          scale, runs, m.firstFrame, m.toCross, m.toColour, m.peakMb);
    }
    return 0;
  }
  for (const auto& [width, height] : {std::pair{1920, 1080}, {3840, 2160}}) {
    const Run m = Medians(runs, [&] { return Measure(width, height); });
    std::printf(
        "%dx%d, median of %d: first frame %.1f ms, key to cross %.1f ms, key to colour %.1f ms, "
        "peak memory %.1f MB (canvas %.1f MB)\n",
        width, height, runs, m.firstFrame, m.toCross, m.toColour, m.peakMb,
        width * height * 4.0 / (1 << 20));
  }
}
