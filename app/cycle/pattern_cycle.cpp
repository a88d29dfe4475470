// SPDX-License-Identifier: MIT
#include "app/cycle/pattern_cycle.hpp"

#include "app/cycle/handlers.hpp"
#include "surface/form/run_time_error.hpp"
#include "surface/form/screen.hpp"

namespace testcard {
namespace {

Screen ScreenOf(PixelSize size) {
  return Screen::FromPixels(size.width, size.height);
}

}  // namespace

CycleFailure FailureOf(const std::exception& error) {
  if (const auto* runTime = dynamic_cast<const RunTimeError*>(&error)) {
    return {runTime->Heading(), runTime->Message()};
  }
  return {"Unexpected error:", error.what()};
}

PatternCycle::PatternCycle(WindowPort* window) {
  if (window != nullptr) form_.AttachWindow(*window);
}

template <typename Step>
PatternCycle::Outcome PatternCycle::Guarded(Step step) {
  if (over_ != Outcome::kUnchanged) return over_;
  try {
    const Outcome outcome = step();
    if (outcome == Outcome::kEnded) over_ = outcome;
    return outcome;
  } catch (const std::exception& error) {
    failure_ = FailureOf(error);
    return over_ = Outcome::kFailed;
  }
}

PatternCycle::Outcome PatternCycle::Start(PixelSize screen) {
  return Guarded([&] {
    OnLoad(form_, ScreenOf(screen));
    return Outcome::kShow;
  });
}

PatternCycle::Outcome PatternCycle::Handle(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEvent::Kind::kTyped:
      return Guarded([&] { return KeyPresses(event.presses); });
    case WindowEvent::Kind::kResized:
      return Guarded([&] { return Resize(event.client, event.screen); });
    case WindowEvent::Kind::kShowAgain:
      return Guarded([] { return Outcome::kShow; });
    case WindowEvent::Kind::kClose:
      return Guarded([] { return Outcome::kEnded; });
    case WindowEvent::Kind::kNothing:
      break;
  }
  return Guarded([] { return Outcome::kUnchanged; });
}

PatternCycle::Outcome PatternCycle::KeyPresses(int presses) {
  for (int press = 0; press < presses; ++press) {
    if (OnKeyPress(form_) == KeyPressResult::kEndProgram) return Outcome::kEnded;
  }
  return presses > 0 ? Outcome::kShow : Outcome::kUnchanged;
}

// A size that rounds down to the form's even size changes nothing, so the
// window placed by start-up itself does not draw twice; the picture is
// shown again all the same, since the window system may have lost it.
PatternCycle::Outcome PatternCycle::Resize(PixelSize client, PixelSize screen) {
  if (client.width / 2 * 2 != Picture().Width() || client.height / 2 * 2 != Picture().Height()) {
    SizeToScreen(form_, ScreenOf(screen));
    RedrawPattern(form_);
  }
  return Outcome::kShow;
}

}  // namespace testcard
