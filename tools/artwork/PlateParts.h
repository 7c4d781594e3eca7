// The printed and machined details of the face plate, each a small control
// on the plate's form that lays an antialiased picture over what the
// controls beneath it painted.
#pragma once

#include <string>

#include "platform/GraphicControl.h"
#include "tools/artwork/Layer.h"
#include "tools/artwork/Text.h"

class TPrint : public TGraphicControl {
 public:
  TPrint(TComponent* owner, TLayer layer);
  void Paint(TCanvas& canvas) override;

 private:
  TLayer layer_;
};

// Puts a picture on the form with its top-left corner at (x, y).
TPrint* AddPrint(TForm& form, int32_t x, int32_t y, TLayer layer);

// Text whose line cell starts at (x, y), as a label there would place it,
// with a shadow one pixel right and below. Lines after the first follow
// lineHeight apart; a width above 0 wraps the text at spaces.
void AddText(TForm& form, int32_t x, int32_t y, const std::string& text, const TTextStyle& style, TColour colour,
             TColour shadow, int32_t wrapWidth = 0, int32_t lineHeight = 0);

// A 12 by 12 cross-head screw, its slots turned by angle (radians).
TLayer ScrewHead(double angle);

// A dark rounded hole of the given size cut into the panel, its floor
// kHoleFloor.
TLayer ButtonHole(int32_t width, int32_t height);
