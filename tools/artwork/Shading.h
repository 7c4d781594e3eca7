// Light on modelled surfaces: the pictures are height fields lit from the
// upper left, the way a panel under a desk lamp is seen, so that every
// knob, button and screw agrees on where the light comes from.
#pragma once

#include <algorithm>
#include <cmath>

#include "tools/artwork/Layer.h"

struct TVec3 {
  double X = 0, Y = 0, Z = 0;
};

inline double Dot(const TVec3& a, const TVec3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

inline TVec3 Normalised(const TVec3& v) {
  const double length = std::sqrt(Dot(v, v));
  return length > 0 ? TVec3{v.X / length, v.Y / length, v.Z / length} : TVec3{0, 0, 1};
}

// Screen y grows downwards: the light is up and to the left, above the panel.
inline const TVec3& LightDirection() {
  static const TVec3 light = Normalised({-0.5, -0.62, 0.9});
  return light;
}

inline double SmoothStep(double edge0, double edge1, double v) {
  const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

struct TMaterial {
  TRgba Albedo;
  double Ambient = 0.45;
  double Diffuse = 0.6;
  double Specular = 0.0;  // strength of the highlight
  double Shininess = 20;  // its tightness
};

// The surface normal of a height field h at (x, y), by central differences.
template <typename THeight>
TVec3 NormalAt(const THeight& h, double x, double y, double step = 0.05) {
  const double dx = (h(x + step, y) - h(x - step, y)) / (2 * step);
  const double dy = (h(x, y + step) - h(x, y - step)) / (2 * step);
  return Normalised({-dx, -dy, 1.0});
}

// Lambert plus a Blinn highlight seen from straight above.
inline TRgba Shade(const TMaterial& m, const TVec3& normal) {
  const TVec3& l = LightDirection();
  const double diffuse = std::max(0.0, Dot(normal, l));
  const TVec3 halfway = Normalised({l.X, l.Y, l.Z + 1.0});
  const double highlight = m.Specular * std::pow(std::max(0.0, Dot(normal, halfway)), m.Shininess);
  const double k = m.Ambient + m.Diffuse * diffuse;
  return {m.Albedo.R * k + highlight, m.Albedo.G * k + highlight, m.Albedo.B * k + highlight, 1.0};
}
