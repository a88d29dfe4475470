#include <gtest/gtest.h>

#include <limits>

#include "surface/grid_form.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using namespace testing;

TEST(RtcRgb, PacksRedGreenBlueLowByteFirst) {
  EXPECT_EQ(rtcRgb(1, 2, 3), 0x00030201u);
  EXPECT_EQ(rtcRgb(255, 255, 255), 0x00FFFFFFu);
  EXPECT_THROW(rtcRgb(256, 0, 0), RunTimeError);
  EXPECT_THROW(rtcRgb(0, -1, 0), RunTimeError);
}

TEST(GridForm, StartsGreyWithAWhitePenAndClsPaintsTheNewBackColor) {
  GridForm form(40, 30);
  EXPECT_EQ(form.ScaleWidth().Get(), 40.0f);
  EXPECT_EQ(form.ScaleHeight().Get(), 30.0f);
  EXPECT_EQ(form.Tag(), "");
  EXPECT_TRUE(PictureIs(form.Picture(), [](int, int) { return rtcRgb(64, 64, 64); }));
  // The pen draws with the last ForeColor; a new BackColor shows only after Cls.
  form.Line(0, 0, 0, form.ScaleHeight() - 1);
  form.ForeColor(kRed);
  form.Line(1, 0, 1, form.ScaleHeight() - 1);
  form.BackColor(kBlack);
  EXPECT_TRUE(PixelsAre(form.Picture(), 0, 0, 2, 29, [](int x, int y) {
    if (x == 2 || y == 29) return rtcRgb(64, 64, 64);
    return x == 0 ? kWhite : kRed;
  }));
  form.Circle(20, 15, 10);
  form.Cls();
  EXPECT_TRUE(PictureIs(form.Picture(), [](int, int) { return kBlack; }));
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
  EXPECT_TRUE(PictureIs(form.Picture(), [](int, int) { return rtcRgb(64, 64, 64); }));

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
    EXPECT_EQ(ErrorNumberOf([&] { form.Move(0, 0, bad, 600 * 15); }),
              error_number::kInvalidPropertyValue)
        << bad << " twips";
  }
}

}  // namespace
}  // namespace testcard
