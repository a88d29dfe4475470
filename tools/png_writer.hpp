// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "surface/raster/canvas.hpp"

namespace testcard {

// Raised when a PNG cannot be written; what() says what failed and why.
class PngWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Encodes `canvas` as an 8-bit-per-channel RGB PNG (no alpha; each canvas
// pixel 0x00BBGGRR becomes the bytes R, G, B) and writes it to `out`, which
// stays open with its last bytes perhaps still buffered: flushing it, and
// reporting what fails only then, is the caller's (OutputFile::Commit).
// Throws PngWriteError when encoding or a write fails.
//
// The settings suit test patterns, which are mostly flat areas and rows
// that repeat the row above: the "Up" filter and fast run-length deflate
// compress them well at a fraction of the cost of libpng's default adaptive
// filtering.
void WritePng(const Canvas& canvas, std::FILE* out, const char* outName);

// Writes `canvas` as a PNG to `target` as output_file.hpp describes: a
// regular file all or nothing (on failure an existing one is left as it
// was), anything else in place. PngWriteError says what failed.
void WritePngFile(const Canvas& canvas, const std::filesystem::path& target);

}  // namespace testcard
