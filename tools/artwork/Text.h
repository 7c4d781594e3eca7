// Antialiased text straight from FreeType with the Liberation fonts: the
// platform's font engine draws two-level text for the controls, while the
// face plate's printing wants smooth edges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TTextStyle {
  double Size = 11;  // em size in pixels
  bool Bold = false;
  double Slant = 0;          // horizontal shear, x += Slant * height above the baseline
  double LetterSpacing = 0;  // extra pixels after every character
  bool Hinted = true;        // off for text drawn large and reduced
};

// How much of each pixel the text covers, 0 to 1. (0, 0) of the mask lies at
// (Left, Top) from the text's origin, which is the top-left corner of its
// line cell, as text is placed by the window system.
struct TTextMask {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Advance = 0;     // width of the line, for placement
  int32_t Ascent = 0;      // origin to baseline
  int32_t CellHeight = 0;  // ascent plus descent
  std::vector<double> Coverage;
  double At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0.0;
    return Coverage[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
};

// Text is UTF-8. Exits the program with a message when the fonts are missing:
// pictures made with a stand-in font must never be written.
TTextMask RenderText(std::string_view text, const TTextStyle& style);

// Breaks text at spaces into lines no wider than width (a word longer than
// the width keeps a line of its own).
std::vector<std::string> WrapText(std::string_view text, const TTextStyle& style, int32_t width);
