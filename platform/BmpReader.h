// Reading Windows bitmap files (BMP) that were embedded in the program or
// read from disk. Only what our own pictures use is taken: uncompressed
// 24- and 32-bit pixels. The data comes from outside the code, so every
// field is checked before it is trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Bitmap.h"

// Fills out and returns true for an uncompressed (BI_RGB) 24- or 32-bit
// bitmap, stored bottom-up or top-down, no larger than kMaxBitmapSide a side.
// Anything else leaves out untouched, returns false and, when error is given,
// says why. The fourth byte of 32-bit pixels is ignored.
bool ReadBmp(const uint8_t* data, size_t size, TBitmap& out, std::string* error = nullptr);
