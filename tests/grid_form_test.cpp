#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "surface/colour.hpp"
#include "surface/grid_form.hpp"
#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

int CountPixels(const Canvas& canvas, Colour colour) {
  int count = 0;
  for (const Colour pixel : canvas.Pixels())
    count += pixel == colour;
  return count;
}

TEST(RtcRgb, PacksRedGreenBlueLowByteFirst) {
  const struct {
    int r, g, b;
    Colour expected;
  } cases[] = {
      {255, 0, 0, 0x000000FF}, {0, 255, 0, 0x0000FF00},  {0, 0, 255, 0x00FF0000},
      {1, 2, 3, 0x00030201},   {63, 63, 63, 0x003F3F3F}, {255, 255, 255, 0x00FFFFFF},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rtcRgb(c.r, c.g, c.b), c.expected);
  EXPECT_THROW(rtcRgb(256, 0, 0), RunTimeError);
  EXPECT_THROW(rtcRgb(0, -1, 0), RunTimeError);
  EXPECT_THROW(rtcRgb(0, 0, 1000), RunTimeError);
}

TEST(GridForm, StartsWithTheWindowDefaults) {
  GridForm form(320, 200);
  EXPECT_EQ(form.ScaleWidth().Get(), 320.0f);
  EXPECT_EQ(form.ScaleHeight().Get(), 200.0f);
  EXPECT_EQ(form.BackColor(), rtcRgb(64, 64, 64));
  EXPECT_EQ(form.ForeColor(), rtcRgb(255, 255, 255));
  EXPECT_EQ(form.Tag(), "");
  EXPECT_EQ(CountPixels(form.Picture(), rtcRgb(64, 64, 64)), 320 * 200);
}

TEST(GridForm, ClsPaintsTheNewBackColorEverywhereAlsoOverLines) {
  GridForm form(40, 30);
  form.Line(0, 0, 40, 30);
  form.Circle(20, 15, 10);
  form.BackColor(rtcRgb(0, 0, 0));
  EXPECT_GT(CountPixels(form.Picture(), rtcRgb(255, 255, 255)), 0) << "no effect before Cls";
  form.Cls();
  EXPECT_EQ(CountPixels(form.Picture(), rtcRgb(0, 0, 0)), 40 * 30);
}

TEST(GridForm, LinesUseTheCurrentPenAndOmitTheirLastPoint) {
  GridForm form(10, 8);
  form.BackColor(rtcRgb(0, 0, 0));
  form.Cls();
  form.ForeColor(rtcRgb(255, 0, 0));
  form.Line(0, 0, 0, form.ScaleHeight() - 1);
  EXPECT_EQ(form.Picture().Pixel(0, 0), rtcRgb(255, 0, 0));
  EXPECT_EQ(form.Picture().Pixel(0, 6), rtcRgb(255, 0, 0));
  EXPECT_EQ(form.Picture().Pixel(0, 7), rtcRgb(0, 0, 0)) << "bottom-left left unpainted";
  EXPECT_EQ(CountPixels(form.Picture(), rtcRgb(255, 0, 0)), 7);
}

// A window that hands out a different client size than asked for, as a
// window system may.
class FakeWindow : public WindowPort {
 public:
  PixelSize Place(const PixelRect& client) override {
    asked = client;
    return {client.width / 2, client.height / 2};
  }
  PixelRect asked;
};

TEST(GridForm, MoveTakesTwipsAtFifteenToThePixel) {
  GridForm form(10, 10);
  form.Move(0, 0, 1024 * 15, 768 * 15);
  EXPECT_EQ(form.ScaleWidth().Get(), 1024.0f);
  EXPECT_EQ(form.ScaleHeight().Get(), 768.0f);
  EXPECT_EQ(CountPixels(form.Picture(), form.BackColor()), 1024 * 768);

  FakeWindow window;
  form.AttachWindow(window);
  form.Move(30, 45, 800 * 15, 600 * 15);
  EXPECT_EQ(window.asked.left, 2);
  EXPECT_EQ(window.asked.top, 3);
  EXPECT_EQ(window.asked.width, 800);
  EXPECT_EQ(window.asked.height, 600);
  EXPECT_EQ(form.ScaleWidth().Get(), 400.0f) << "the canvas takes the size the window got";
  EXPECT_EQ(form.ScaleHeight().Get(), 300.0f);

  for (const float bad : {-15.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
    try {
      form.Move(0, 0, bad, 600 * 15);
      ADD_FAILURE() << "Move accepted a width of " << bad << " twips";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.Number(), error_number::kInvalidPropertyValue);
    }
  }
}

TEST(GridForm, ObserverHearsEveryCallInOrderWithThePenInUse) {
  struct Recorder : DrawingObserver {
    void OnBackColor(Colour c) override { calls.push_back("back " + std::to_string(c)); }
    void OnForeColor(Colour c) override { calls.push_back("fore " + std::to_string(c)); }
    void OnCls() override { calls.push_back("cls"); }
    void OnLine(float x1, float y1, float x2, float y2, Colour pen) override {
      std::ostringstream text;
      text << "line " << x1 << " " << y1 << " " << x2 << " " << y2 << " " << pen;
      calls.push_back(text.str());
    }
    void OnCircle(float x, float y, float r, Colour pen) override {
      std::ostringstream text;
      text << "circle " << x << " " << y << " " << r << " " << pen;
      calls.push_back(text.str());
    }
    std::vector<std::string> calls;
  } recorder;
  GridForm form(20, 20);
  form.Observe(&recorder);
  form.BackColor(1);
  form.Cls();
  form.ForeColor(2);
  form.Line(0.5f, 1, 2, 3);
  form.Circle(5, 6, 7.25f);
  form.Observe(nullptr);
  form.Line(0, 0, 5, 5);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"back 1", "cls", "fore 2", "line 0.5 1 2 3 2",
                                                      "circle 5 6 7.25 2"}));
}

}  // namespace
}  // namespace testcard
