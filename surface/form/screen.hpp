// SPDX-License-Identifier: MIT
#pragma once

#include "surface/form/checked_float.hpp"

namespace testcard {

// Twips are 1/1440 inch; the program's window geometry (the screen size,
// Move) is in twips at a fixed 15 twips per pixel, so 30 twips are two pixels.
inline constexpr int kTwipsPerPixel = 15;

// The primary screen's size in twips. Whoever knows the real display builds
// it from the display's size in device pixels.
class Screen {
 public:
  static Screen FromPixels(int width, int height) { return Screen(width, height); }

  Single Width() const { return Single(widthPixels_) * kTwipsPerPixel; }
  Single Height() const { return Single(heightPixels_) * kTwipsPerPixel; }

 private:
  Screen(int width, int height) : widthPixels_(width), heightPixels_(height) {}
  int widthPixels_;
  int heightPixels_;
};

}  // namespace testcard
