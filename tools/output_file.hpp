// SPDX-License-Identifier: MIT
#pragma once

// Where testcard-render's PNG goes, opened before anything is drawn so that
// a path that cannot be written fails at once: "-" is standard output; any
// other path is resolved as output_target.hpp says. A regular file is
// written all or nothing (replacement_file.hpp); a descriptor, a device, a
// FIFO or a socket is written in place.

#include <cstdio>
#include <optional>
#include <string>

#include "tools/replacement_file.hpp"

namespace testcard {

class OutputFile {
 public:
  // Throws PngWriteError when the output cannot be opened.
  explicit OutputFile(const std::string& given);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  std::FILE* Stream() const { return stream_; }
  // The output as messages name it: the path as given, or "standard output".
  const std::string& Name() const { return name_; }

  // Flushes and closes the stream, and puts a regular file in place.
  // Throws PngWriteError, for a failure seen only now too.
  void Commit();

 private:
  void OpenStream(int descriptor);

  std::string name_;
  std::optional<ReplacementFile> replacement_;
  std::FILE* stream_ = nullptr;
};

}  // namespace testcard
