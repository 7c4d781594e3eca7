#include "DibPixels.h"

TRect CopyAreaToDib(const TBitmap& source, const TRect& area, std::vector<uint32_t>& dib) {
  const TRect clipped = area.Intersect(source.BoundsRect());
  if (clipped.IsEmpty()) {
    dib.clear();
    return TRect{};
  }
  const size_t width = static_cast<size_t>(clipped.Width());
  dib.resize(width * static_cast<size_t>(clipped.Height()));
  uint32_t* out = dib.data();
  for (int32_t y = clipped.Top; y < clipped.Bottom; ++y) {
    const TColour* row = source.Row(y) + clipped.Left;
    for (size_t x = 0; x < width; ++x) *out++ = DibPixel(row[x]);
  }
  return clipped;
}
