// The one place where the form's colour layout meets GDI's. Our colours keep
// red in the low byte (0x00BBGGRR); a 32-bit BI_RGB DIB keeps blue there
// (0x00RRGGBB in memory), and its fourth byte must be zero.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

constexpr uint32_t DibPixel(TColour colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The area of the source (clipped to it) as the rows of a top-down 32-bit DIB
// of the clipped area's size; returns that area. The vector is reused so that
// steady repainting does not allocate.
TRect CopyAreaToDib(const TBitmap& source, const TRect& area, std::vector<uint32_t>& dib);
