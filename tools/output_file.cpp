// SPDX-License-Identifier: MIT
#include "tools/output_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/output_target.hpp"
#include "tools/png_writer.hpp"

namespace testcard {

OutputFile::OutputFile(const std::string& given) : name_(given == "-" ? "standard output" : given) {
  const OutputTarget target =
      given == "-" ? OutputTarget{OutputTarget::Kind::kDescriptor, STDOUT_FILENO, given}
                   : ResolveOutput(given);
  switch (target.kind) {
    case OutputTarget::Kind::kDescriptor:
      // Its own stream on a copy of the descriptor: the position it shares
      // with the caller's moves on, and closing the copy closes nothing.
      OpenStream(fcntl(target.descriptor, F_DUPFD_CLOEXEC, 0));
      break;
    case OutputTarget::Kind::kInPlace:
      OpenStream(OpenInPlace(target.path, given));
      break;
    case OutputTarget::Kind::kFile:
      replacement_.emplace(target.path, given);
      OpenStream(fcntl(replacement_->Descriptor(), F_DUPFD_CLOEXEC, 0));
      break;
  }
}

void OutputFile::OpenStream(int descriptor) {
  if (descriptor >= 0) stream_ = fdopen(descriptor, "wb");
  if (stream_ != nullptr) return;
  const int error = errno;
  if (descriptor >= 0) close(descriptor);
  throw PngWriteError("cannot write " + name_ + ": " + std::strerror(error));
}

OutputFile::~OutputFile() {
  if (stream_ != nullptr) std::fclose(stream_);
}

void OutputFile::Commit() {
  std::FILE* stream = stream_;
  stream_ = nullptr;
  errno = 0;
  const bool flushed = std::fflush(stream) == 0 && std::ferror(stream) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(stream) == 0;
  if (!flushed || !closed) {
    const int error = !flushed ? flushError : errno;
    throw PngWriteError("cannot write " + name_ + ": " +
                        (error != 0 ? std::strerror(error) : "write error"));
  }
  if (replacement_) replacement_->Commit();
}

}  // namespace testcard
