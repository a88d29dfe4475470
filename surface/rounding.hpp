#pragma once

namespace testcard {

// Rounds to the nearest whole number; a value exactly halfway between two
// goes to the even one (14.5 -> 14, 15.5 -> 16, -2.5 -> -2). Unlike rounding
// half away from zero this is symmetric about every whole number, which keeps
// mirrored coordinates (x and W - 1 - x) on mirrored pixels. Independent of
// the floating-point rounding mode. NaN and infinities are returned as they are.
double RoundHalfEven(double value);

}  // namespace testcard
