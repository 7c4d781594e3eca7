#include "X11PixelFormat.h"

namespace {

int LowestBit(uint64_t mask) {
  int shift = 0;
  while ((mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

bool Contiguous(uint64_t mask) {
  const uint64_t shifted = mask >> LowestBit(mask);
  return (shifted & (shifted + 1)) == 0;
}

// Each 8-bit level scaled to the channel's width, rounded, so that white
// stays white and black black in a 5- or 10-bit channel as in an 8-bit one.
bool FillChannel(std::array<uint32_t, 256>& table, uint64_t mask) {
  if (mask == 0 || mask > 0xFFFFFFFFu || !Contiguous(mask)) return false;
  const int shift = LowestBit(mask);
  const uint64_t top = mask >> shift;
  if (top > 0xFFFF) return false;
  for (uint32_t level = 0; level < 256; ++level) {
    table[level] = static_cast<uint32_t>(((level * top + 127) / 255) << shift);
  }
  return true;
}

}  // namespace

TX11PixelFormat::TX11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask, int depth) {
  const uint64_t red = redMask;
  const uint64_t green = greenMask;
  const uint64_t blue = blueMask;
  if ((red & green) != 0 || (red & blue) != 0 || (green & blue) != 0) return;
  if (depth <= 0 || depth > 32) return;
  if (!FillChannel(red_, red) || !FillChannel(green_, green) || !FillChannel(blue_, blue)) return;
  const uint64_t depthBits = depth == 32 ? 0xFFFFFFFFu : (uint64_t{1} << depth) - 1;
  if (((red | green | blue) & ~depthBits) != 0) return;
  // Bits of the depth that no colour channel uses are alpha in a 32-bit
  // visual; all set means opaque, and elsewhere they do not exist.
  opaque_ = static_cast<uint32_t>(depthBits & ~(red | green | blue));
  usable_ = true;
}

void TX11PixelFormat::ConvertRow(const TColour* source, uint32_t* target, int32_t count) const {
  for (int32_t i = 0; i < count; ++i) target[i] = Pixel(source[i]);
}
