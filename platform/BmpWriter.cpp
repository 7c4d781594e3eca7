#include "BmpWriter.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// 96 pixels per inch, the density the editor's layout is made for.
constexpr uint32_t kPixelsPerMetre = 3780;

}  // namespace

std::vector<uint8_t> WriteBmp24(const TBitmap& bitmap) {
  const uint32_t width = static_cast<uint32_t>(bitmap.Width());
  const uint32_t height = static_cast<uint32_t>(bitmap.Height());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t pixelOffset = 14 + 40;
  const uint32_t imageSize = stride * height;

  std::vector<uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, pixelOffset + imageSize);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (uint32_t row = 0; row < height; ++row) {
    const TColour* pixels = bitmap.Row(static_cast<int32_t>(height - 1 - row));
    for (uint32_t x = 0; x < width; ++x) {
      out.push_back(BlueOf(pixels[x]));
      out.push_back(GreenOf(pixels[x]));
      out.push_back(RedOf(pixels[x]));
    }
    out.insert(out.end(), stride - width * 3, 0);
  }
  return out;
}
