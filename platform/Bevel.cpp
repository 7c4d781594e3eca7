#include "Bevel.h"

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::Paint(TCanvas& canvas) {
  canvas.FillRect(TRect{0, 0, 1, Height()}, clBtnShadow);
  canvas.FillRect(TRect{1, 0, 2, Height()}, clBtnHighlight);
}
