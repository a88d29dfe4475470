#include "surface/rounding.hpp"

#include <cmath>

namespace testcard {

double RoundHalfEven(double value) {
  // value - trunc(value) is exact for every double, so the tie test is too.
  const bool tie = std::fabs(value - std::trunc(value)) == 0.5;
  return tie ? 2 * std::round(value / 2) : std::round(value);
}

}  // namespace testcard
