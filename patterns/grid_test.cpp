#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"

namespace testcard {

void GridTest(GridForm& form) {
  BeginPattern(form, 1);
  const Int16 S = FindCellSize(form);
  DrawRedBorder(form);
  DrawWhiteFrame(form, S);
}

}  // namespace testcard
