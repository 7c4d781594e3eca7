// The small pictures the knob lays over its body: the pointer dot that
// turns with the value and the glint that moves on the cap.
#include <cmath>

#include "tools/artwork/KnobArt.h"
#include "tools/artwork/Shading.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
// The crescent lies between the cap's rim circle and the same circle moved
// this far to the lower right: thickest at the upper left, thinning away.
constexpr double kOffsetX = 1.5;
constexpr double kOffsetY = 1.8;
}  // namespace

TBitmap PointerDot() {
  // A cream bead sunk in a dark ring, so that it shows on the green, the grey
  // and the black caps alike. Its edge is blended over the ring's dark, not
  // over any one cap.
  const double c = 3.0, radius = 2.75, bead = 1.9;
  const TMaterial cream{Rgb(0.93, 0.92, 0.86), 0.55, 0.5, 0.25, 12};
  const TRgba ring = Rgb(0.16, 0.16, 0.16);
  const TLayer layer = Render(6, 6, 8, [&](double x, double y) -> TRgba {
    const double r = std::hypot(x - c, y - c);
    if (r >= radius) return {};
    if (r >= bead) return ring;
    const double z = std::sqrt(bead * bead - r * r);
    return Shade(cream, Normalised({x - c, y - c, z}));
  });
  return Keyed(
      layer, [&](int32_t, int32_t) { return ring; }, 0.35, 0xFFFFFF);
}

std::array<TBitmap, 4> ShimmerFrames() {
  // A crescent of light along the upper-left rim of the cap: the reflection
  // of a bright window in a glossy dome. The brightest part slides along it
  // from frame to frame. Centre (18, 18) is the knob's centre.
  const double centre = 18.0;
  const auto inCrescent = [&](double x, double y) {
    const double outer = std::hypot(x - centre, y - centre);
    const double inner = std::hypot(x - (centre + kOffsetX), y - (centre + kOffsetY));
    return outer < 14.9 && inner > 14.7;
  };
  // Coverage decides the pixels once, for all frames alike.
  const TLayer shape = Render(36, 36, 8, [&](double x, double y) -> TRgba {
    return inCrescent(x, y) ? TRgba{1, 1, 1, 1} : TRgba{};
  });

  std::array<TBitmap, 4> frames;
  for (int k = 0; k < 4; ++k) {
    const double spot = kPi * (0.62 + 0.075 * k);  // angle of the brightest part, counter-clockwise
    TBitmap frame(36, 36, kShimmerKey);
    for (int32_t y = 0; y < 36; ++y) {
      for (int32_t x = 0; x < 36; ++x) {
        if (shape.At(x, y).A < 0.5) continue;
        const double px = x + 0.5 - centre, py = y + 0.5 - centre;
        const double angle = std::atan2(-py, px);
        double delta = std::remainder(angle - spot, 2 * kPi);
        const double glow = std::exp(-(delta * delta) / (2 * 0.2 * 0.2));
        // Brighter towards the middle of the crescent's thickness.
        const double middle = std::exp(-std::pow(std::hypot(px - kOffsetX, py - kOffsetY) - 14.8, 2) / 0.6);
        const double v = std::min(0.985, 0.8 + 0.06 * middle + 0.13 * glow);
        const uint32_t level = static_cast<uint32_t>(std::lround(v * 255.0));
        frame.SetPixel(x, y, MakeColour(level, level, std::min(254u, level + 2)));
      }
    }
    frames[static_cast<size_t>(k)] = frame;
  }
  return frames;
}
