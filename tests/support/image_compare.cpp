// SPDX-License-Identifier: MIT
#include "tests/support/image_compare.hpp"

#include <sstream>

namespace testcard::testing {

::testing::AssertionResult PictureIs(const Canvas& canvas,
                                     const std::function<Colour(int x, int y)>& expected) {
  std::ostringstream first;
  first << std::hex;
  long wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const Colour want = expected(x, y), got = canvas.Pixel(x, y);
      if (got != want && wrong++ < 4)
        first << "\n  (" << std::dec << x << ", " << y << ") is 0x" << std::hex << got
              << ", expected 0x" << want;
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << wrong << " pixels differ (0xBBGGRR), first:" << first.str();
}

::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
    return ::testing::AssertionFailure()
           << "sizes differ: " << actual.Width() << " x " << actual.Height() << ", expected "
           << expected.Width() << " x " << expected.Height();
  }
  return PictureIs(actual, [&](int x, int y) { return expected.Pixel(x, y); });
}

}  // namespace testcard::testing
