// Every picture of the editor, by the name of the image component that holds
// it in the form's layout.
#pragma once

#include <string>
#include <vector>

#include "platform/Bitmap.h"

struct TPicture {
  std::string Name;
  TBitmap Bitmap;
};

// Draws them all; the same pictures on every run.
std::vector<TPicture> MakeArtwork();
