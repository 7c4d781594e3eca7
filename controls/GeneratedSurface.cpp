#include "GeneratedSurface.h"

#include "controls/DesignFrame.h"

TGeneratedSurface::TGeneratedSurface(TComponent* owner) : TGraphicControl(owner) { SetBounds(Left(), Top(), 200, 100); }

void TGeneratedSurface::Paint(TCanvas& canvas) {
  if (dirty_) {
    Generate();
    dirty_ = false;
  }
  DrawSurface(canvas);
  if (Designing()) DrawDesignFrame(canvas, Width(), Height());
}
