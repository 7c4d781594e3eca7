#include "Bitmap.h"

#include <algorithm>

#include "platform/Canvas.h"

TBitmap::TBitmap(int32_t width, int32_t height, TColour fill) {
  SetSize(width, height);
  std::fill(pixels_.begin(), pixels_.end(), fill);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  const int32_t w = std::clamp(width, 0, kMaxBitmapSide);
  const int32_t h = std::clamp(height, 0, kMaxBitmapSide);
  if (w == width_ && h == height_) return;
  std::vector<TColour> resized(static_cast<size_t>(w) * static_cast<size_t>(h), clWhite);
  const int32_t keepWidth = std::min(w, width_);
  const int32_t keepHeight = std::min(h, height_);
  for (int32_t y = 0; y < keepHeight; ++y) {
    std::copy(Row(y), Row(y) + keepWidth, resized.data() + static_cast<size_t>(y) * static_cast<size_t>(w));
  }
  pixels_.swap(resized);
  width_ = w;
  height_ = h;
}

void TBitmap::FillRect(const TRect& rect, TColour colour) { TCanvas(*this).FillRect(rect, colour); }

void TBitmap::RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, TColour pen, TColour brush) {
  TCanvas(*this).RoundRect(rect, ellipseWidth, ellipseHeight, pen, brush);
}

void TBitmap::DottedPolyline(const TPoint* points, int32_t count, TColour colour) {
  TCanvas(*this).DottedPolyline(points, count, colour);
}

void TBitmap::Draw(int32_t x, int32_t y, const TBitmap& source) { TCanvas(*this).Draw(x, y, source); }

void TBitmap::DrawTransparent(int32_t x, int32_t y, const TBitmap& source, TColour transparent) {
  TCanvas(*this).DrawTransparent(x, y, source, transparent);
}

TTextExtent TBitmap::TextExtent(const TFont& font, std::string_view text) const {
  return CurrentFontEngine().Measure(font, text);
}

void TBitmap::TextOut(int32_t x, int32_t y, std::string_view text, const TFont& font) {
  TCanvas(*this).TextOut(x, y, text, font);
}
