#include "X11ImageFormat.h"

#include <algorithm>

namespace {

// The fixed part of a PutImage request, before its pixels.
constexpr uint64_t kPutImageHeaderBytes = 24;

bool LittleEndianMachine() {
  const uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1;
}

}  // namespace

TX11ImageFormat::TX11ImageFormat(int bitsPerPixel, int scanlinePad, bool leastSignificantFirst)
    : bitsPerPixel_(bitsPerPixel), scanlinePad_(scanlinePad), leastSignificantFirst_(leastSignificantFirst) {
  const bool wholeBytes = bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
  const bool padding = scanlinePad == 8 || scanlinePad == 16 || scanlinePad == 32;
  usable_ = wholeBytes && padding;
}

size_t TX11ImageFormat::BytesPerLine(int32_t width) const {
  const size_t bits = static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(bitsPerPixel_);
  const auto pad = static_cast<size_t>(scanlinePad_);
  return (bits + pad - 1) / pad * pad / 8;
}

bool TX11ImageFormat::Native32() const {
  return bitsPerPixel_ == 32 && leastSignificantFirst_ == LittleEndianMachine();
}

void TX11ImageFormat::StoreRow(const TX11PixelFormat& pixels, const TColour* source, int32_t count,
                               uint8_t* target) const {
  if (Native32()) {
    pixels.ConvertRow(source, reinterpret_cast<uint32_t*>(target), count);
    return;
  }
  const int bytes = bitsPerPixel_ / 8;
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t pixel = pixels.Pixel(source[i]);
    uint8_t* out = target + static_cast<ptrdiff_t>(i) * bytes;
    for (int b = 0; b < bytes; ++b) {
      const int shift = 8 * (leastSignificantFirst_ ? b : bytes - 1 - b);
      out[b] = static_cast<uint8_t>(pixel >> shift);
    }
  }
}

int32_t RowsPerImageRequest(uint64_t maximumRequestBytes, size_t bytesPerLine) {
  if (bytesPerLine == 0 || maximumRequestBytes <= kPutImageHeaderBytes) return 0;
  const uint64_t rows = (maximumRequestBytes - kPutImageHeaderBytes) / bytesPerLine;
  return static_cast<int32_t>(std::min<uint64_t>(rows, INT32_MAX));
}
