#include "DialGeometry.h"

#include <cmath>

#include "core/Rounding.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TDialPoint DialPoint(int32_t centreX, int32_t centreY, float index, int32_t count, float offset, float wedge,
                     float radius, bool stretch) {
  const double span = 1.0 - static_cast<double>(wedge);
  const double steps = static_cast<double>(count) - 1.0;
  const double along = count == 1 ? span : span * (steps - static_cast<double>(index)) / steps;
  const float t = NarrowToFloat(static_cast<double>(wedge) / 2.0 - 0.25 + static_cast<double>(offset) + along);
  TDialPoint result;
  result.Degrees = Round(360.0 * static_cast<double>(t));
  const float a = NarrowToFloat(2.0 * kPi * static_cast<double>(t));
  const double m = stretch ? static_cast<double>(1.03f) : 1.0;
  const double dx = std::cos(static_cast<double>(a)) * m * static_cast<double>(radius);
  const double dy = std::sin(static_cast<double>(a)) * static_cast<double>(radius);
  result.Point.X = ClampCoordinate(int64_t{centreX} + Round(dx));
  result.Point.Y = ClampCoordinate(int64_t{centreY} - Round(dy));
  return result;
}

float PointerToValue(const TDialPointer& dial, int32_t x, int32_t y, float current) {
  const int64_t dx = int64_t{x} - dial.CentreX;
  const int64_t dy = int64_t{y} - dial.CentreY;
  if (dx == 0 && dy == 0) return current;
  double t;
  if (dx == 0) {
    t = dy < 0 ? 0.25 : 0.75;
  } else if (dy == 0) {
    t = dx > 0 ? 0.0 : 0.5;
  } else {
    t = std::atan(-static_cast<double>(dy) / static_cast<double>(dx)) / (2.0 * kPi);
    if (dx < 0) t += 0.5;
  }
  t -= static_cast<double>(dial.AngleOffset);
  const double wedge = static_cast<double>(dial.Wedge);
  const double hi = 0.75 - wedge / 2.0;
  const double lo = wedge / 2.0 - 0.25;
  if (t < lo) {
    t = lo;
  } else if (t > hi) {
    t = hi;
  }
  if (lo == hi) return current;
  double v = (t - hi) / (lo - hi);
  if (dial.Quantise && dial.Ticks > 1) {
    const double steps = static_cast<double>(dial.Ticks) - 1.0;
    v = RoundHalfEven(steps * v) / steps;
  }
  if (!std::isfinite(v)) return current;
  return NarrowToFloat(v);
}
