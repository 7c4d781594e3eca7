// Drawing on a part of a bitmap: what a windowless control gets to paint on
// its parent's surface. Coordinates are the control's own; everything is
// clipped to the control's visible part.
#pragma once

#include <string_view>

#include "platform/Bitmap.h"

class TCanvas {
 public:
  // The whole bitmap.
  explicit TCanvas(TBitmap& target);
  // Origin in the target's coordinates; clip in the target's coordinates too.
  TCanvas(TBitmap& target, TPoint origin, const TRect& clip);

  TPoint Origin() const { return origin_; }
  // The clip in the canvas's own coordinates.
  TRect ClipRect() const { return clip_.Offset(-origin_.X, -origin_.Y); }

  TColour Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, TColour colour);
  void FillRect(const TRect& rect, TColour colour);
  void RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, TColour pen, TColour brush);
  void DottedPolyline(const TPoint* points, int32_t count, TColour colour);
  void Draw(int32_t x, int32_t y, const TBitmap& source);
  void DrawTransparent(int32_t x, int32_t y, const TBitmap& source, TColour transparent);
  TTextExtent TextExtent(const TFont& font, std::string_view text) const;
  void TextOut(int32_t x, int32_t y, std::string_view text, const TFont& font);

 private:
  bool Visible(int64_t x, int64_t y) const {
    return x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom;
  }
  void CopyRows(int32_t x, int32_t y, const TBitmap& source, bool transparent, TColour key);

  TBitmap& target_;
  TPoint origin_;
  TRect clip_;
};
