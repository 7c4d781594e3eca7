// Rounding of floating-point values to 32-bit integers, defined for every input.
#pragma once

#include <cmath>
#include <cstdint>

// What Round gives for NaN, for infinities and for values outside the int32
// range: INT32_MIN, the x86 "integer indefinite".
constexpr int32_t kRoundInvalid = INT32_MIN;

// To the nearest whole number, ties to even, whatever the rounding mode of the
// calling thread. floor() is exact, so the comparison with one half is exact.
inline int32_t Round(double v) {
  if (!(v >= -2147483648.5 && v < 2147483647.5)) return kRoundInvalid;
  const double below = std::floor(v);
  const double fraction = v - below;
  double result = below;
  if (fraction > 0.5) {
    result = below + 1.0;
  } else if (fraction == 0.5) {
    result = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
  }
  return static_cast<int32_t>(result);
}
