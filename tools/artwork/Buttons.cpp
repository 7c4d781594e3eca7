// Button caps modelled as a pillow-shaped rounded block under the shared
// light, with the LED as a small dome in a dark bezel.
#include <algorithm>
#include <cmath>

#include "tools/artwork/ButtonArt.h"
#include "tools/artwork/Layer.h"
#include "tools/artwork/Shading.h"

namespace {

struct TBox {
  double CentreX, CentreY, HalfWidth, HalfHeight, Radius;
};

// Distance from a rounded box's edge, positive inside.
double Inside(const TBox& b, double x, double y) {
  const double qx = std::abs(x - b.CentreX) - (b.HalfWidth - b.Radius);
  const double qy = std::abs(y - b.CentreY) - (b.HalfHeight - b.Radius);
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
  return b.Radius - outside;
}

// A small repeatable grain, one value per pixel and seed, in -1 .. 1.
double Grain(int32_t x, int32_t y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u ^
               static_cast<uint32_t>(seed) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return (h & 0xFFFF) / 32767.5 - 1.0;
}

constexpr double kLedX = 19.0;
constexpr double kLedY = 11.5;
constexpr double kBezel = 5.4;
constexpr double kLens = 3.9;

}  // namespace

TBitmap ButtonPicture(bool pressed, bool lit, int variant) {
  // Pressed, the cap sinks: it moves a little down and right, its shoulder
  // shows less and the hole's wall shades its upper-left edge.
  const double shift = pressed ? 0.8 : 0.0;
  const TBox cap{19.0 + shift * 0.6, 22.0 + shift, 17.3, 20.8, 5.5};
  const double bevel = pressed ? 2.6 : 3.2;
  const double rise = pressed ? 2.2 : 3.4;
  const double tone = 0.735 + 0.006 * ((variant * 5) % 3 - 1);
  const TMaterial rubber{Rgb(tone, tone, tone * 1.015), 0.5, 0.55, 0.07, 6};
  const TMaterial bezelFinish{Rgb(0.2, 0.2, 0.21), 0.45, 0.6, 0.5, 30};
  const TRgba floor = Opaque(kHoleFloor);
  const double ledX = kLedX + shift * 0.6 + 0.05 * (variant - 1.5);
  const double ledY = kLedY + shift;

  const auto height = [&](double x, double y) {
    const double d = Inside(cap, x, y);
    const double t = std::clamp(d / bevel, 0.0, 1.0);
    double h = rise * std::sqrt(1.0 - (1.0 - t) * (1.0 - t));
    // The face bulges a touch, like moulded rubber.
    const double u = (x - cap.CentreX) / cap.HalfWidth, v = (y - cap.CentreY) / cap.HalfHeight;
    h += 0.9 * std::max(0.0, 1.0 - 0.6 * (u * u + v * v)) * t;
    // A shallow dish below the LED where the finger goes.
    const double dish = std::hypot((x - cap.CentreX) / 11.0, (y - (cap.CentreY + 7.0)) / 9.5);
    h -= 1.0 * SmoothStep(1.0, 0.78, dish) + 0.3 * std::max(0.0, 1.0 - dish * dish);
    return h;
  };

  const TLayer layer = Render(kButtonWidth, kButtonHeight, 6, [&](double x, double y) -> TRgba {
    const double d = Inside(cap, x, y);
    if (d <= 0) {
      // The floor, darker where the cap shades it towards the lower right.
      const double shade = pressed ? 0.0 : 0.55 * SmoothStep(-2.2, 0.0, Inside(cap, x - 1.2, y - 1.6));
      return Scale(floor, 1.0 - shade);
    }
    const double ledR = std::hypot(x - ledX, y - ledY);
    TRgba c;
    if (ledR < kLens) {
      const double z = std::sqrt(kLens * kLens - ledR * ledR);
      const TVec3 n = Normalised({x - ledX, y - ledY, z * 1.4});
      if (lit) {
        // Glowing from within: hot in the middle, deep red at the edge.
        const double core = std::exp(-(ledR * ledR) / 5.0);
        c = Rgb(0.88 + 0.12 * core, 0.1 + 0.62 * core, 0.06 + 0.5 * core);
        const TRgba glint = Shade({Rgb(0, 0, 0), 0, 0, 0.5, 40}, n);
        c = {std::min(1.0, c.R + glint.R), std::min(1.0, c.G + glint.G), std::min(1.0, c.B + glint.B), 1.0};
      } else {
        c = Shade({Rgb(0.34, 0.04, 0.035), 0.45, 0.5, 0.55, 40}, n);
      }
    } else if (ledR < kBezel) {
      // The bezel: a dark ring, rounded on top.
      const double t = (ledR - kLens) / (kBezel - kLens);
      const TVec3 n = Normalised({(x - ledX) / ledR * (t - 0.5) * 2.0, (y - ledY) / ledR * (t - 0.5) * 2.0, 1.0});
      c = Shade(bezelFinish, n);
    } else {
      c = Shade(rubber, NormalAt(height, x, y));
      if (pressed)
        c = Scale(c, 0.93 - 0.12 * (1.0 - SmoothStep(0.0, 5.0,
                                                     std::min(x - (cap.CentreX - cap.HalfWidth),
                                                              y - (cap.CentreY - cap.HalfHeight)))));
      // A moulded recess shades the rubber just round the bezel.
      c = Scale(c, 1.0 - 0.25 * (1.0 - SmoothStep(kBezel, kBezel + 1.4, ledR)));
    }
    if (lit && ledR >= kLens) {
      // The LED's light on the cap round it.
      const double glow = 0.55 * std::exp(-std::pow(std::max(0.0, ledR - kLens) / 4.5, 2));
      c = {std::min(1.0, c.R + glow * 0.95), c.G + glow * 0.14, c.B + glow * 0.1, 1.0};
    }
    // A fine grain in the rubber, different for every variant.
    const double grain = 0.01 * Grain(static_cast<int32_t>(x), static_cast<int32_t>(y), variant + (pressed ? 8 : 0));
    return {c.R + grain, c.G + grain, c.B + grain, 1.0};
  });
  return Keyed(
      layer, [&](int32_t, int32_t) { return floor; }, 0.0, 0xFFFFFF);
}
