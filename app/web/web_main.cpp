// SPDX-License-Identifier: MIT
// testcard in a web page: the functions the page's script calls. The page is
// the window system here: it measures the canvas in device pixels, delivers
// the key presses that yield a character and shows the picture; the pattern
// cycle behind it is the desktop program's own.
//
// The page owns one WebRun, made by testcard_start and passed to every other
// call. Each call that draws returns a WebStatus; after kShow the picture is
// testcard_width() x testcard_height() RGBA pixels (alpha 255) at
// testcard_pixels(), valid until the next call.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "app/cycle/pattern_cycle.hpp"
#include "surface/browser/rgba_picture.hpp"

namespace {

using testcard::PatternCycle;

// What the page is to do after a call.
enum WebStatus : int {
  kEnded = 0,   // the run is over: leave full screen, say how to start again
  kShow = 1,    // show the new picture
  kFailed = 2,  // show testcard_error() instead of the picture
};

struct WebRun {
  PatternCycle cycle;
  testcard::RgbaPicture picture;
  std::string error;  // what failed, as one line, once something has
};

// The page puts the picture up again after every call that drew or resized
// the canvas, which a resize clears.
WebStatus Publish(WebRun& run, PatternCycle::Outcome outcome) {
  switch (outcome) {
    case PatternCycle::Outcome::kEnded:
      return kEnded;
    case PatternCycle::Outcome::kFailed:
      run.error = run.cycle.Failure().Line();
      return kFailed;
    case PatternCycle::Outcome::kShow:
    case PatternCycle::Outcome::kUnchanged:
      break;
  }
  run.picture.Show(run.cycle.Picture());
  return kShow;
}

testcard::PixelSize Size(int width, int height) {
  return {width, height};
}

}  // namespace

extern "C" {

// Start-up on a canvas of width x height device pixels, which stands for the
// screen: OnLoad rounds it down to even and draws the grid.
EMSCRIPTEN_KEEPALIVE WebRun* testcard_start(int width, int height) {
  auto* run = new WebRun;
  Publish(*run, run->cycle.Start(Size(width, height)));
  return run;
}

// 1 when start-up drew its picture, 0 when it failed (see testcard_error).
EMSCRIPTEN_KEEPALIVE int testcard_started(const WebRun* run) {
  return run->error.empty() ? 1 : 0;
}

// A key press that yields a character.
EMSCRIPTEN_KEEPALIVE int testcard_key(WebRun* run) {
  return Publish(*run, run->cycle.Handle(testcard::WindowEvent::Typed(1)));
}

// The canvas now has width x height device pixels: the pattern on show is
// drawn again for that size, rounded down to even as start-up does.
EMSCRIPTEN_KEEPALIVE int testcard_resize(WebRun* run, int width, int height) {
  const testcard::PixelSize canvas = Size(width, height);
  return Publish(*run, run->cycle.Handle(testcard::WindowEvent::Resized(canvas, canvas)));
}

EMSCRIPTEN_KEEPALIVE const std::uint32_t* testcard_pixels(const WebRun* run) {
  return run->picture.Pixels();
}
EMSCRIPTEN_KEEPALIVE int testcard_width(const WebRun* run) {
  return run->picture.Width();
}
EMSCRIPTEN_KEEPALIVE int testcard_height(const WebRun* run) {
  return run->picture.Height();
}
EMSCRIPTEN_KEEPALIVE const char* testcard_error(const WebRun* run) {
  return run->error.c_str();
}

}  // extern "C"
