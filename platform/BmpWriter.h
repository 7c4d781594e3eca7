// Writing bitmaps as Windows bitmap files (BMP), the form the editor's
// pictures are kept in.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

// A bottom-up, uncompressed 24-bit file, rows padded to four bytes; the same
// bitmap always gives the same bytes.
std::vector<uint8_t> WriteBmp24(const TBitmap& bitmap);
