// Pictures with coverage: premultiplied RGBA in doubles, so that shapes can
// be drawn antialiased and laid over whatever is beneath them. Channels run
// from 0 to 1 in the same sRGB values as the 8-bit colours.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Bitmap.h"

struct TRgba {
  double R = 0, G = 0, B = 0, A = 0;  // premultiplied by A
};

// An opaque colour from 0x00BBGGRR.
TRgba Opaque(TColour colour);
// An opaque colour from channels in 0..1.
TRgba Rgb(double r, double g, double b);
// The colour at coverage alpha (premultiplies).
TRgba WithAlpha(const TRgba& colour, double alpha);
// Porter-Duff "over": top laid on bottom.
TRgba Over(const TRgba& top, const TRgba& bottom);
TRgba Mix(const TRgba& a, const TRgba& b, double t);
TRgba Scale(const TRgba& c, double factor);
// 8-bit channels, rounded; an opaque colour is assumed.
TColour ToColour(const TRgba& c);

class TLayer {
 public:
  TLayer() = default;
  TLayer(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const TRgba& At(int32_t x, int32_t y) const { return pixels_[Index(x, y)]; }
  TRgba& At(int32_t x, int32_t y) { return pixels_[Index(x, y)]; }

  // Lays the other layer over this one with its top-left corner at (x, y).
  void Compose(const TLayer& top, int32_t x, int32_t y);

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<TRgba> pixels_;
};

// The colour of a picture at a point, in pixel units (pixel (0, 0) covers
// 0..1 on both axes).
using TPaintFunction = std::function<TRgba(double x, double y)>;

// Samples the function on a grid of samples x samples points in every pixel
// and averages them: coverage-based antialiasing for any shape.
TLayer Render(int32_t width, int32_t height, int32_t samples, const TPaintFunction& paint);

// Averages blocks of factor x factor pixels: pictures drawn large, shown small.
TLayer Reduce(const TLayer& large, int32_t factor);

// A bitmap for a transparent picture component: pixels covered at least
// threshold are laid over the background colour beneath them (given for each
// pixel) and become opaque; the others become the key colour. A pixel that
// would come out as the key is nudged one step in blue.
TBitmap Keyed(const TLayer& layer, const std::function<TRgba(int32_t x, int32_t y)>& background, double threshold,
              TColour key);
