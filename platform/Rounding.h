// Float-to-integer conversions that are defined for every input, so that
// degenerate geometry (NaN, infinities, huge radii) never reaches undefined
// behaviour in the drawing code.
#pragma once

#include <cmath>
#include <cstdint>

// What RoundToInt gives for NaN, infinities and values outside the int32 range.
constexpr int32_t kRoundInvalid = INT32_MIN;

// Nearest whole number, ties to even, as a double; independent of the
// thread's rounding mode. NaN and infinities pass through unchanged.
inline double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double below = std::floor(v);
  const double fraction = v - below;
  if (fraction > 0.5) return below + 1.0;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// Nearest int32, ties to even; kRoundInvalid when the result does not fit.
inline int32_t RoundToInt(double v) {
  if (!(v >= -2147483648.5 && v < 2147483647.5)) return kRoundInvalid;
  const double r = RoundHalfEven(v);
  if (r > 2147483647.0) return kRoundInvalid;
  return static_cast<int32_t>(r);
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
