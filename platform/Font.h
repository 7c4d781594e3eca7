// A font description as the window system takes it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Colour.h"

struct TFont {
  std::string Name = "MS Sans Serif";
  // Negative: that many pixels of character height without internal leading;
  // positive: the cell height including it.
  int32_t Height = -11;
  TColour Colour = clWindowText;
  bool Bold = false;

  friend bool operator==(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Height == b.Height && a.Colour == b.Colour && a.Bold == b.Bold;
  }
  friend bool operator!=(const TFont& a, const TFont& b) { return !(a == b); }
};
