// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <span>

#include "surface/form/window_icon.hpp"

namespace testcard {

// Writes a square icon as drawn by DrawWindowIcon, `size` x `size` pixels,
// to `target` as an 8-bit RGBA PNG, keeping its transparency. Throws
// PngWriteError (tools/png_writer.hpp) when the file cannot be written; a
// file is written all or nothing, as testcard-render writes its PNGs.
void WriteIconPng(std::span<const IconPixel> pixels, int size, const std::filesystem::path& target);

}  // namespace testcard
