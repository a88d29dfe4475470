// SPDX-License-Identifier: MIT
#include "surface/form/grid_form.hpp"

#include <cmath>
#include <string>

#include "surface/form/rtc_rgb.hpp"
#include "surface/form/run_time_error.hpp"
#include "surface/form/screen.hpp"
#include "surface/raster/rounding.hpp"

namespace testcard {
namespace {

// Twips to whole pixels, refusing what no window can be.
int TwipsToPixels(Single twips, const char* what, bool mayBeNegative) {
  const double pixels = RoundHalfEven(static_cast<double>(twips.Get()) / kTwipsPerPixel);
  if (!(std::fabs(pixels) <= Canvas::kMaxSide) || (!mayBeNegative && pixels < 0)) {
    throw RunTimeError(error_number::kInvalidPropertyValue,
                       std::string("Invalid property value (Move ") + what + " of " +
                           std::to_string(twips.Get()) + " twips)");
  }
  return static_cast<int>(pixels);
}

}  // namespace

GridForm::GridForm(int clientWidth, int clientHeight)
    : backColor_(rtcRgb(64, 64, 64)), foreColor_(rtcRgb(255, 255, 255)) {
  try {
    picture_.Resize(clientWidth, clientHeight, backColor_);
  } catch (const RasterError& error) {
    RaiseRasterFault(error);
  }
}

void GridForm::RaiseRasterFault(const RasterError& error) {
  if (error.kind() == RasterError::Kind::kOutOfMemory) {
    throw RunTimeError(error_number::kOutOfMemory,
                       std::string("Out of memory (") + error.what() + ")");
  }
  RaiseInvalidArgument(error.what());
}

void GridForm::Move(Single left, Single top, Single width, Single height) {
  const PixelRect client{TwipsToPixels(left, "left", true), TwipsToPixels(top, "top", true),
                         TwipsToPixels(width, "width", false),
                         TwipsToPixels(height, "height", false)};
  PixelSize size{client.width, client.height};
  if (window_ != nullptr) size = window_->Place(client);
  try {
    picture_.Resize(size.width, size.height, backColor_);
  } catch (const RasterError& error) {
    RaiseRasterFault(error);
  }
}

}  // namespace testcard
