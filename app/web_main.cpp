// SPDX-License-Identifier: MIT
// testcard in a web page: the functions the page's script calls. The page is
// the window system here: it measures the canvas in device pixels, delivers
// the key presses that yield a character and shows the picture; everything
// drawn comes from the same handlers and patterns as on the desktop.
//
// The page owns one WebRun, made by testcard_start and passed to every other
// call. Each call that draws returns a WebStatus; after kShow the picture is
// testcard_width() x testcard_height() RGBA pixels (alpha 255) at
// testcard_pixels(), valid until the next call.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "app/handlers.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"
#include "surface/screen.hpp"

namespace {

using testcard::GridForm;

// What the page is to do after a call.
enum WebStatus : int {
  kEnded = 0,   // the run is over: leave full screen, say how to start again
  kShow = 1,    // show the new picture
  kFailed = 2,  // show testcard_error() instead of the picture
};

struct WebRun {
  GridForm form{0, 0};
  // The picture as a canvas's ImageData wants it: bytes R, G, B, A.
  std::vector<std::uint32_t> rgba;
  std::string error;
};

// The canvas pixel 0x00BBGGRR is, in the little-endian memory of
// WebAssembly, the bytes R, G, B, 0; only the alpha byte is missing.
WebStatus Publish(WebRun& run) {
  const auto pixels = run.form.Picture().Pixels();
  run.rgba.resize(pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i)
    run.rgba[i] = pixels[i] | 0xFF000000u;
  return kShow;
}

// Runs one handler, turning a run-time error into what the page shows in
// place of the picture, as the desktop shows it in a message box.
template <typename Handler>
WebStatus Guarded(WebRun& run, Handler handler) {
  try {
    return handler();
  } catch (const testcard::RunTimeError& error) {
    run.error = "Run-time error '" + std::to_string(error.Number()) + "': " + error.Message();
  } catch (const std::exception& error) {
    run.error = std::string("Unexpected error: ") + error.what();
  }
  return kFailed;
}

}  // namespace

extern "C" {

// Start-up on a canvas of width x height device pixels, which stands for the
// screen: OnLoad rounds it down to even and draws the grid.
EMSCRIPTEN_KEEPALIVE WebRun* testcard_start(int width, int height) {
  auto* run = new WebRun;
  Guarded(*run, [&] {
    OnLoad(run->form, testcard::Screen::FromPixels(width, height));
    return Publish(*run);
  });
  return run;
}

// 1 when start-up drew its picture, 0 when it failed (see testcard_error).
EMSCRIPTEN_KEEPALIVE int testcard_started(const WebRun* run) {
  return run->error.empty() ? 1 : 0;
}

// A key press that yields a character.
EMSCRIPTEN_KEEPALIVE int testcard_key(WebRun* run) {
  return Guarded(*run, [&] {
    if (OnKeyPress(run->form) == testcard::KeyPressResult::kEndProgram) return kEnded;
    return Publish(*run);
  });
}

// The canvas now has width x height device pixels: the pattern on show is
// drawn again for that size, rounded down to even as start-up does.
EMSCRIPTEN_KEEPALIVE int testcard_resize(WebRun* run, int width, int height) {
  return Guarded(*run, [&] {
    SizeToScreen(run->form, testcard::Screen::FromPixels(width, height));
    RedrawPattern(run->form);
    return Publish(*run);
  });
}

EMSCRIPTEN_KEEPALIVE const std::uint32_t* testcard_pixels(const WebRun* run) {
  return run->rgba.data();
}
EMSCRIPTEN_KEEPALIVE int testcard_width(const WebRun* run) {
  return run->form.Picture().Width();
}
EMSCRIPTEN_KEEPALIVE int testcard_height(const WebRun* run) {
  return run->form.Picture().Height();
}
EMSCRIPTEN_KEEPALIVE const char* testcard_error(const WebRun* run) {
  return run->error.c_str();
}

}  // extern "C"
