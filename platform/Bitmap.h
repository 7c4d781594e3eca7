// An off-screen bitmap of colour values 0x00BBGGRR with the drawing
// operations the controls need. Every operation clips to the bitmap.
#pragma once

#include <string_view>
#include <vector>

#include "platform/Colour.h"
#include "platform/Font.h"
#include "platform/FontEngine.h"
#include "platform/Geometry.h"

// What a read outside the bitmap gives: no colour value has its high byte set.
constexpr TColour kNoPixel = 0xFFFFFFFF;

// Larger requests are cut to this many pixels a side, so a wild control size
// cannot exhaust memory.
constexpr int32_t kMaxBitmapSide = 4096;

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int32_t width, int32_t height, TColour fill = clWhite);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect BoundsRect() const { return {0, 0, width_, height_}; }

  // Keeps the pixels that still fit; new pixels are white.
  void SetSize(int32_t width, int32_t height);

  TColour Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoPixel;
    return pixels_[Index(x, y)];
  }
  void SetPixel(int32_t x, int32_t y, TColour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[Index(x, y)] = colour;
  }
  TColour* Row(int32_t y) { return pixels_.data() + Index(0, y); }
  const TColour* Row(int32_t y) const { return pixels_.data() + Index(0, y); }

  void FillRect(const TRect& rect, TColour colour);
  // A one-pixel outline in pen and an interior in brush; the corners are
  // ellipses of the given size; right and bottom edges are exclusive.
  void RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, TColour pen, TColour brush);
  // Alternate pixels along the segments; the pattern runs on across corners
  // and each segment leaves out its end point.
  void DottedPolyline(const TPoint* points, int32_t count, TColour colour);
  void Draw(int32_t x, int32_t y, const TBitmap& source);
  // Leaves out the source pixels of the transparent colour.
  void DrawTransparent(int32_t x, int32_t y, const TBitmap& source, TColour transparent);

  TTextExtent TextExtent(const TFont& font, std::string_view text) const;
  int32_t TextWidth(const TFont& font, std::string_view text) const { return TextExtent(font, text).Width; }
  int32_t TextHeight(const TFont& font, std::string_view text) const { return TextExtent(font, text).Height; }
  // Top-left corner at (x, y), in the font's colour, with no background.
  void TextOut(int32_t x, int32_t y, std::string_view text, const TFont& font);

  friend bool operator==(const TBitmap& a, const TBitmap& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
  }

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<TColour> pixels_;
};
