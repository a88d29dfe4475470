// SPDX-License-Identifier: MIT
#pragma once

// A new file that takes the place of a regular file (or of nothing) all at
// once when committed, and otherwise leaves no trace: not when writing
// fails, not when the process is ended by SIGINT, SIGTERM, SIGHUP, SIGQUIT
// or SIGXFSZ. It has no name until it is complete (Linux O_TMPFILE) where
// the file system allows that; elsewhere it has a short hidden name beside
// the target, which a signal handler removes. Either way the temporary
// name never grows with the target's, so any name the file system takes
// works.
//
// Replacing a file keeps its permission bits (and, where allowed, its
// owner); a file the user may not write is refused, as cp would.
// Errors are PngWriteError naming the path the user gave.

#include <string>

namespace testcard {

class ReplacementFile {
 public:
  enum class Naming { kUnnamedWherePossible, kNamed };

  // `path` is the file to replace (no symbolic link); `given` is how the
  // user named it, for messages.
  ReplacementFile(const std::string& path, const std::string& given,
                  Naming naming = Naming::kUnnamedWherePossible);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  // Where to write the new content; stays owned by this object.
  int Descriptor() const { return descriptor_; }

  // Makes sure every byte is on the disk, then puts the file in place of
  // the target in one step. On failure the target is left as it was.
  void Commit();

 private:
  void Open(const std::string& path, Naming naming);
  void CreateNamed();
  void Release();

  std::string given_;
  std::string name_;       // the target's name inside its folder
  std::string temporary_;  // the hidden name, while the file has one
  int folder_ = -1;
  int descriptor_ = -1;
};

}  // namespace testcard
