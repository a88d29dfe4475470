// SPDX-License-Identifier: MIT
#include "tests/support/image_compare.hpp"

#include <algorithm>
#include <sstream>

#include "tools/png_writer.hpp"

namespace testcard::testing {
namespace {

// Saves a picture for inspection; a failure to save must not hide the
// comparison's own failure, so it only adds a note.
std::string Save(const Canvas& canvas, const std::string& file) {
  if (canvas.Width() == 0 || canvas.Height() == 0) return " (" + file + ": empty, not saved)";
  try {
    WritePngFile(canvas, file);
    return " " + file;
  } catch (const PngWriteError& error) {
    return std::string(" (not saved: ") + error.what() + ")";
  }
}

}  // namespace

std::string DescribeColour(Colour colour) {
  std::ostringstream out;
  out << "RGB(" << int{RedOf(colour)} << ", " << int{GreenOf(colour)} << ", " << int{BlueOf(colour)}
      << ")";
  return out.str();
}

::testing::AssertionResult PictureIs(const Canvas& canvas,
                                     const std::function<Colour(int x, int y)>& expected) {
  std::ostringstream first;
  long wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const Colour want = expected(x, y);
      if (canvas.Pixel(x, y) == want) continue;
      if (wrong++ < 4) {
        first << "\n  (" << x << ", " << y << ") is " << DescribeColour(canvas.Pixel(x, y))
              << ", expected " << DescribeColour(want);
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ, first:" << first.str();
}

::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected,
                                       const std::string& name) {
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
    result = ::testing::AssertionFailure()
             << "sizes differ: actual " << actual.Width() << " x " << actual.Height()
             << ", expected " << expected.Width() << " x " << expected.Height();
  } else {
    result = PictureIs(actual, [&](int x, int y) { return expected.Pixel(x, y); });
  }
  if (result) return result;
  return result << "; saved:" << Save(actual, name + "-actual.png")
                << Save(expected, name + "-expected.png");
}

}  // namespace testcard::testing
