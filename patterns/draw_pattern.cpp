// SPDX-License-Identifier: MIT
#include "patterns/patterns.hpp"

namespace testcard {

void DrawPattern(GridForm& form, Pattern pattern) {
  switch (pattern) {
    case Pattern::kGrid:
      GridTest(form);
      return;
    case Pattern::kCross:
      CrossTest(form);
      return;
    case Pattern::kColour:
      ColorTest(form);
      return;
  }
}

}  // namespace testcard
