#include "tools/png_writer.hpp"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
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

void FlushBytes(png_structp png) {
  auto* state = static_cast<EncoderState*>(png_get_io_ptr(png));
  if (std::fflush(state->out) != 0) png_error(png, std::strerror(errno));
}

// Converts one canvas row to packed RGB bytes.
void PackRow(std::span<const Colour> row, unsigned char* out) {
  for (const Colour pixel : row) {
    *out++ = RedOf(pixel);
    *out++ = GreenOf(pixel);
    *out++ = BlueOf(pixel);
  }
}

// The libpng calls, kept free of objects with destructors because an error
// leaves this function by longjmp. Returns false with state.message set on
// failure.
bool Encode(const Canvas& canvas, unsigned char* rowBuffer, EncoderState& state) {
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
  png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.Width()),
               static_cast<png_uint_32>(canvas.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  for (int y = 0; y < canvas.Height(); ++y) {
    PackRow(canvas.Row(y), rowBuffer);
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

void WritePng(const Canvas& canvas, std::FILE* out, const char* outName) {
  if (canvas.Width() == 0 || canvas.Height() == 0) {
    throw PngWriteError(Describe(outName, "a PNG cannot be empty"));
  }
  std::vector<unsigned char> rowBuffer(static_cast<std::size_t>(canvas.Width()) * 3);
  EncoderState state{};
  state.out = out;
  const bool encoded = Encode(canvas, rowBuffer.data(), state);
  if (!encoded) throw PngWriteError(Describe(outName, state.message));
  if (std::fflush(out) != 0 || std::ferror(out) != 0) {
    throw PngWriteError(Describe(outName, std::strerror(errno)));
  }
}

namespace {

// A temporary file beside the target that removes itself unless committed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& target) {
    std::string pattern = target.string() + ".tmp-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
      const std::filesystem::path folder =
          target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
      throw PngWriteError("cannot create a file in " + folder.string() + ": " +
                          std::strerror(errno));
    }
    path_ = pattern;
    // mkstemp makes the file private; give it the permissions a new file gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
      close(fd);
      Remove();
      throw PngWriteError("cannot open " + path_ + ": " + std::strerror(errno));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (file_ != nullptr) std::fclose(file_);
    Remove();
  }

  std::FILE* File() const { return file_; }
  const std::string& Path() const { return path_; }

  // Makes sure every byte is on disk, closes the file and renames it to
  // `target`. Throws PngWriteError, leaving the clean-up to the destructor.
  void CommitAs(const std::filesystem::path& target) {
    std::FILE* file = file_;
    file_ = nullptr;
    const bool synced = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const int syncErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!synced || !closed) {
      throw PngWriteError(Describe(target.c_str(), std::strerror(synced ? errno : syncErrno)));
    }
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
      throw PngWriteError(Describe(target.c_str(), std::strerror(errno)));
    }
    path_.clear();
  }

 private:
  void Remove() {
    if (!path_.empty()) std::remove(path_.c_str());
    path_.clear();
  }

  std::string path_;
  std::FILE* file_ = nullptr;
};

// A device or a pipe (/dev/stdout, a FIFO) cannot be replaced by renaming;
// the PNG goes straight into it.
void WritePngToDevice(const Canvas& canvas, const std::filesystem::path& target) {
  std::FILE* file = std::fopen(target.c_str(), "wb");
  if (file == nullptr) throw PngWriteError(Describe(target.c_str(), std::strerror(errno)));
  try {
    WritePng(canvas, file, target.c_str());
  } catch (...) {
    std::fclose(file);
    throw;
  }
  if (std::fclose(file) != 0) throw PngWriteError(Describe(target.c_str(), std::strerror(errno)));
}

}  // namespace

void WritePngFile(const Canvas& canvas, const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) throw PngWriteError(Describe(target.c_str(), "it is a folder"));
  if (fs::exists(status) && !fs::is_regular_file(status)) return WritePngToDevice(canvas, target);
  // Replace the file a symbolic link names, not the link itself.
  fs::path destination = target;
  if (fs::exists(status) && fs::is_symlink(fs::symlink_status(target, error))) {
    destination = fs::canonical(target, error);
    if (error) destination = target;
  }
  TemporaryFile temporary(destination);
  WritePng(canvas, temporary.File(), target.c_str());
  temporary.CommitAs(destination);
}

}  // namespace testcard
