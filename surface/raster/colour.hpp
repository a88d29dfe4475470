// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace testcard {

// A 24-bit RGB colour packed as 0x00BBGGRR: red + 256 * green + 65536 * blue.
// The top byte is always zero. This is also the layout of every canvas pixel.
using Colour = std::uint32_t;

constexpr std::uint8_t RedOf(Colour c) {
  return c & 0xFF;
}
constexpr std::uint8_t GreenOf(Colour c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(Colour c) {
  return (c >> 16) & 0xFF;
}

}  // namespace testcard
