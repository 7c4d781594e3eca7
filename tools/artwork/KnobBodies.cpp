// Knob bodies modelled as a height field: a ribbed rubber ring round a
// domed cap sunk in a groove, lit by the shared light.
#include <cmath>

#include "tools/artwork/KnobArt.h"
#include "tools/artwork/Shading.h"

namespace {

// Radii of the profile, outside in.
constexpr double kRingRoundStart = 22.6;  // the outer shoulder rounds off from here to the rim
constexpr double kRingInner = 19.6;       // inner edge of the ring's flat top
constexpr double kGrooveOuter = 18.2;
constexpr double kCapEdge = 17.0;
constexpr double kCapRoundStart = 15.8;
constexpr int kRibs = 40;

constexpr double kRingTop = 6.0;
constexpr double kGrooveFloor = 3.4;
constexpr double kCapShoulder = 5.0;
constexpr double kDomeRadius = 30.0;

double RoundedDrop(double t) {
  const double u = std::clamp(t, 0.0, 0.995);
  return 1.0 - std::sqrt(1.0 - u * u);
}

double Height(double x, double y) {
  const double dx = x - kBodyCentre, dy = y - kBodyCentre;
  const double r = std::hypot(dx, dy);
  if (r >= kCapEdge + 0.6) {
    // The ring; its ribs run down the outer shoulder.
    double h = kRingTop;
    if (r > kRingRoundStart) h -= 3.6 * RoundedDrop((r - kRingRoundStart) / (kBodyRadius - kRingRoundStart));
    if (r < kRingInner) h -= (kRingTop - kGrooveFloor) * RoundedDrop((kRingInner - r) / (kRingInner - kGrooveOuter));
    const double ribs = std::cos(kRibs * std::atan2(dy, dx));
    return h + 0.45 * ribs * SmoothStep(20.5, 23.5, r);
  }
  if (r >= kCapEdge) return kGrooveFloor;
  const double dome = kCapShoulder + std::sqrt(kDomeRadius * kDomeRadius - r * r) -
                      std::sqrt(kDomeRadius * kDomeRadius - kCapRoundStart * kCapRoundStart);
  if (r <= kCapRoundStart) return dome;
  const double t = (r - kCapRoundStart) / (kCapEdge - kCapRoundStart);
  return kGrooveFloor + (kCapShoulder - kGrooveFloor) * std::sqrt(1.0 - std::min(t * t, 0.99));
}

struct TFinish {
  TMaterial Ring;
  TMaterial Cap;
};

TFinish FinishOf(TKnobFamily family, bool disabled) {
  TFinish f;
  if (disabled) {
    // Greyed out: light and flat, so that it reads as out of use.
    const double cap = family == TKnobFamily::Light ? 0.84 : family == TKnobFamily::Normal ? 0.8 : 0.76;
    f.Ring = {Rgb(0.66, 0.66, 0.66), 0.55, 0.45, 0.05, 8};
    f.Cap = {Rgb(cap, cap, cap), 0.6, 0.38, 0.08, 20};
    return f;
  }
  switch (family) {
    case TKnobFamily::Light:
      f.Ring = {Rgb(0.19, 0.19, 0.19), 0.5, 0.6, 0.07, 7};
      f.Cap = {Rgb(0.42, 0.78, 0.2), 0.5, 0.55, 0.35, 24};
      break;
    case TKnobFamily::Normal:
      f.Ring = {Rgb(0.19, 0.19, 0.19), 0.5, 0.6, 0.07, 7};
      f.Cap = {Rgb(0.55, 0.56, 0.58), 0.5, 0.55, 0.3, 22};
      break;
    case TKnobFamily::Dark:
      f.Ring = {Rgb(0.13, 0.13, 0.13), 0.5, 0.6, 0.06, 7};
      f.Cap = {Rgb(0.22, 0.22, 0.23), 0.5, 0.6, 0.32, 26};
      break;
  }
  return f;
}

// Never pure white inside a body: that is the knob's transparent colour.
TRgba NotWhite(const TRgba& c) {
  const double top = 254.0 / 255.0;
  return {std::min(c.R, top), std::min(c.G, top), std::min(c.B, top), c.A};
}

}  // namespace

TBitmap KnobBody(TKnobFamily family, bool disabled, const TBackdrop& backdrop) {
  const TFinish finish = FinishOf(family, disabled);
  const TLayer layer = Render(kBodyPictureSize, kBodyPictureSize, 6, [&](double x, double y) -> TRgba {
    const double r = std::hypot(x - kBodyCentre, y - kBodyCentre);
    if (r >= kBodyRadius) return {};
    const TVec3 normal = NormalAt(Height, x, y);
    const bool cap = r < kCapEdge + 0.6;
    TRgba c = Shade(cap ? finish.Cap : finish.Ring, normal);
    // The groove between cap and ring lies in shade.
    const double groove =
        SmoothStep(kCapEdge - 0.6, kCapEdge, r) * (1.0 - SmoothStep(kGrooveOuter - 0.3, kGrooveOuter + 0.5, r));
    return NotWhite(Scale(c, 1.0 - 0.45 * groove));
  });
  // A third covered is enough to be part of the body; less would show as a
  // speck of the wrong panel colour where the panel differs.
  return Keyed(layer, backdrop, 0.3, kBodyKey);
}

TLayer KnobShadow() {
  const int32_t size = kBodyPictureSize + 2 * kShadowMargin;
  const double cx = kShadowMargin + kBodyCentre + 1.6, cy = kShadowMargin + kBodyCentre + 2.2;
  return Render(size, size, 4, [&](double x, double y) -> TRgba {
    const double d = std::hypot(x - cx, y - cy) - kBodyRadius;
    // A blurred disc, and a tighter, darker contact shadow at the rim.
    const double soft = 0.5 * std::erfc(d / 2.2);
    const double contact = d < 0 ? 1.0 : std::exp(-d / 0.9);
    const double alpha = std::clamp(0.42 * soft + 0.3 * contact, 0.0, 0.85);
    return {0, 0, 0, alpha};
  });
}
