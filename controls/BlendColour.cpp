#include "BlendColour.h"

#include <algorithm>
#include <cmath>

namespace {
uint32_t BlendChannel(uint32_t from, uint32_t to, double fraction) {
  const double step = std::trunc((static_cast<double>(to) - static_cast<double>(from)) * fraction);
  if (std::isnan(step)) return from;
  return static_cast<uint32_t>(std::clamp(static_cast<double>(from) + step, 0.0, 255.0));
}
}  // namespace

TColour BlendColour(TColour c1, TColour c2, double position, double high, double low) {
  const double fraction = high == low ? 0.0 : (position - low) / (high - low);
  return MakeColour(BlendChannel(RedOf(c1), RedOf(c2), fraction), BlendChannel(GreenOf(c1), GreenOf(c2), fraction),
                    BlendChannel(BlueOf(c1), BlueOf(c2), fraction));
}
