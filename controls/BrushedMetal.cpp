#include "BrushedMetal.h"

#include <algorithm>
#include <array>

#include "controls/Random.h"
#include "core/Rounding.h"

TBrushedMetal::TBrushedMetal(TComponent* owner) : TGeneratedSurface(owner) {}

void TBrushedMetal::SetLight(TColour colour) { SetProperty(light_, colour); }

void TBrushedMetal::SetMedLight(TColour colour) { SetProperty(medLight_, colour); }

void TBrushedMetal::SetMedDark(TColour colour) { SetProperty(medDark_, colour); }

void TBrushedMetal::SetDark(TColour colour) { SetProperty(dark_, colour); }

void TBrushedMetal::SetShading(int32_t shading) { SetProperty(shading_, shading); }

void TBrushedMetal::SetQuantise(int32_t quantise) { SetProperty(quantise_, quantise); }

void TBrushedMetal::DrawSurface(TCanvas& canvas) {
  canvas.Draw(0, 0, surface_);
  if (OnPaint) OnPaint(nullptr);
}

namespace {

// A negative shade would lighten; the channel still stays a byte.
uint32_t Darken(uint32_t channel, double shade) {
  const double c = static_cast<double>(channel);
  const double result = shade < c ? c - shade : 0.0;
  return static_cast<uint32_t>(std::min(result, 255.0));
}

}  // namespace

void TBrushedMetal::Generate() {
  const std::array<TColour, 4> colours = {ColourToRGB(light_), ColourToRGB(medLight_), ColourToRGB(medDark_),
                                          ColourToRGB(dark_)};
  // Light is rare, the two middle tones common, Dark rare again.
  constexpr std::array<int32_t, 4> kThresholds = {1, 1 + 9, 1 + 9 + 43, 1 + 9 + 43 + 43};
  constexpr int32_t kDrawRange = kThresholds[3] + 5;

  surface_.SetSize(Width(), Height());
  const int32_t width = surface_.Width();
  const int32_t height = surface_.Height();
  TColour current = colours[0];
  uint32_t& random = RandomStateOf(*this);
  for (int32_t y = 0; y < height; ++y) {
    TColour* row = surface_.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      const int32_t q = Random(random, 15);
      if (q == 0 || x == 0) {
        const int32_t r = Random(random, kDrawRange) + 1;
        for (int k = 3; k >= 0; --k) {
          if (r > kThresholds[static_cast<size_t>(k)]) {
            current = colours[static_cast<size_t>(k)];
            break;
          }
        }
      }
      const double steps = RoundHalfEven((static_cast<double>(x) / width + static_cast<double>(y) / height) *
                                         static_cast<double>(quantise_));
      const double shade = steps * static_cast<double>(shading_);
      row[x] =
          MakeColour(Darken(RedOf(current), shade), Darken(GreenOf(current), shade), Darken(BlueOf(current), shade));
    }
  }
}
