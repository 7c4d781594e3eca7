// From the form's colour values (0x00BBGGRR, red in the low byte) to the
// pixel values of an X visual, whose channels sit wherever its masks say:
// usually 0x00RRGGBB, but 16-bit and 30-bit visuals exist, and a 32-bit
// visual whose spare bits are alpha shows nothing unless they are all set.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Colour.h"

class TX11PixelFormat {
 public:
  // The visual's channel masks and its depth in bits.
  TX11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask, int depth);

  // False for masks no conversion can serve (empty, overlapping, wider than
  // 16 bits or beyond 32 bits).
  bool Usable() const { return usable_; }
  uint32_t Pixel(TColour colour) const {
    return opaque_ | red_[colour & 0xFF] | green_[(colour >> 8) & 0xFF] | blue_[(colour >> 16) & 0xFF];
  }
  void ConvertRow(const TColour* source, uint32_t* target, int32_t count) const;

 private:
  std::array<uint32_t, 256> red_{};
  std::array<uint32_t, 256> green_{};
  std::array<uint32_t, 256> blue_{};
  uint32_t opaque_ = 0;
  bool usable_ = false;
};
