// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace testcard {

// What the raster core refuses: a picture larger than it can hold or than
// memory allows, a coordinate that is not a finite number, a negative
// radius. The core knows nothing of the program's run-time errors; the
// drawing surface above it turns this into one. what() is the detail alone,
// for example "Line coordinate is not a finite number".
class RasterError : public std::runtime_error {
 public:
  enum class Kind { kOutOfMemory, kInvalidArgument };
  RasterError(Kind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind) {}
  Kind kind() const noexcept { return kind_; }

 private:
  Kind kind_;
};

}  // namespace testcard
