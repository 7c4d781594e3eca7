#include "PaintedPanel.h"

#include "AddNoise.h"
#include "BlendColour.h"
#include "DesignFrame.h"
#include "Form.h"
#include "Rounding.h"

namespace {
// The shape is first drawn in marker colours, then each pixel is replaced
// according to its marker.
constexpr TColour kOutside = 0xFFFFFF;
constexpr TColour kOutline = 0xFF0000;
constexpr TColour kInterior = 0x0000FF;
}  // namespace

TPaintedPanel::TPaintedPanel(TComponent* owner) : TGraphicControl(owner) { SetBounds(Left(), Top(), 200, 100); }

void TPaintedPanel::Changed() {
  dirty_ = true;
  Invalidate();
}

void TPaintedPanel::SetFill1(TColour colour) {
  fill1_ = colour;
  Changed();
}

void TPaintedPanel::SetFill2(TColour colour) {
  fill2_ = colour;
  Changed();
}

void TPaintedPanel::SetBorder1(TColour colour) {
  border1_ = colour;
  Changed();
}

void TPaintedPanel::SetBorder2(TColour colour) {
  border2_ = colour;
  Changed();
}

void TPaintedPanel::SetRounding(int32_t rounding) {
  rounding_ = rounding;
  Changed();
}

void TPaintedPanel::SetTexture(int32_t texture) {
  texture_ = texture;
  Changed();
}

void TPaintedPanel::SetShadeInParent(bool on) {
  shadeInParent_ = on;
  Changed();
}

void TPaintedPanel::Paint(TCanvas& canvas) {
  if (dirty_) {
    Generate();
    dirty_ = false;
  }
  canvas.DrawTransparent(0, 0, surface_, kOutside);
  if (Designing()) DrawDesignFrame(canvas, Width(), Height());
}

void TPaintedPanel::Generate() {
  surface_.SetSize(Width(), Height());
  const int32_t width = surface_.Width();
  const int32_t height = surface_.Height();
  surface_.FillRect(surface_.BoundsRect(), kOutside);
  surface_.RoundRect(surface_.BoundsRect(), rounding_, rounding_, kOutline, kInterior);

  // Without a parent there is nothing to share the gradient with.
  double originX = 0.0;
  double originY = 0.0;
  double areaWidth = width;
  double areaHeight = height;
  if (shadeInParent_ && Parent() != nullptr) {
    originX = Left();
    originY = Top();
    areaWidth = Parent()->ClientWidth();
    areaHeight = Parent()->ClientHeight();
  }
  const int32_t half = rounding_ / 2;
  const TColour fill1 = ColourToRGB(fill1_);
  const TColour fill2 = ColourToRGB(fill2_);
  const TColour border1 = ColourToRGB(border1_);
  const TColour border2 = ColourToRGB(border2_);

  for (int32_t x = 0; x < width; ++x) {
    for (int32_t y = 0; y < height; ++y) {
      const TColour marker = surface_.Pixel(x, y);
      if (marker == kInterior) {
        // An empty parent makes the position infinite or NaN; BlendColour
        // keeps the result a colour either way.
        const double position = Ratio(originX + x, areaWidth) + Ratio(originY + y, areaHeight);
        surface_.SetPixel(x, y, AddNoise(BlendColour(fill1, fill2, position, 2.0, 0.0), texture_));
      } else if (marker == kOutline) {
        const bool topLeft = int64_t{x} < int64_t{width} - half && int64_t{y} < int64_t{height} - half;
        surface_.SetPixel(x, y, topLeft ? border1 : border2);
      }
    }
  }
}
