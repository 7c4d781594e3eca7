// Rounding of floating-point values to 32-bit integers, defined for every input.
#pragma once

#include <cstdint>

// What Round gives for NaN, for infinities and for values outside the int32
// range: INT32_MIN, the x86 "integer indefinite".
constexpr int32_t kRoundInvalid = INT32_MIN;

// To the nearest whole number, ties to even, whatever the rounding mode of the
// calling thread. Cheap enough for the audio path: no library call. Within
// the accepted range the truncation is defined and v - below is exact.
inline int32_t Round(double v) {
  if (!(v >= -2147483648.5 && v < 2147483647.5)) return kRoundInvalid;
  int64_t below = static_cast<int64_t>(v);
  if (static_cast<double>(below) > v) --below;
  const double fraction = v - static_cast<double>(below);
  if (fraction > 0.5 || (fraction == 0.5 && (below & 1) != 0)) ++below;
  return static_cast<int32_t>(below);
}
