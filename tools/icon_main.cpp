// SPDX-License-Identifier: MIT
// testcard-icon: writes the window icon at one size as a PNG with
// transparency. Run by the build to make the icons the desktop shows for
// testcard, so that they come from the same drawing code as the window's.

#include <charconv>
#include <iostream>
#include <string_view>

#include "surface/form/run_time_error.hpp"
#include "surface/form/window_icon.hpp"
#include "tools/icon_png.hpp"
#include "tools/png_writer.hpp"

int main(int argc, char** argv) {
  int size = 0;
  const std::string_view sizeText = argc == 3 ? argv[1] : "";
  const auto [end, error] =
      std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
  if (argc != 3 || error != std::errc() || end != sizeText.data() + sizeText.size()) {
    std::cerr << "usage: testcard-icon SIZE FILE.png   (SIZE in pixels, " << testcard::kMinIconSize
              << " to " << testcard::kMaxIconSize << ")\n";
    return 2;
  }
  try {
    testcard::WriteIconPng(testcard::DrawWindowIcon(size), size, argv[2]);
  } catch (const testcard::RunTimeError& problem) {
    std::cerr << "testcard-icon: " << problem.what() << "\n";
    return 1;
  } catch (const testcard::PngWriteError& problem) {
    std::cerr << "testcard-icon: " << problem.what() << "\n";
    return 1;
  }
  return 0;
}
