// Writes a bitmap as a PNG file: snapshots of the editor and pictures for
// people to look at.
#pragma once

#include <string>

#include "platform/Bitmap.h"

bool WritePng(const TBitmap& bitmap, const std::string& path, int32_t scale = 1);
