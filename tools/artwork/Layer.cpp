#include "Layer.h"

#include <algorithm>
#include <cmath>

TRgba Opaque(TColour colour) { return {RedOf(colour) / 255.0, GreenOf(colour) / 255.0, BlueOf(colour) / 255.0, 1.0}; }

TRgba Rgb(double r, double g, double b) { return {r, g, b, 1.0}; }

TRgba WithAlpha(const TRgba& c, double alpha) { return {c.R * alpha, c.G * alpha, c.B * alpha, c.A * alpha}; }

TRgba Over(const TRgba& top, const TRgba& bottom) {
  const double k = 1.0 - top.A;
  return {top.R + bottom.R * k, top.G + bottom.G * k, top.B + bottom.B * k, top.A + bottom.A * k};
}

TRgba Mix(const TRgba& a, const TRgba& b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

TRgba Scale(const TRgba& c, double f) { return {c.R * f, c.G * f, c.B * f, c.A}; }

namespace {
uint32_t Channel(double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }
}  // namespace

TColour ToColour(const TRgba& c) { return MakeColour(Channel(c.R), Channel(c.G), Channel(c.B)); }

TLayer::TLayer(int32_t width, int32_t height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void TLayer::Compose(const TLayer& top, int32_t x, int32_t y) {
  for (int32_t j = 0; j < top.Height(); ++j) {
    for (int32_t i = 0; i < top.Width(); ++i) {
      const int32_t tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      At(tx, ty) = Over(top.At(i, j), At(tx, ty));
    }
  }
}

TLayer Render(int32_t width, int32_t height, int32_t samples, const TPaintFunction& paint) {
  TLayer layer(width, height);
  const double step = 1.0 / samples;
  const double weight = 1.0 / (samples * samples);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      TRgba sum;
      for (int32_t j = 0; j < samples; ++j) {
        for (int32_t i = 0; i < samples; ++i) {
          const TRgba c = paint(x + (i + 0.5) * step, y + (j + 0.5) * step);
          sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B, sum.A + c.A};
        }
      }
      layer.At(x, y) = {sum.R * weight, sum.G * weight, sum.B * weight, sum.A * weight};
    }
  }
  return layer;
}

TLayer Reduce(const TLayer& large, int32_t factor) {
  TLayer small(large.Width() / factor, large.Height() / factor);
  const double weight = 1.0 / (factor * factor);
  for (int32_t y = 0; y < small.Height(); ++y) {
    for (int32_t x = 0; x < small.Width(); ++x) {
      TRgba sum;
      for (int32_t j = 0; j < factor; ++j) {
        for (int32_t i = 0; i < factor; ++i) {
          const TRgba& c = large.At(x * factor + i, y * factor + j);
          sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B, sum.A + c.A};
        }
      }
      small.At(x, y) = {sum.R * weight, sum.G * weight, sum.B * weight, sum.A * weight};
    }
  }
  return small;
}

TBitmap Keyed(const TLayer& layer, const std::function<TRgba(int32_t x, int32_t y)>& background, double threshold,
              TColour key) {
  TBitmap bitmap(layer.Width(), layer.Height(), key);
  for (int32_t y = 0; y < layer.Height(); ++y) {
    for (int32_t x = 0; x < layer.Width(); ++x) {
      const TRgba& c = layer.At(x, y);
      if (c.A < threshold) continue;
      TColour colour = ToColour(Over(c, background(x, y)));
      if (colour == key) colour = MakeColour(RedOf(key), GreenOf(key), BlueOf(key) ^ 1u);
      bitmap.SetPixel(x, y, colour);
    }
  }
  return bitmap;
}
