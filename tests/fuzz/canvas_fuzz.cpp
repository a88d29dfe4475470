// SPDX-License-Identifier: MIT
// Arbitrary drawing calls with arbitrary floats (NaN, infinities, 1e30,
// denormals) on a form and on a wider and taller one: each call raises the
// run-time error on both or on neither, nothing is drawn outside the picture
// (AddressSanitizer guards it), and clipping changes nothing visible.
//
// Input: width byte, height byte, then calls: an opcode byte and its
// operands as raw floats or colour bytes.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "surface/grid_form.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 0;
  auto byte = [&] { return at < size ? data[at++] : std::uint8_t{0}; };
  auto real = [&] {
    const std::uint8_t bytes[4] = {byte(), byte(), byte(), byte()};
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  };
  const int width = 1 + byte() * byte() / 128, height = 1 + byte() * byte() / 128;
  testcard::GridForm small(width, height), large(width + 64, height + 64);
  for (int calls = 0; at < size && calls < 64; ++calls) {
    const int op = byte() % 4;
    const float a = real(), b = real(), c = real(), d = real();
    int raised = 0;
    for (testcard::GridForm* form : {&small, &large}) {
      try {
        if (op == 0) form->Cls();
        if (op == 1) form->ForeColor(std::bit_cast<std::uint32_t>(a) & 0xFFFFFF);
        if (op == 2) form->Line(a, b, c, d);
        if (op == 3) form->Circle(a, b, c);
      } catch (const testcard::RunTimeError&) {
        ++raised;
      }
    }
    if (raised == 1) std::abort();
  }
  for (int y = 0; y < height; ++y) {
    const auto row = small.Picture().Row(y);
    if (!std::equal(row.begin(), row.end(), large.Picture().Row(y).begin())) std::abort();
  }
  return 0;
}
