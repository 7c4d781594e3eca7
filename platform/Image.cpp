#include "Image.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const TBitmap& picture) {
  picture_ = picture;
  Invalidate();
}

void TImage::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TImage::DrawPicture(TCanvas& canvas, int32_t x, int32_t y) const {
  if (picture_.Empty()) return;
  if (transparent_) {
    canvas.DrawTransparent(x, y, picture_, TransparentColour());
  } else {
    canvas.Draw(x, y, picture_);
  }
}

void TImage::Paint(TCanvas& canvas) { DrawPicture(canvas, 0, 0); }
