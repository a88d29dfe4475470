// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <utility>

#include "surface/form/grid_form.hpp"
#include "surface/form/rtc_rgb.hpp"
#include "tests/support/image_compare.hpp"

namespace testcard {
namespace {

using testing::ErrorNumberOf;

TEST(RtcRgb, PacksRedGreenBlueLowByteFirstAndRefusesOtherComponents) {
  EXPECT_EQ(rtcRgb(1, 2, 3), 0x00030201u);
  EXPECT_THROW(rtcRgb(256, 0, 0), RunTimeError);
  EXPECT_THROW(rtcRgb(0, -1, 0), RunTimeError);
}

// A window that hands out a different client size than asked for, as a
// window system may.
class HalvingWindow : public WindowPort {
 public:
  PixelSize Place(const PixelRect& client) override {
    asked = client;
    return {client.width / 2, client.height / 2};
  }
  PixelRect asked;
};

TEST(GridForm, MoveRoundsTwipsToPixelsAndTakesTheSizeTheWindowGot) {
  GridForm form(10, 10);
  EXPECT_EQ(form.Picture().Pixel(9, 9), rtcRgb(64, 64, 64));
  form.Move(0, 0, 1024 * 15 + 7, 768 * 15 + 8);  // 1024.47 and 768.53 pixels
  EXPECT_EQ(std::pair(form.ScaleWidth().Get(), form.ScaleHeight().Get()),
            std::pair(1024.0f, 769.0f));
  HalvingWindow window;
  form.AttachWindow(window);
  form.Move(30, 45, 800 * 15, 600 * 15);
  const PixelRect& a = window.asked;
  EXPECT_EQ((std::array{a.left, a.top, a.width, a.height}), (std::array{2, 3, 800, 600}));
  EXPECT_EQ(std::pair(form.ScaleWidth().Get(), form.ScaleHeight().Get()),
            std::pair(400.0f, 300.0f));
  for (const float bad : {-15.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
    EXPECT_EQ(ErrorNumberOf([&] { form.Move(0, 0, bad, 600 * 15); }),
              error_number::kInvalidPropertyValue)
        << bad << " twips";
  }
}

}  // namespace
}  // namespace testcard
