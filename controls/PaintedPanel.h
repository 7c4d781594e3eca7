// A rounded panel with a diagonal two-colour gradient, light noise and a
// two-colour outline, generated once into Surface and repainted by copying
// it. Outside the rounded shape the parent shows through.
#pragma once

#include "controls/GeneratedSurface.h"

class TPaintedPanel : public TGeneratedSurface {
 public:
  explicit TPaintedPanel(TComponent* owner);

  TColour Fill1() const { return fill1_; }
  void SetFill1(TColour colour);
  TColour Fill2() const { return fill2_; }
  void SetFill2(TColour colour);
  TColour Border1() const { return border1_; }
  void SetBorder1(TColour colour);
  TColour Border2() const { return border2_; }
  void SetBorder2(TColour colour);
  // Width and height of the corner ellipse.
  int32_t Rounding() const { return rounding_; }
  void SetRounding(int32_t rounding);
  // Noise amplitude.
  int32_t Texture() const { return texture_; }
  void SetTexture(int32_t texture);
  // The gradient spans the parent instead of the panel, so that panels side
  // by side share one gradient.
  bool ShadeInParent() const { return shadeInParent_; }
  void SetShadeInParent(bool on);

  void Generate() override;

 protected:
  void DrawSurface(TCanvas& canvas) override;

 private:
  TColour fill1_ = 0x00FF00;
  TColour fill2_ = 0x008000;
  TColour border1_ = 0x808080;
  TColour border2_ = 0xE0E0E0;
  int32_t rounding_ = 10;
  int32_t texture_ = 4;
  bool shadeInParent_ = false;
};
