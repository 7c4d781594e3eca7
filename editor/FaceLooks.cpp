#include "FaceLooks.h"

void ApplyMetalLook(TBrushedMetal& metal) {
  metal.SetLight(0xECDFEC);
  metal.SetMedLight(0xE3E3E3);
  metal.SetMedDark(0xDBDBDB);
  metal.SetDark(0xD2D2D2);
  metal.SetShading(4);
  metal.SetQuantise(10);
}

void ApplyPanelLook(TPaintedPanel& panel) {
  panel.SetFill1(0x00B300);
  panel.SetFill2(0x006C00);
  panel.SetBorder1(clGray);
  panel.SetBorder2(0xE0E0E0);
  panel.SetRounding(10);
  panel.SetTexture(4);
  panel.SetShadeInParent(true);
}

void ApplyKnobLook(TRubberKnob& knob, const TLayoutEntry& entry) {
  knob.SetFont(FormFont(-11, clWindowText, false));
  knob.SetDiameter(kKnobDiameter);
  knob.SetTicks(entry.Ticks);
  knob.SetWedge(1.0f / 7.0f);
  knob.SetTextRadius(kKnobTextRadius);
  knob.SetTickRadius(kKnobTickRadius);
  knob.SetDotRadius(kKnobDotRadius);
  knob.SetColour(kKnobColour);
  knob.SetHilight(entry.Hilight);
  knob.SetShadow(kKnobShadow);
  knob.SetDoHilight(false);
  knob.SetDoShadow(true);
  TStringList labels;
  labels.SetStrings(entry.Labels);
  knob.SetLabels(&labels);
}

TFont FormFont(int32_t height, TColour colour, bool bold) {
  TFont font;
  font.Name = "MS Sans Serif";
  font.Height = height;
  font.Colour = colour;
  font.Bold = bold;
  return font;
}
