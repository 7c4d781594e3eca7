#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const kFontFolders[] = {"/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/"};

class TFaces {
 public:
  TFaces() {
    if (FT_Init_FreeType(&library_) != 0) Fail("FreeType could not start");
    regular_ = Open("LiberationSans-Regular.ttf");
    bold_ = Open("LiberationSans-Bold.ttf");
  }
  ~TFaces() {
    FT_Done_Face(bold_);
    FT_Done_Face(regular_);
    FT_Done_FreeType(library_);
  }
  TFaces(const TFaces&) = delete;
  TFaces& operator=(const TFaces&) = delete;

  FT_Face Face(bool bold) const { return bold ? bold_ : regular_; }

 private:
  [[noreturn]] static void Fail(const std::string& why) {
    std::fprintf(stderr, "ondrel-artwork: %s (install fonts-liberation)\n", why.c_str());
    std::exit(2);
  }

  FT_Face Open(const std::string& file) {
    for (const char* folder : kFontFolders) {
      FT_Face face = nullptr;
      if (FT_New_Face(library_, (folder + file).c_str(), 0, &face) == 0) return face;
    }
    Fail("font " + file + " not found");
  }

  FT_Library library_ = nullptr;
  FT_Face regular_ = nullptr;
  FT_Face bold_ = nullptr;
};

TFaces& Faces() {
  static TFaces faces;
  return faces;
}

// One code point from UTF-8; a stray byte stands for itself (Latin-1).
uint32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t first = byte(i++);
  if (first < 0x80) return first;
  int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + static_cast<size_t>(extra) > text.size()) return first;
  uint32_t cp = first & (0x3Fu >> extra);
  for (int k = 0; k < extra; ++k) cp = (cp << 6) | (byte(i++) & 0x3Fu);
  return cp;
}

struct TPlacedGlyph {
  FT_Bitmap Bitmap{};
  int32_t X = 0;
  int32_t Y = 0;
  std::vector<uint8_t> Pixels;
};

}  // namespace

TTextMask RenderText(std::string_view text, const TTextStyle& style) {
  FT_Face face = Faces().Face(style.Bold);
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(style.Size * 64)), 72, 72);
  FT_Matrix shear{0x10000, static_cast<FT_Fixed>(std::lround(style.Slant * 0x10000)), 0, 0x10000};
  FT_Set_Transform(face, &shear, nullptr);
  const FT_Int32 load = FT_LOAD_RENDER | (style.Hinted ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING);

  TTextMask mask;
  mask.Ascent = static_cast<int32_t>(face->size->metrics.ascender >> 6);
  mask.CellHeight = mask.Ascent - static_cast<int32_t>(face->size->metrics.descender >> 6);

  std::vector<TPlacedGlyph> glyphs;
  double pen = 0;
  FT_UInt previous = 0;
  for (size_t i = 0; i < text.size();) {
    const FT_UInt index = FT_Get_Char_Index(face, NextCodePoint(text, i));
    if (previous != 0 && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0)
        pen += static_cast<double>(kern.x) / 64.0;
    }
    previous = index;
    if (FT_Load_Glyph(face, index, load) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    TPlacedGlyph glyph;
    glyph.Bitmap = slot->bitmap;
    glyph.X = static_cast<int32_t>(std::lround(pen)) + slot->bitmap_left;
    glyph.Y = mask.Ascent - slot->bitmap_top;
    for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
      const uint8_t* line = slot->bitmap.buffer + static_cast<std::ptrdiff_t>(row) * slot->bitmap.pitch;
      glyph.Pixels.insert(glyph.Pixels.end(), line, line + slot->bitmap.width);
    }
    glyphs.push_back(std::move(glyph));
    pen += (style.Hinted ? static_cast<double>(slot->advance.x >> 6)
                         : static_cast<double>(slot->linearHoriAdvance) / 65536.0) +
           style.LetterSpacing;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  mask.Advance = static_cast<int32_t>(std::lround(pen - style.LetterSpacing));

  int32_t left = 0, top = 0, right = std::max(mask.Advance, 1), bottom = mask.CellHeight;
  for (const TPlacedGlyph& g : glyphs) {
    left = std::min(left, g.X);
    top = std::min(top, g.Y);
    right = std::max(right, g.X + static_cast<int32_t>(g.Bitmap.width));
    bottom = std::max(bottom, g.Y + static_cast<int32_t>(g.Bitmap.rows));
  }
  mask.Left = left;
  mask.Top = top;
  mask.Width = right - left;
  mask.Height = bottom - top;
  mask.Coverage.assign(static_cast<size_t>(mask.Width) * static_cast<size_t>(mask.Height), 0.0);
  for (const TPlacedGlyph& g : glyphs) {
    const int32_t w = static_cast<int32_t>(g.Bitmap.width);
    for (int32_t row = 0; row < static_cast<int32_t>(g.Bitmap.rows); ++row) {
      for (int32_t column = 0; column < w; ++column) {
        const size_t at = static_cast<size_t>(g.Y + row - top) * static_cast<size_t>(mask.Width) +
                          static_cast<size_t>(g.X + column - left);
        const double c = g.Pixels[static_cast<size_t>(row * w + column)] / 255.0;
        // Overlapping glyphs cover a pixel together, never more than fully.
        mask.Coverage[at] = std::min(1.0, mask.Coverage[at] + c);
      }
    }
  }
  return mask;
}

std::vector<std::string> WrapText(std::string_view text, const TTextStyle& style, int32_t width) {
  std::vector<std::string> lines;
  std::string line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string word(text.substr(start, end - start));
    const std::string joined = line.empty() ? word : line + " " + word;
    if (!line.empty() && RenderText(joined, style).Advance > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = joined;
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}
