// Draws the controls together on one headless form and compares the picture,
// pixel for pixel, with the recorded one (golden/gallery.bmp, also the
// picture for people to look at): knobs enabled and disabled with labels,
// ticks, dots and shimmer; the four LED states; brushed metal and painted
// panels.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "controls/RubberKnob.h"
#include "controls/RubberLEDButton.h"
#include "tests/support/ControlsTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace {

TBitmap ShimmerFrame(double angle) {
  TBitmap frame(36, 36, clWhite);
  for (int32_t y = 0; y < 36; ++y) {
    for (int32_t x = 0; x < 36; ++x) {
      const double dx = x - 17.5, dy = y - 17.5;
      const double r = std::hypot(dx, dy);
      const double a = std::atan2(-dy, dx);
      if (r > 11 && r < 14 && std::cos(a - angle) > 0.8) frame.SetPixel(x, y, 0xF4F4F4);
    }
  }
  return frame;
}

TBitmap ButtonPicture(bool pressed, bool lit) {
  TBitmap picture(38, 45, clWhite);
  const TColour face = pressed ? 0x9A9A9A : 0xC4C4C4;
  const int32_t shift = pressed ? 1 : 0;
  picture.RoundRect(TRect{0, shift, 38, 45}, 8, 8, 0x404040, face);
  const TBitmap led = DotBitmap(10, lit ? 0x3030FF : 0x10104A);
  picture.DrawTransparent(14, 8 + shift, led, clWhite);
  return picture;
}

TRubberKnob* AddKnob(TTestForm& ui, int32_t left, int32_t top, std::vector<std::string> labels, TImage* main,
                     TImage* disabled, TImage* dot, TImage* const (&shimmers)[4]) {
  auto* knob = new TRubberKnob(&ui.form);
  knob->SetParent(&ui.form);
  knob->SetBounds(left, top, 104, 104);
  knob->SetFont(TFont{"MS Sans Serif", -11, clBlack, false});
  knob->SetDiameter(52);
  knob->SetDotRadius(12);
  knob->SetColour(0xFBFBFB);
  knob->SetShadow(0x505050);
  knob->SetHilight(0xF8F0F8);
  TStringList list;
  list.SetStrings(std::move(labels));
  knob->SetLabels(&list);
  knob->SetMainImage(main);
  knob->SetDisabledImage(disabled);
  knob->SetDotImage(dot);
  for (int i = 0; i < 4; ++i) knob->SetShimmer(i + 1, shimmers[i]);
  return knob;
}

TEST(Gallery, TheControlsLookAsRecorded) {
  TTestForm ui(460, 270);
  ui.form.SetColour(0xC8D0D4);

  auto* metal = new TBrushedMetal(&ui.form);
  metal->SetParent(&ui.form);
  metal->SetBounds(0, 0, 460, 270);
  metal->SetLight(0xECDFEC);
  metal->SetMedLight(0xE3E3E3);
  metal->SetMedDark(0xDBDBDB);
  metal->SetDark(0xD2D2D2);

  auto* panel = new TPaintedPanel(&ui.form);
  panel->SetParent(&ui.form);
  panel->SetBounds(6, 6, 448, 122);
  panel->SetFill1(0x00B300);
  panel->SetFill2(0x006C00);
  panel->SetBorder2(0xE0E0E0);

  TImage* light = MakeImage(ui.form, BodyBitmap(56, 0x40C040));
  TImage* dark = MakeImage(ui.form, BodyBitmap(56, 0x505050));
  TImage* grey = MakeImage(ui.form, BodyBitmap(56, 0xB8B8B8));
  TImage* dot = MakeImage(ui.form, DotBitmap(6, 0x2020E0), true);
  TImage* shimmers[4];
  for (int i = 0; i < 4; ++i) shimmers[i] = MakeImage(ui.form, ShimmerFrame(0.6 + 0.15 * i), true);

  AddKnob(ui, 12, 14, {"Min", "Max"}, dark, grey, dot, shimmers)->SetValue(0.3f);
  TRubberKnob* cutoff = AddKnob(ui, 122, 14, {"50", "100", "200", "400", "800"}, light, grey, dot, shimmers);
  cutoff->SetTicks(5);
  cutoff->SetValue(0.75f);
  TRubberKnob* delay = AddKnob(ui, 232, 14, {"Flanger", "Chorus"}, dark, grey, dot, shimmers);
  delay->SetBotLabNudge(0.3f);
  delay->SetValue(1.0f);
  TRubberKnob* off = AddKnob(ui, 342, 14, {"Off", "On"}, dark, grey, dot, shimmers);
  off->SetValue(0.6f);
  off->SetEnabled(false);

  auto* swatch = new TPaintedPanel(&ui.form);
  swatch->SetParent(&ui.form);
  swatch->SetBounds(12, 146, 160, 110);
  swatch->SetFill1(0x00B300);
  swatch->SetFill2(0x006C00);

  const TRubberLEDButtonState states[4] = {rlbUpOff, rlbDownOff, rlbUpOn, rlbDownOn};
  TImage* pictures[4] = {MakeImage(ui.form, ButtonPicture(false, false)),
                         MakeImage(ui.form, ButtonPicture(true, false)), MakeImage(ui.form, ButtonPicture(false, true)),
                         MakeImage(ui.form, ButtonPicture(true, true))};
  for (int i = 0; i < 4; ++i) {
    pictures[i]->SetTransparent(true);
    auto* button = new TRubberLEDButton(&ui.form);
    button->SetParent(&ui.form);
    button->SetBounds(200 + 50 * i, 170, 40, 48);
    button->SetUpOff(pictures[0]);
    button->SetDownOff(pictures[1]);
    button->SetUpOn(pictures[2]);
    button->SetDownOn(pictures[3]);
    button->SetButtonState(states[i]);
  }

  ui.window->ProcessPaint();
  ASSERT_FALSE(ui.window->PaintPending());

  // The enabled knob's dot shows; the disabled knob shows its grey body.
  const TImage* cutoffDot = cutoff->DotControl();
  EXPECT_EQ(ui.window->Screen().Pixel(cutoffDot->Left() + 3, cutoffDot->Top() + 3), 0x2020E0u);
  EXPECT_EQ(ui.window->Screen().Pixel(off->Left() + 40, off->Top() + 60), grey->Picture().Pixel(14, 34));

  EXPECT_TRUE(MatchesGolden(ui.window->Screen(), ONDREL_GOLDEN_DIR "/gallery.bmp"));
}

}  // namespace
