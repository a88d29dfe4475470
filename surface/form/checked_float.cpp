// SPDX-License-Identifier: MIT
#include "surface/form/checked_float.hpp"

#include <cstdint>
#include <limits>

#include "surface/raster/rounding.hpp"

namespace testcard {
namespace {

template <typename Int>
Int RoundInto(double value) {
  const double rounded = RoundHalfEven(value);
  using Raw = typename Int::Value;
  if (!(rounded >= std::numeric_limits<Raw>::min() && rounded <= std::numeric_limits<Raw>::max())) {
    RaiseOverflow("cannot round " + std::to_string(value) + " into a " +
                  std::to_string(Int::kBits) + "-bit integer");
  }
  return Int(static_cast<std::int64_t>(rounded));
}

}  // namespace

Int16 RoundToInt16(Single value) {
  return RoundInto<Int16>(value.Get());
}
Int32 RoundToInt32(Double value) {
  return RoundInto<Int32>(value.Get());
}

}  // namespace testcard
