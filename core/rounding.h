// Rounding rules shared by the whole program.
//
// Percentages and weights round to the nearest integer with ties to the even neighbour.
// Wherever the exact value is a ratio of integers (23 of 40 matches is exactly 57.5 %), round
// the ratio itself with RoundRatioHalfEven: 23.0 / 40 * 100 in doubles is 57.49999... and would
// round the wrong way. Rating changes are not rounded but truncated toward zero (plain integer
// conversion), so they do not use these helpers.
#pragma once

#include <cstdint>

namespace morvela {

// Nearest integer to x, ties to even (12.5 -> 12, 37.5 -> 38, -2.5 -> -2).
int64_t RoundHalfEven(double x);

// Nearest integer to num / den computed exactly in integers, ties to even.
// den must not be 0; a negative den is allowed.
int64_t RoundRatioHalfEven(int64_t num, int64_t den);

}  // namespace morvela
