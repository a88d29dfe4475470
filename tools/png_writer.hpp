// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "surface/raster/canvas.hpp"

namespace testcard {

// Raised when a PNG cannot be written; what() says what failed and why.
class PngWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws "cannot write GIVEN: " and the system's words for errno `error`.
[[noreturn]] void RaiseWriteFailure(const std::string& given, int error);

// A picture to encode: width x height pixels of 8-bit R, G, B (and A, with
// `alpha`), handed over one row at a time: row(y, bytes) writes row y's
// width x 3 (or 4) bytes.
struct PngRows {
  int width = 0;
  int height = 0;
  bool alpha = false;
  std::function<void(int y, unsigned char* bytes)> row;
};

// Encodes `picture` as an 8-bit-per-channel PNG and writes it to `out`,
// which stays open with its last bytes perhaps still buffered: flushing it,
// and reporting what fails only then, is the caller's (OutputFile::Commit).
// Throws PngWriteError when encoding or a write fails; `outName` names the
// output in its message.
//
// The settings suit test patterns and icons, which are mostly flat areas
// and rows that repeat the row above: the "Up" filter and fast run-length
// deflate compress them well at a fraction of the cost of libpng's default
// adaptive filtering.
void WritePng(const PngRows& picture, std::FILE* out, const char* outName);

// A canvas as PngRows: no alpha; each pixel 0x00BBGGRR becomes the bytes R,
// G, B. The canvas must outlive the rows.
PngRows RowsOf(const Canvas& canvas);

// Writes `picture` as a PNG to `target` as output_file.hpp describes: a
// regular file all or nothing (on failure an existing one is left as it
// was), anything else in place. PngWriteError says what failed.
void WritePngFile(const PngRows& picture, const std::filesystem::path& target);

}  // namespace testcard
