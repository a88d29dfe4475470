#include "patterns/elements.hpp"
#include "patterns/patterns.hpp"

namespace testcard {

void CrossTest(GridForm& form) {
  BeginPattern(form, 2);
  DrawRedBorder(form);
}

}  // namespace testcard
