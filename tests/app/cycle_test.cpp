// Start-up and the pattern cycle on a headless GridForm, driven by made-up
// SDL events exactly as the window's event loop hands them over.

#include <gtest/gtest.h>

#include <string>

#include "app/events.hpp"
#include "app/handlers.hpp"
#include "patterns/patterns.hpp"
#include "surface/screen.hpp"
#include "tests/app/sdl_events.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using namespace testing;

Canvas Rendering(Pattern pattern, int width, int height) {
  GridForm form(width, height);
  DrawPattern(form, pattern);
  return form.Picture();
}

// Records where start-up asked the window to go.
class FakeWindow : public WindowPort {
 public:
  PixelSize Place(const PixelRect& client) override {
    asked = client;
    return {client.width, client.height};
  }
  PixelRect asked{-1, -1, -1, -1};
};

TEST(OnLoad, CoversTheScreenWithAnEvenSizedGridAndTheFirstPressShowsTheCross) {
  const struct {
    int screenWidth, screenHeight, width, height;
  } cases[] = {
      {1024, 768, 1024, 768}, {1025, 769, 1024, 768}, {801, 600, 800, 600},
      {800, 601, 800, 600},   {1366, 768, 1366, 768}, {3, 3, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.screenWidth) + " x " + std::to_string(c.screenHeight));
    GridForm form(10, 10);
    FakeWindow window;
    form.AttachWindow(window);
    OnLoad(form, Screen::FromPixels(c.screenWidth, c.screenHeight));
    EXPECT_EQ(window.asked.left, 0);
    EXPECT_EQ(window.asked.top, 0);
    EXPECT_EQ(window.asked.width, c.width);
    EXPECT_EQ(window.asked.height, c.height);
    EXPECT_TRUE(
        SamePicture(form.Picture(), Rendering(Pattern::kGrid, c.width, c.height), "onload"));
    EXPECT_EQ(DispatchEvent(form, Text(" ")), EventOutcome::kPictureChanged);
    EXPECT_TRUE(
        SamePicture(form.Picture(), Rendering(Pattern::kCross, c.width, c.height), "first"));
  }
}

TEST(OnLoad, AScreenTooWideForThe32BitTwipsArithmeticIsAnOverflow) {
  // 200 000 000 pixels are 3e9 twips, beyond a 32-bit integer.
  GridForm form(10, 10);
  EXPECT_EQ(ErrorNumberOf([&] { OnLoad(form, Screen::FromPixels(200'000'000, 768)); }),
            error_number::kOverflow);
  EXPECT_EQ(form.ScaleWidth().Get(), 10.0f) << "the window must not have moved";
  EXPECT_EQ(form.Tag(), "");
}

TEST(PatternCycle, CharacterKeysStepGridCrossColourThenEndOthersChangeNothing) {
  GridForm form(10, 10);
  OnLoad(form, Screen::FromPixels(640, 480));
  const Canvas grid = form.Picture();
  const Canvas cross = Rendering(Pattern::kCross, 640, 480);
  const Canvas colour = Rendering(Pattern::kColour, 640, 480);
  SDL_Event quit{};
  quit.type = SDL_QUIT;

  const struct {
    const char* what;
    SDL_Event event;
    EventOutcome outcome;
    const char* tag;
    const Canvas& picture;
  } steps[] = {
      {"Left", KeyDown(SDLK_LEFT), EventOutcome::kNothing, "1", grid},
      {"F5", KeyDown(SDLK_F5), EventOutcome::kNothing, "1", grid},
      {"Shift", KeyDown(SDLK_LSHIFT), EventOutcome::kNothing, "1", grid},
      {"key-down of a", KeyDown(SDLK_a), EventOutcome::kNothing, "1", grid},
      {"expose", WindowEvent(SDL_WINDOWEVENT_EXPOSED), EventOutcome::kShowAgain, "1", grid},
      {"close request", WindowEvent(SDL_WINDOWEVENT_CLOSE), EventOutcome::kEndProgram, "1", grid},
      {"quit", quit, EventOutcome::kEndProgram, "1", grid},
      {"text of a", Text("a"), EventOutcome::kPictureChanged, "2", cross},
      {"Delete", KeyDown(SDLK_DELETE), EventOutcome::kNothing, "2", cross},
      {"restore", WindowEvent(SDL_WINDOWEVENT_RESTORED), EventOutcome::kShowAgain, "2", cross},
      {"Enter", KeyDown(SDLK_RETURN), EventOutcome::kPictureChanged, "3", colour},
      {"Page Down", KeyDown(SDLK_PAGEDOWN), EventOutcome::kNothing, "3", colour},
      {"Escape", KeyDown(SDLK_ESCAPE), EventOutcome::kEndProgram, "3", colour},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(DispatchEvent(form, step.event), step.outcome);
    EXPECT_EQ(form.Tag(), step.tag);
    EXPECT_TRUE(SamePicture(form.Picture(), step.picture, "cycle"));
  }
}

TEST(PatternCycle, PressesThatQueuedUpAreAllHandledInOrder) {
  // Two characters in one text event (an input method, or presses that
  // arrived while a pattern was drawn) step twice; three end the program.
  GridForm form(10, 10);
  OnLoad(form, Screen::FromPixels(320, 240));
  EXPECT_EQ(DispatchEvent(form, Text("xy")), EventOutcome::kPictureChanged);
  EXPECT_EQ(form.Tag(), "3");
  EXPECT_TRUE(SamePicture(form.Picture(), Rendering(Pattern::kColour, 320, 240), "queued"));
  OnLoad(form, Screen::FromPixels(320, 240));
  EXPECT_EQ(DispatchEvent(form, Text("xyz")), EventOutcome::kEndProgram);
}

TEST(OnKeyPress, StepsByTheNumberAtTheStartOfTag) {
  const struct {
    const char* tag;
    const char* tagAfter;  // nullptr: the program ends, Tag unchanged
  } cases[] = {
      {"", nullptr},    {"0", nullptr},   {"1.0", "2"},    {" 2", "3"},     {"2abc", "3"},
      {"+1", "2"},      {"2e", "3"},      {"0.2e1", "3"},  {"12", nullptr}, {"-1", nullptr},
      {"1.5", nullptr}, {"abc", nullptr}, {"x1", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("Tag \"") + c.tag + "\"");
    GridForm form(48, 32);
    form.Tag(c.tag);
    EXPECT_EQ(OnKeyPress(form),
              c.tagAfter ? KeyPressResult::kContinue : KeyPressResult::kEndProgram);
    EXPECT_EQ(form.Tag(), c.tagAfter ? c.tagAfter : c.tag);
  }
}

}  // namespace
}  // namespace testcard
