// Text through FreeType with the Liberation fonts, which share Arial's
// metrics; every face name maps to Liberation Sans, the nearest thing to both
// "Arial" and "MS Sans Serif" on a Linux system.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "platform/FontEngine.h"

namespace {

const char* const kRegularPaths[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
};
const char* const kBoldPaths[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
};

class TFreeTypeFontEngine final : public TFontEngine {
 public:
  TFreeTypeFontEngine() {
    if (FT_Init_FreeType(&library_) != 0) {
      library_ = nullptr;
      return;
    }
    regular_ = OpenFirst(kRegularPaths);
    bold_ = OpenFirst(kBoldPaths);
    if (bold_ == nullptr) bold_ = regular_;
  }

  ~TFreeTypeFontEngine() override {
    if (bold_ != nullptr && bold_ != regular_) FT_Done_Face(bold_);
    if (regular_ != nullptr) FT_Done_Face(regular_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }

  TFreeTypeFontEngine(const TFreeTypeFontEngine&) = delete;
  TFreeTypeFontEngine& operator=(const TFreeTypeFontEngine&) = delete;

  bool Usable() const { return regular_ != nullptr; }

  TTextExtent Measure(const TFont& font, std::string_view text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    FT_Face face = Prepare(font);
    TTextExtent extent{0, CellHeight(face)};
    for (const char c : text) {
      if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_TARGET_MONO) == 0) {
        extent.Width += static_cast<int32_t>(face->glyph->advance.x >> 6);
      }
    }
    return extent;
  }

  void Rasterise(const TFont& font, std::string_view text, const TGlyphPixelSink& sink) override {
    std::lock_guard<std::mutex> lock(mutex_);
    FT_Face face = Prepare(font);
    const int32_t baseline = static_cast<int32_t>(face->size->metrics.ascender >> 6);
    int32_t penX = 0;
    for (const char c : text) {
      if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
      const FT_GlyphSlot slot = face->glyph;
      const FT_Bitmap& bitmap = slot->bitmap;
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
          const bool set = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                               ? ((line[column >> 3] >> (7 - (column & 7))) & 1) != 0
                               : line[column] >= 128;
          if (set) {
            sink(penX + slot->bitmap_left + static_cast<int32_t>(column),
                 baseline - slot->bitmap_top + static_cast<int32_t>(row));
          }
        }
      }
      penX += static_cast<int32_t>(slot->advance.x >> 6);
    }
  }

 private:
  FT_Face OpenFirst(const char* const (&paths)[2]) {
    for (const char* path : paths) {
      FT_Face face = nullptr;
      if (FT_New_Face(library_, path, 0, &face) == 0) return face;
    }
    return nullptr;
  }

  // A negative height is the em size in pixels; a positive one the whole
  // cell, ascent plus descent, as the window system reads it.
  FT_Face Prepare(const TFont& font) {
    FT_Face face = font.Bold ? bold_ : regular_;
    int64_t pixels = font.Height < 0 ? -int64_t{font.Height} : int64_t{font.Height};
    if (font.Height > 0) {
      const double cell = static_cast<double>(face->ascender) - face->descender;
      if (cell > 0) pixels = static_cast<int64_t>(std::lround(font.Height * face->units_per_EM / cell));
    }
    if (pixels == 0) pixels = 13;  // the window system's default size
    if (pixels > 1000) pixels = 1000;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    return face;
  }

  static int32_t CellHeight(FT_Face face) {
    return static_cast<int32_t>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
  }

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  FT_Face regular_ = nullptr;
  FT_Face bold_ = nullptr;
};

}  // namespace

TFontEngine& NativeFontEngine() {
  static TFreeTypeFontEngine engine;
  if (!engine.Usable()) return BuiltinFontEngine();
  return engine;
}
