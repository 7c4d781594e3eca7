// A rectangle of horizontal brushed-metal streaks with a diagonal shading,
// generated once into Surface and repainted by copying it.
#pragma once

#include "controls/GeneratedSurface.h"

class TBrushedMetal : public TGeneratedSurface {
 public:
  explicit TBrushedMetal(TComponent* owner);

  TColour Light() const { return light_; }
  void SetLight(TColour colour);
  TColour MedLight() const { return medLight_; }
  void SetMedLight(TColour colour);
  TColour MedDark() const { return medDark_; }
  void SetMedDark(TColour colour);
  TColour Dark() const { return dark_; }
  void SetDark(TColour colour);
  // Darkening per shading step, per channel.
  int32_t Shading() const { return shading_; }
  void SetShading(int32_t shading);
  // Number of shading steps across the diagonal.
  int32_t Quantise() const { return quantise_; }
  void SetQuantise(int32_t quantise);

  // Called after each repaint, with no sender.
  TNotifyEvent OnPaint;

  void Generate() override;

 protected:
  void DrawSurface(TCanvas& canvas) override;

 private:
  TColour light_ = 0xF7F1F7;
  TColour medLight_ = 0xEFEFEF;
  TColour medDark_ = 0xE7E7E7;
  TColour dark_ = 0xDFDFDF;
  int32_t shading_ = 4;
  int32_t quantise_ = 10;
};
