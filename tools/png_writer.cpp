// SPDX-License-Identifier: MIT
#include "tools/png_writer.hpp"

#include "tools/output_file.hpp"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

namespace testcard {
namespace {

// libpng reports errors by longjmp; the message is kept here on the way out.
struct EncoderState {
  std::jmp_buf jump;
  char message[256];
  std::FILE* out;
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<EncoderState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  std::longjmp(state->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// libpng's own writer says only "Write Error"; this one says why.
void WriteBytes(png_structp png, png_bytep data, std::size_t length) {
  auto* state = static_cast<EncoderState*>(png_get_io_ptr(png));
  if (std::fwrite(data, 1, length, state->out) != length) png_error(png, std::strerror(errno));
}

// libpng flushes only when asked to (png_set_flush, not used); flushing
// and its errors are the caller's, once the whole PNG is written.
void FlushBytes(png_structp) {}

// The libpng calls, kept free of objects with destructors because an error
// leaves this function by longjmp. Returns false with state.message set on
// failure.
bool Encode(const PngRows& picture, unsigned char* rowBuffer, EncoderState& state) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
  if (png == nullptr) {
    std::snprintf(state.message, sizeof state.message, "libpng could not start");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (setjmp(state.jump) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (info == nullptr) png_error(png, "libpng could not start");
  png_set_write_fn(png, &state, WriteBytes, FlushBytes);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), 8,
               picture.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    picture.row(y, rowBuffer);
    png_write_row(png, rowBuffer);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

std::string Describe(const char* outName, const std::string& what) {
  return std::string("cannot write ") + outName + ": " + what;
}

}  // namespace

void RaiseWriteFailure(const std::string& given, int error) {
  throw PngWriteError(Describe(given.c_str(), std::strerror(error)));
}

void WritePng(const PngRows& picture, std::FILE* out, const char* outName) {
  if (picture.width <= 0 || picture.height <= 0) {
    throw PngWriteError(Describe(outName, "a PNG cannot be empty"));
  }
  std::vector<unsigned char> rowBuffer(static_cast<std::size_t>(picture.width) *
                                       (picture.alpha ? 4 : 3));
  EncoderState state{};
  state.out = out;
  const bool encoded = Encode(picture, rowBuffer.data(), state);
  if (!encoded) throw PngWriteError(Describe(outName, state.message));
}

PngRows RowsOf(const Canvas& canvas) {
  return {canvas.Width(), canvas.Height(), false, [&canvas](int y, unsigned char* bytes) {
            for (const Colour pixel : canvas.Row(y)) {
              *bytes++ = RedOf(pixel);
              *bytes++ = GreenOf(pixel);
              *bytes++ = BlueOf(pixel);
            }
          }};
}

void WritePngFile(const PngRows& picture, const std::filesystem::path& target) {
  OutputFile output(target.string());
  WritePng(picture, output.Stream(), output.Name().c_str());
  output.Commit();
}

}  // namespace testcard
