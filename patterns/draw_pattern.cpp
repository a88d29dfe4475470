// SPDX-License-Identifier: MIT
#include "patterns/patterns.hpp"

namespace testcard {

std::optional<Pattern> PatternInTag(const GridForm& form) {
  const std::string& tag = form.Tag();
  if (tag == "1") return Pattern::kGrid;
  if (tag == "2") return Pattern::kCross;
  if (tag == "3") return Pattern::kColour;
  return std::nullopt;
}

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
