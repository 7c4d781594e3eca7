#include "BmpReader.h"

#include <utility>

namespace {

constexpr size_t kFileHeaderSize = 14;
// BITMAPINFOHEADER; the later V4 and V5 headers extend it and are accepted.
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

bool Refuse(std::string* error, const std::string& reason) {
  if (error != nullptr) *error = reason;
  return false;
}

}  // namespace

bool ReadBmp(const uint8_t* data, size_t size, TBitmap& out, std::string* error) {
  if (data == nullptr || size < kFileHeaderSize + kInfoHeaderSize) return Refuse(error, "truncated header");
  if (data[0] != 'B' || data[1] != 'M') return Refuse(error, "not a bitmap file (no BM signature)");
  const uint32_t pixelOffset = U32(data + 10);
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t headerSize = U32(info);
  if (headerSize < kInfoHeaderSize)
    return Refuse(error, "unsupported header of " + std::to_string(headerSize) + " bytes");
  if (headerSize > size - kFileHeaderSize) return Refuse(error, "truncated header");
  const int32_t width = I32(info + 4);
  const int32_t storedHeight = I32(info + 8);
  const uint16_t planes = U16(info + 12);
  const uint16_t bitsPerPixel = U16(info + 14);
  const uint32_t compression = U32(info + 16);

  if (planes != 1) return Refuse(error, "plane count " + std::to_string(planes) + " is not 1");
  if (bitsPerPixel != 24 && bitsPerPixel != 32) {
    return Refuse(error, bitsPerPixel <= 8 ? "palette bitmaps are not supported"
                                           : "unsupported depth of " + std::to_string(bitsPerPixel) + " bits");
  }
  if (compression != kBiRgb) return Refuse(error, "compressed bitmaps are not supported");
  // The magnitude is taken in 64 bits: INT32_MIN has no 32-bit negation.
  const int64_t height = storedHeight < 0 ? -int64_t{storedHeight} : int64_t{storedHeight};
  const bool topDown = storedHeight < 0;
  if (width <= 0 || height == 0) return Refuse(error, "empty or negative size");
  if (width > kMaxBitmapSide || height > kMaxBitmapSide) return Refuse(error, "larger than the largest bitmap");

  const uint64_t bytesPerPixel = bitsPerPixel / 8u;
  const uint64_t rowBytes = uint64_t(width) * bytesPerPixel;
  const uint64_t stride = (rowBytes + 3u) & ~uint64_t{3};
  if (pixelOffset < kFileHeaderSize + uint64_t{headerSize}) return Refuse(error, "pixels overlap the header");
  if (pixelOffset > size) return Refuse(error, "pixel offset beyond the end of the file");
  // The last row's padding may be missing; its pixels may not.
  const uint64_t needed = stride * uint64_t(height - 1) + rowBytes;
  if (needed > size - pixelOffset) return Refuse(error, "truncated pixel data");

  TBitmap bitmap(width, static_cast<int32_t>(height));
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* from = data + pixelOffset + stride * uint64_t(row);
    const int32_t y = static_cast<int32_t>(topDown ? row : height - 1 - row);
    TColour* to = bitmap.Row(y);
    for (int32_t x = 0; x < width; ++x, from += bytesPerPixel) to[x] = MakeColour(from[2], from[1], from[0]);
  }
  out = std::move(bitmap);
  return true;
}
