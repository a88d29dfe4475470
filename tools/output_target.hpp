// SPDX-License-Identifier: MIT
#pragma once

// What an output path names once its symbolic links are followed, decided
// before anything is written, so that a link is never replaced by a file:
// - one of this process's own descriptors (/dev/stdout, /dev/fd/N,
//   /proc/self/fd/N): written through that descriptor, as "-" is, so that
//   a redirected standard output keeps what was written before and after;
// - a device, a FIFO or a socket: opened and written in place;
// - a regular file, or nothing yet: the file at the end of the links, to be
//   created or replaced whole (see replacement_file.hpp).
// A folder, a loop of links or a path that cannot be looked at is refused
// with a PngWriteError that names the path as given.

#include <string>

namespace testcard {

struct OutputTarget {
  enum class Kind { kDescriptor, kInPlace, kFile };
  Kind kind = Kind::kFile;
  int descriptor = -1;  // kDescriptor: the descriptor, not yet checked
  std::string path;     // kInPlace, kFile: the path at the end of the links
};

OutputTarget ResolveOutput(const std::string& given);

// Opens a kInPlace target for writing (connecting to a socket); returns
// the new descriptor or throws PngWriteError naming `given`.
int OpenInPlace(const std::string& path, const std::string& given);

}  // namespace testcard
