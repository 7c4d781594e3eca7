// Text rasterisation behind one small interface, so that the same drawing
// code runs on GDI, on FreeType and on a built-in bitmap font with fixed
// metrics that makes text placement testable without installed fonts.
#pragma once

#include <functional>
#include <string_view>

#include "platform/Font.h"

struct TTextExtent {
  int32_t Width = 0;
  int32_t Height = 0;
};

// Receives the pixels a text covers, relative to the text's top-left corner.
using TGlyphPixelSink = std::function<void(int32_t x, int32_t y)>;

class TFontEngine {
 public:
  virtual ~TFontEngine() = default;
  virtual TTextExtent Measure(const TFont& font, std::string_view text) = 0;
  // Text is drawn without anti-aliasing: the controls compare pixels with
  // their text colours, and a fringe of mixed colours would defeat that.
  virtual void Rasterise(const TFont& font, std::string_view text, const TGlyphPixelSink& sink) = 0;
};

TFontEngine& BuiltinFontEngine();
// GDI on Windows, FreeType with the Liberation fonts elsewhere; the built-in
// font where neither is available.
TFontEngine& NativeFontEngine();

// The engine all text goes through; the native one unless changed.
TFontEngine& CurrentFontEngine();
void SetFontEngine(TFontEngine& engine);
