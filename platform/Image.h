// A picture component: a bitmap shown at its top-left corner. Its own size is
// independent of the bitmap's. A transparent image leaves out the pixels of
// its bitmap's bottom-left colour.
#pragma once

#include "platform/Bitmap.h"
#include "platform/GraphicControl.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);

  const TBitmap& Picture() const { return picture_; }
  // Changes made through this reference need an Invalidate to show.
  TBitmap& Picture() { return picture_; }
  void SetPicture(const TBitmap& picture);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // The bitmap's bottom-left pixel (kNoPixel for an empty bitmap).
  TColour TransparentColour() const { return picture_.Pixel(0, picture_.Height() - 1); }

  // Draws the bitmap at (x, y) of the canvas, leaving out the transparent
  // colour when the image is transparent.
  void DrawPicture(TCanvas& canvas, int32_t x, int32_t y) const;

  void Paint(TCanvas& canvas) override;

 private:
  TBitmap picture_;
  bool transparent_ = false;
};
