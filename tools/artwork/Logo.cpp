// The logo is drawn four times too large and reduced, so that the curves of
// the waves and the letters' outline and shadow come out smooth.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artwork/LogoArt.h"
#include "tools/artwork/Shading.h"
#include "tools/artwork/Text.h"

namespace {

constexpr int32_t kScale = 4;
constexpr double kPi = 3.14159265358979323846;

// A coverage map at the large scale.
struct TCoverage {
  int32_t Width = 0, Height = 0;
  std::vector<double> Value;
  TCoverage(int32_t w, int32_t h) : Width(w), Height(h), Value(static_cast<size_t>(w) * static_cast<size_t>(h)) {}
  double At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0.0;
    return Value[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  double& Ref(int32_t x, int32_t y) {
    return Value[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
};

// Grows the shape by radius pixels (a round brush), for an outline.
TCoverage Grow(const TCoverage& c, int32_t radius) {
  TCoverage out(c.Width, c.Height);
  for (int32_t y = 0; y < c.Height; ++y) {
    for (int32_t x = 0; x < c.Width; ++x) {
      double m = 0;
      for (int32_t j = -radius; j <= radius; ++j) {
        for (int32_t i = -radius; i <= radius; ++i) {
          if (i * i + j * j <= radius * radius) m = std::max(m, c.At(x + i, y + j));
        }
      }
      out.Ref(x, y) = m;
    }
  }
  return out;
}

// A box blur run three times: close to a Gaussian, for soft shadows.
TCoverage Blur(const TCoverage& c, int32_t radius) {
  TCoverage a = c;
  for (int pass = 0; pass < 3; ++pass) {
    TCoverage b(a.Width, a.Height);
    for (int32_t y = 0; y < a.Height; ++y) {
      for (int32_t x = 0; x < a.Width; ++x) {
        double sum = 0;
        for (int32_t i = -radius; i <= radius; ++i) sum += a.At(x + i, y);
        b.Ref(x, y) = sum / (2 * radius + 1);
      }
    }
    for (int32_t y = 0; y < a.Height; ++y) {
      for (int32_t x = 0; x < a.Width; ++x) {
        double sum = 0;
        for (int32_t j = -radius; j <= radius; ++j) sum += b.At(x, y + j);
        a.Ref(x, y) = sum / (2 * radius + 1);
      }
    }
  }
  return a;
}

TCoverage Shifted(const TCoverage& c, int32_t dx, int32_t dy) {
  TCoverage out(c.Width, c.Height);
  for (int32_t y = 0; y < c.Height; ++y) {
    for (int32_t x = 0; x < c.Width; ++x) out.Ref(x, y) = c.At(x - dx, y - dy);
  }
  return out;
}

// The name, placed with its baseline at (x, baseline) of the large picture.
TCoverage Lettering(int32_t width, int32_t height, double x, double baseline) {
  TTextStyle style;
  style.Size = 31.0 * kScale;
  style.Bold = true;
  style.Slant = 0.1;
  style.LetterSpacing = 0.6 * kScale;
  style.Hinted = false;
  const TTextMask mask = RenderText("Ondrel", style);
  TCoverage c(width, height);
  const int32_t left = static_cast<int32_t>(std::lround(x)) + mask.Left;
  const int32_t top = static_cast<int32_t>(std::lround(baseline)) - mask.Ascent + mask.Top;
  for (int32_t j = 0; j < mask.Height; ++j) {
    for (int32_t i = 0; i < mask.Width; ++i) {
      const int32_t tx = left + i, ty = top + j;
      if (tx >= 0 && ty >= 0 && tx < width && ty < height) c.Ref(tx, ty) = mask.At(i, j);
    }
  }
  return c;
}

// Distance from point p to the curve y = f(x) near it, found by sampling.
template <typename F>
double DistanceToCurve(double px, double py, const F& f, double from, double to) {
  double best = 1e9;
  for (double x = std::max(from, px - 6.0); x <= std::min(to, px + 6.0); x += 0.05) {
    best = std::min(best, std::hypot(px - x, py - f(x)));
  }
  return best;
}

// The badge at 1:1 scale, drawn by sampling: a black disc in a silver bezel,
// two voices of one wave drifting apart.
TLayer Badge() {
  const double cx = 19.5, cy = 19.0, bezelOuter = 16.8, bezelInner = 14.0;
  const TMaterial steel{Rgb(0.74, 0.75, 0.77), 0.42, 0.62, 0.55, 18};
  const auto wave = [&](double phase, double amplitude) {
    return [=](double x) { return cy + amplitude * std::sin((x - cx) / 7.0 * kPi + phase); };
  };
  const auto voiceA = wave(0.0, 6.0);
  const auto voiceB = wave(1.3, 4.2);
  return Render(40, 40, 6, [&](double x, double y) -> TRgba {
    const double r = std::hypot(x - cx, y - cy);
    const double shadowR = std::hypot(x - cx - 1.0, y - cy - 1.4);
    if (r >= bezelOuter) {
      // Its shadow on the panel.
      const double a = 0.5 * 0.5 * std::erfc((shadowR - bezelOuter) / 1.2);
      return {0, 0, 0, a};
    }
    if (r >= bezelInner) {
      // A rounded bezel ring.
      const double t = (r - bezelInner) / (bezelOuter - bezelInner) * 2.0 - 1.0;
      const TVec3 n = Normalised({(x - cx) / r * t * 1.3, (y - cy) / r * t * 1.3, 1.0});
      return Shade(steel, n);
    }
    // The dish: dark glass, a little lighter towards the top.
    TRgba c = Rgb(0.07, 0.09, 0.08);
    c = Mix(c, Rgb(0.16, 0.2, 0.17), std::clamp((cy - y) / bezelInner * 0.5 + 0.3, 0.0, 1.0));
    // Two traces, the second fainter, as on a scope.
    const double a = DistanceToCurve(x, y, voiceB, cx - bezelInner, cx + bezelInner);
    const double b = DistanceToCurve(x, y, voiceA, cx - bezelInner, cx + bezelInner);
    const auto trace = [](double d, double width) { return 1.0 - SmoothStep(width * 0.5, width * 0.5 + 0.6, d); };
    const auto glow = [](double d) { return std::exp(-d * d / 4.0); };
    c = Mix(c, Rgb(0.25, 0.75, 0.3), 0.35 * glow(a));
    c = Mix(c, Rgb(0.55, 0.95, 0.45), 0.8 * trace(a, 1.1));
    c = Mix(c, Rgb(0.3, 0.85, 0.35), 0.35 * glow(b));
    c = Mix(c, Rgb(0.93, 1.0, 0.9), 0.95 * trace(b, 1.4));
    // Glass catches the light at the upper left.
    const double sheen = std::exp(-std::pow(std::hypot(x - cx + 5.0, y - cy + 6.0) / 6.0, 2));
    return Mix(c, Rgb(1, 1, 1), 0.12 * sheen);
  });
}

}  // namespace

TLayer LogoLayer() {
  const int32_t w = kLogoWidth * kScale, h = kLogoHeight * kScale;
  const TCoverage letters = Lettering(w, h, 42.0 * kScale, 29.5 * kScale);
  const TCoverage outline = Grow(letters, kScale);
  const TCoverage shadow = Blur(Shifted(outline, kScale + 1, 2 * kScale), kScale);

  TLayer large(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      // Silver letters: bright at the top, a horizon just above the middle,
      // darker below, as polished metal mirrors the sky and the ground.
      const double v = static_cast<double>(y) / kScale;
      const double t = std::clamp((v - 7.5) / 22.0, 0.0, 1.0);
      double level = t < 0.45 ? 0.99 - 0.2 * t / 0.45 : 0.7 + 0.22 * (t - 0.45) / 0.55;
      const TRgba face = Rgb(level * 0.98, level, level * 0.98);
      TRgba c = WithAlpha(Rgb(0, 0, 0), 0.55 * shadow.At(x, y));
      c = Over(WithAlpha(Rgb(0.07, 0.16, 0.08), outline.At(x, y)), c);
      c = Over(WithAlpha(face, letters.At(x, y)), c);
      large.At(x, y) = c;
    }
  }
  TLayer logo = Reduce(large, kScale);
  logo.Compose(Badge(), 0, 0);
  return logo;
}
