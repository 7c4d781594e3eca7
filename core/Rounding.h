// Float-to-integer conversions defined for every input, so that NaN,
// infinities and huge values never reach undefined behaviour, whether in the
// signal path or in the drawing code. Independent of the calling thread's
// rounding mode.
#pragma once

#include <cmath>
#include <cstdint>

// What Round and TruncToInt give for NaN, infinities and values outside the
// int32 range: INT32_MIN, the x86 "integer indefinite".
constexpr int32_t kRoundInvalid = INT32_MIN;

// To the nearest int32, ties to even. Cheap enough for the audio path: no
// library call. Within the accepted range the truncation is defined and
// v - below is exact.
inline int32_t Round(double v) {
  if (!(v >= -2147483648.5 && v < 2147483647.5)) return kRoundInvalid;
  int64_t below = static_cast<int64_t>(v);
  if (static_cast<double>(below) > v) --below;
  const double fraction = v - static_cast<double>(below);
  if (fraction > 0.5 || (fraction == 0.5 && (below & 1) != 0)) ++below;
  return static_cast<int32_t>(below);
}

// Nearest whole number, ties to even, kept as a double for values that need
// not fit an int32. NaN and infinities pass through unchanged.
inline double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double below = std::floor(v);
  const double fraction = v - below;
  if (fraction > 0.5) return below + 1.0;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// Truncation toward zero with the same guard.
inline int32_t TruncToInt(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return kRoundInvalid;
  return static_cast<int32_t>(v);
}

// A double stored as a float: values beyond the float range become
// infinities instead of undefined behaviour; NaN stays NaN.
inline float NarrowToFloat(double v) {
  constexpr double kFloatMax = 3.4028234663852886e38;
  if (v > kFloatMax) return v < 3.4028235677973366e38 ? 3.4028234663852886e38f : HUGE_VALF;
  if (v < -kFloatMax) return v > -3.4028235677973366e38 ? -3.4028234663852886e38f : -HUGE_VALF;
  return static_cast<float>(v);
}

// a / b with the IEEE results spelled out for b = 0, so that no division by
// zero is ever executed.
inline double Ratio(double a, double b) {
  if (b != 0.0) return a / b;
  if (a > 0.0) return HUGE_VAL;
  if (a < 0.0) return -HUGE_VAL;
  return std::nan("");
}
