// SPDX-License-Identifier: MIT
#include "surface/form/rtc_rgb.hpp"

#include <string>

#include "surface/form/run_time_error.hpp"

namespace testcard {

Colour rtcRgb(int red, int green, int blue) {
  for (const int component : {red, green, blue}) {
    if (component < 0 || component > 255) {
      RaiseInvalidArgument("colour component " + std::to_string(component) +
                           " is outside 0 to 255");
    }
  }
  return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
         static_cast<Colour>(blue) << 16;
}

}  // namespace testcard
