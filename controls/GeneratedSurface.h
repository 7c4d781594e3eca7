// A control whose picture is expensive to make: generated once into Surface
// and repainted by copying it. A property change marks it stale.
#pragma once

#include "platform/Bitmap.h"
#include "platform/GraphicControl.h"

class TGeneratedSurface : public TGraphicControl {
 public:
  explicit TGeneratedSurface(TComponent* owner);

  const TBitmap& Surface() const { return surface_; }
  bool Dirty() const { return dirty_; }

  void Paint(TCanvas& canvas) override;
  // Draws a new picture into Surface at the control's size.
  virtual void Generate() = 0;

 protected:
  // Copies the picture onto the canvas.
  virtual void DrawSurface(TCanvas& canvas) = 0;

  // Stores a property and has the picture made anew at the next paint.
  template <typename T>
  void SetProperty(T& field, T value) {
    field = value;
    dirty_ = true;
    Invalidate();
  }

  TBitmap surface_;

 private:
  bool dirty_ = true;
};
