#include "PlateParts.h"

#include <algorithm>
#include <cmath>

#include "platform/Form.h"
#include "tools/artwork/ButtonArt.h"
#include "tools/artwork/Shading.h"

TPrint::TPrint(TComponent* owner, TLayer layer) : TGraphicControl(owner), layer_(std::move(layer)) {
  SetBounds(0, 0, layer_.Width(), layer_.Height());
}

void TPrint::Paint(TCanvas& canvas) {
  for (int32_t y = 0; y < layer_.Height(); ++y) {
    for (int32_t x = 0; x < layer_.Width(); ++x) {
      const TRgba& top = layer_.At(x, y);
      if (top.A <= 0.0) continue;
      const TColour below = canvas.Pixel(x, y);
      if (below == kNoPixel) continue;
      canvas.SetPixel(x, y, ToColour(Over(top, Opaque(below))));
    }
  }
}

TPrint* AddPrint(TForm& form, int32_t x, int32_t y, TLayer layer) {
  auto* print = new TPrint(&form, std::move(layer));
  print->SetParent(&form);
  print->SetLeft(x);
  print->SetTop(y);
  return print;
}

namespace {

void AddLine(TForm& form, int32_t x, int32_t y, const std::string& text, const TTextStyle& style, TColour colour,
             TColour shadow) {
  const TTextMask mask = RenderText(text, style);
  TLayer layer(mask.Width + 1, mask.Height + 1);
  const TRgba ink = Opaque(colour), shade = Opaque(shadow);
  for (int32_t j = 0; j <= mask.Height; ++j) {
    for (int32_t i = 0; i <= mask.Width; ++i) {
      layer.At(i, j) = Over(WithAlpha(ink, mask.At(i, j)), WithAlpha(shade, mask.At(i - 1, j - 1)));
    }
  }
  AddPrint(form, x + mask.Left, y + mask.Top, std::move(layer));
}

}  // namespace

void AddText(TForm& form, int32_t x, int32_t y, const std::string& text, const TTextStyle& style, TColour colour,
             TColour shadow, int32_t wrapWidth, int32_t lineHeight) {
  const std::vector<std::string> lines = wrapWidth > 0 ? WrapText(text, style, wrapWidth) : std::vector{text};
  for (size_t i = 0; i < lines.size(); ++i) {
    AddLine(form, x, y + static_cast<int32_t>(i) * lineHeight, lines[i], style, colour, shadow);
  }
}

TLayer ScrewHead(double angle) {
  // A raised steel head in a shallow countersink, slots cut across it.
  const double c = 6.0, head = 5.0, sink = 5.9;
  const TMaterial steel{Rgb(0.7, 0.71, 0.73), 0.42, 0.6, 0.6, 16};
  const double ca = std::cos(angle), sa = std::sin(angle);
  return Render(12, 12, 8, [&](double x, double y) -> TRgba {
    const double dx = x - c, dy = y - c;
    const double r = std::hypot(dx, dy);
    if (r >= sink) return {};
    if (r >= head) {
      // The countersink's rim: dark where it faces away from the light.
      const double facing = -(dx * LightDirection().X + dy * LightDirection().Y) / r;
      return WithAlpha(Rgb(0.15, 0.15, 0.15), 0.55 + 0.3 * facing);
    }
    const double u = dx * ca + dy * sa, v = -dx * sa + dy * ca;
    const bool slot = (std::abs(u) < 0.75 && std::abs(v) < 3.6) || (std::abs(v) < 0.75 && std::abs(u) < 3.6);
    if (slot) {
      // Deep in shade, lit only on the far wall.
      const bool farWall = (std::abs(u) < 0.75 && u > 0.3) || (std::abs(v) < 0.75 && v > 0.3);
      return farWall ? Rgb(0.42, 0.42, 0.44) : Rgb(0.1, 0.1, 0.11);
    }
    const double z = std::sqrt(head * head - r * r) + 2.0;
    return Shade(steel, Normalised({dx, dy, z}));
  });
}

TLayer ButtonHole(int32_t width, int32_t height) {
  // Walls one and a half pixels wide: the upper and left ones in their own
  // shade, the lower and right ones catching the light.
  const double radius = 4.0, wall = 1.6;
  const TRgba floor = Opaque(kHoleFloor);
  return Render(width, height, 6, [&](double x, double y) -> TRgba {
    const double qx = std::abs(x - width / 2.0) - (width / 2.0 - radius);
    const double qy = std::abs(y - height / 2.0) - (height / 2.0 - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
    const double inside = radius - outside;
    if (inside <= 0) return {};
    if (inside >= wall) return floor;
    // The wall's outward direction, from the nearest edge or corner.
    const double sx = x < width / 2.0 ? -1.0 : 1.0, sy = y < height / 2.0 ? -1.0 : 1.0;
    double nx = 0, ny = 0;
    if (qx > 0 || qy > 0) {
      nx = sx * std::max(qx, 0.0);
      ny = sy * std::max(qy, 0.0);
    } else if (qx > qy) {
      nx = sx;
    } else {
      ny = sy;
    }
    const double length = std::hypot(nx, ny);
    const TVec3& light = LightDirection();
    // +1: the wall faces the light (the lower and right walls of a hole).
    const double facing = -(nx * light.X + ny * light.Y) / (length * std::hypot(light.X, light.Y));
    const double level = facing > 0 ? 0.11 + 0.36 * facing : 0.11 + 0.07 * facing;
    return Rgb(level, level * 1.03, level);
  });
}
