// A line of text in the control's font, at its top-left corner.
#pragma once

#include <string>

#include "platform/GraphicControl.h"

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // A transparent label draws no background.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  TColour Colour() const { return colour_; }
  void SetColour(TColour colour);

  void Paint(TCanvas& canvas) override;

 private:
  std::string caption_;
  bool transparent_ = false;
  TColour colour_ = clBtnFace;
};
