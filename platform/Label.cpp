#include "Label.h"

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TLabel::SetColour(TColour colour) {
  colour_ = colour;
  Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
  if (!transparent_) canvas.FillRect(TRect{0, 0, Width(), Height()}, colour_);
  canvas.TextOut(0, 0, caption_, Font());
}
