#include "tests/support/image_compare.hpp"

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

::testing::AssertionResult SamePicture(const Canvas& actual, const Canvas& expected,
                                       const std::string& name) {
  std::ostringstream failure;
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
    failure << "sizes differ: actual " << actual.Width() << " x " << actual.Height()
            << ", expected " << expected.Width() << " x " << expected.Height();
  } else {
    long differing = 0;
    for (int y = 0; y < actual.Height(); ++y) {
      for (int x = 0; x < actual.Width(); ++x) {
        if (actual.Pixel(x, y) == expected.Pixel(x, y)) continue;
        if (differing++ == 0) {
          failure << "first difference at (" << x << ", " << y << "): actual "
                  << DescribeColour(actual.Pixel(x, y)) << ", expected "
                  << DescribeColour(expected.Pixel(x, y));
        }
      }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    failure << "; " << differing << " pixels differ";
  }
  failure << "; saved:" << Save(actual, name + "-actual.png")
          << Save(expected, name + "-expected.png");
  return ::testing::AssertionFailure() << failure.str();
}

Canvas Crop(const Canvas& source, int left, int top, int width, int height) {
  Canvas result(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // A one-pixel horizontal line is the only way to set a single pixel.
      result.Line(x, y, x + 1, y, source.Pixel(left + x, top + y));
    }
  }
  return result;
}

}  // namespace testcard::testing
