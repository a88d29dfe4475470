#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "surface/canvas.hpp"

namespace testcard {

// Raised when a PNG cannot be written; what() says what failed and why.
class PngWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Encodes `canvas` as an 8-bit-per-channel RGB PNG (no alpha; each canvas
// pixel 0x00BBGGRR becomes the bytes R, G, B) and writes it to `out`, which
// stays open. Throws PngWriteError when encoding or writing fails, including
// a failure that only shows when `out` is flushed.
//
// The settings suit test patterns, which are mostly flat areas: the "Sub"
// filter and fast deflate compress them well at a fraction of the cost of
// libpng's default adaptive filtering.
void WritePng(const Canvas& canvas, std::FILE* out, const char* outName);

// Writes `canvas` as a PNG file at `target`, all or nothing: the PNG goes to
// a temporary file beside the target, which is renamed over it only when the
// whole file has reached the disk. On failure the temporary file is removed,
// an existing target is left as it was, and PngWriteError says what failed.
void WritePngFile(const Canvas& canvas, const std::filesystem::path& target);

}  // namespace testcard
