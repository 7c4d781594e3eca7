#include "PaintedPanel.h"

#include "controls/AddNoise.h"
#include "controls/BlendColour.h"
#include "controls/Random.h"
#include "core/Rounding.h"
#include "platform/Form.h"

namespace {
// The shape is first drawn in marker colours, then each pixel is replaced
// according to its marker.
constexpr TColour kOutside = 0xFFFFFF;
constexpr TColour kOutline = 0xFF0000;
constexpr TColour kInterior = 0x0000FF;
}  // namespace

TPaintedPanel::TPaintedPanel(TComponent* owner) : TGeneratedSurface(owner) {}

void TPaintedPanel::SetFill1(TColour colour) { SetProperty(fill1_, colour); }

void TPaintedPanel::SetFill2(TColour colour) { SetProperty(fill2_, colour); }

void TPaintedPanel::SetBorder1(TColour colour) { SetProperty(border1_, colour); }

void TPaintedPanel::SetBorder2(TColour colour) { SetProperty(border2_, colour); }

void TPaintedPanel::SetRounding(int32_t rounding) { SetProperty(rounding_, rounding); }

void TPaintedPanel::SetTexture(int32_t texture) { SetProperty(texture_, texture); }

void TPaintedPanel::SetShadeInParent(bool on) { SetProperty(shadeInParent_, on); }

void TPaintedPanel::DrawSurface(TCanvas& canvas) { canvas.DrawTransparent(0, 0, surface_, kOutside); }

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
  uint32_t& random = RandomStateOf(*this);

  for (int32_t x = 0; x < width; ++x) {
    for (int32_t y = 0; y < height; ++y) {
      const TColour marker = surface_.Pixel(x, y);
      if (marker == kInterior) {
        // An empty parent makes the position infinite or NaN; BlendColour
        // keeps the result a colour either way.
        const double position = Ratio(originX + x, areaWidth) + Ratio(originY + y, areaHeight);
        surface_.SetPixel(x, y, AddNoise(BlendColour(fill1, fill2, position, 2.0, 0.0), texture_, random));
      } else if (marker == kOutline) {
        const bool topLeft = int64_t{x} < int64_t{width} - half && int64_t{y} < int64_t{height} - half;
        surface_.SetPixel(x, y, topLeft ? border1 : border2);
      }
    }
  }
}
