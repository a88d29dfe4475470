// SPDX-License-Identifier: MIT
#pragma once

// SDL's own words for its last failure, for the files that talk to SDL.

#include <SDL_error.h>

#include <string>

#include "surface/form/run_time_error.hpp"

namespace testcard {

// What SDL said went wrong last, or "no reason given" when it said nothing.
inline std::string SdlError() {
  const char* error = SDL_GetError();
  return error != nullptr && *error != '\0' ? error : "no reason given";
}

// The run-time error for a failed window operation: `what` failed, and why.
[[noreturn]] inline void RaiseWindowFailure(const std::string& what) {
  throw RunTimeError(error_number::kWindowFailure, what + ": " + SdlError());
}

}  // namespace testcard
