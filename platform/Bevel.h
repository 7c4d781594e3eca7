// A lowered left-line bevel: a shadow line with a highlight line beside it.
#pragma once

#include "platform/GraphicControl.h"

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* owner);
  void Paint(TCanvas& canvas) override;
};
