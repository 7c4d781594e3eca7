// The form on its own and with its editor: the radio group, the knobs that
// follow the modes, the drag that writes only at the release, fonts.
#include <gtest/gtest.h>

#include "platform/FontEngine.h"
#include "platform/Screen.h"
#include "tests/editor/EditorTestSupport.h"

namespace {

class EditForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host.Open(), 1);
    host.Paint();
    form = host.Form();
  }
  bool Lit(const TRubberLEDButton* button) const { return button->ButtonState() == rlbUpOn; }

  TEditorHost host;
  TOndrelEditForm* form = nullptr;
};

TEST(EditFormCreate, ShowsItsFirstStateBeforeTheEditorLoadsValues) {
  SetFontEngine(BuiltinFontEngine());
  TOndrelEditForm form;
  for (const TRubberKnob* knob : {form.rkCutoff, form.rkDelay, form.rkDepth, form.rkRate, form.rkFeedback}) {
    EXPECT_EQ(knob->Value(), 0.0f) << knob->Name();
    EXPECT_TRUE(knob->Enabled()) << knob->Name();
    ASSERT_NE(knob->Labels(), nullptr);
    EXPECT_EQ(knob->Labels()->Count(), 0) << "the legends belong to the face plate";
  }
  EXPECT_EQ(form.rkMix->Value(), 1.0f);
  EXPECT_EQ(form.rbBassMode->ButtonState(), rlbUpOn);
  EXPECT_EQ(form.rbLoFi->ButtonState(), rlbUpOff);
  EXPECT_EQ(form.rbMono->ButtonState(), rlbUpOn);
  for (const TRubberLEDButton* button : {form.rbStereo, form.rbDual, form.rbHaas}) {
    EXPECT_EQ(button->ButtonState(), rlbUpOff);
  }
  EXPECT_EQ(form.Caption(), "Ondrel");
  EXPECT_EQ(form.labVersion->Caption(), "V2.3");
  EXPECT_EQ(form.labVersionShadow->Caption(), "V2.3");
  EXPECT_TRUE(form.labVersion->Visible());
  EXPECT_FALSE(dynamic_cast<TGraphicControl*>(form.FindComponent("labCutoff"))->Visible());
  EXPECT_FALSE(form.LogoImage->Visible());
  EXPECT_FALSE(form.Showing()) << "no window until the editor opens";
}

TEST_F(EditForm, ModeButtonsAreARadioGroupThatWritesAtTheRelease) {
  const float stored[] = {0.0f, 0.33333334f, 0.6666667f, 1.0f};
  const TSpot spots[] = {kMonoButton, kStereoButton, kDualButton, kHaasButton};
  TRubberLEDButton* buttons[] = {form->rbMono, form->rbStereo, form->rbDual, form->rbHaas};
  for (int mode = 0; mode < 4; ++mode) {
    THeadlessWindow* window = host.Window();
    window->PressPointer(spots[mode].X, spots[mode].Y);
    // At the press the pressed button lights and the others go dark; the
    // plug-in hears of it only at the release.
    for (int other = 0; other < 4; ++other) {
      if (other == mode) continue;
      EXPECT_FALSE(buttons[other]->LEDOn()) << mode << " " << other;
    }
    window->ReleasePointer(spots[mode].X, spots[mode].Y);
    EXPECT_EQ(host.Get(kStereoMode), stored[mode]) << mode;
    for (int other = 0; other < 4; ++other) EXPECT_EQ(Lit(buttons[other]), other == mode) << mode << " " << other;
  }
  // Pressing the lit one shows it dark while held, lit again after.
  host.Window()->PressPointer(kHaasButton.X, kHaasButton.Y);
  EXPECT_FALSE(form->rbHaas->LEDOn());
  host.Window()->ReleasePointer(kHaasButton.X, kHaasButton.Y);
  EXPECT_TRUE(Lit(form->rbHaas));
  EXPECT_EQ(host.Get(kStereoMode), 1.0f);
}

TEST_F(EditForm, HaasDisablesFeedbackAndMixAndAnyOtherModeGivesThemBack) {
  host.Click(kMonoButton.X, kMonoButton.Y);
  host.Click(kHaasButton.X, kHaasButton.Y);
  EXPECT_FALSE(form->rkFeedback->Enabled());
  EXPECT_FALSE(form->rkMix->Enabled());
  // A disabled knob cannot be turned.
  const float mix = host.Get(kMix);
  host.Drag(kMixCentre.X, kMixCentre.Y - 20, kMixCentre.X - 30, kMixCentre.Y);
  EXPECT_EQ(host.Get(kMix), mix);
  host.Click(kStereoButton.X, kStereoButton.Y);
  EXPECT_TRUE(form->rkFeedback->Enabled());
  EXPECT_TRUE(form->rkMix->Enabled());
  // Mono to Stereo leaves them as they are, even when set otherwise by code.
  form->rkMix->SetEnabled(false);
  host.Click(kMonoButton.X, kMonoButton.Y);
  host.Click(kStereoButton.X, kStereoButton.Y);
  EXPECT_FALSE(form->rkMix->Enabled());
}

TEST_F(EditForm, BassModeOffDisablesCutoffWhoseValueIsStillWritten) {
  host.Set(kCutoff, 0.25f);
  host.Editor().ApplyHostChanges();
  host.Click(kBassModeButton.X, kBassModeButton.Y);
  EXPECT_EQ(host.Get(kBassMode), 0.0f);
  EXPECT_FALSE(form->rkCutoff->Enabled());
  EXPECT_EQ(form->rbBassMode->ButtonState(), rlbUpOff);
  host.Set(kCutoff, 0.7f);
  host.Editor().ApplyHostChanges();
  host.Click(kLoFiButton.X, kLoFiButton.Y);
  EXPECT_EQ(host.Get(kCutoff), 0.7f);
  EXPECT_EQ(host.Get(kAntiAlias), 0.0f);
  host.Click(kBassModeButton.X, kBassModeButton.Y);
  EXPECT_TRUE(form->rkCutoff->Enabled());
  EXPECT_EQ(host.Get(kBassMode), 1.0f);
}

TEST_F(EditForm, ADragWritesTheKnobsFinalValueOnlyAtTheRelease) {
  host.Set(kRate, 0.2f);
  host.Editor().ApplyHostChanges();
  THeadlessWindow* window = host.Window();
  window->PressPointer(kRateCentre.X, kRateCentre.Y - 30);  // straight up: 0.5
  EXPECT_EQ(host.Get(kRate), 0.2f);
  window->MovePointer(kRateCentre.X + 30, kRateCentre.Y);  // straight right: 19/24
  EXPECT_NEAR(form->rkRate->Value(), 19.0f / 24.0f, 1e-6f);
  // Far outside the window the knob still follows the captured pointer.
  window->MovePointer(kRateCentre.X + 1000, kRateCentre.Y + 1);
  EXPECT_EQ(host.Get(kRate), 0.2f);
  window->ReleasePointer(kRateCentre.X + 1000, kRateCentre.Y + 1);
  EXPECT_EQ(host.Get(kRate), form->rkRate->Value());
  EXPECT_GT(host.Get(kRate), 0.79f);
}

TEST_F(EditForm, AClickWithoutMovementWritesTheValueUnderThePointer) {
  host.Click(kRateCentre.X, kRateCentre.Y - 30);
  EXPECT_FLOAT_EQ(host.Get(kRate), 0.5f);
  // At the very centre the knob keeps its value, and still writes it.
  host.Set(kDelay, 0.3f);
  host.Editor().ApplyHostChanges();
  host.Click(197, 101);
  EXPECT_EQ(host.Get(kDelay), 0.3f);
}

TEST_F(EditForm, AHostChangeNotYetShownIsNotOverwrittenByAnEdit) {
  host.SetFromHostThread(kMix, 0.4f);  // recorded, not yet shown
  host.Click(kRateCentre.X, kRateCentre.Y - 30);
  EXPECT_EQ(host.Get(kMix), 0.4f);
  EXPECT_FLOAT_EQ(host.Get(kRate), 0.5f);
  host.Window()->FireTimer();
  EXPECT_EQ(form->rkMix->Value(), 0.4f);
}

TEST_F(EditForm, ALostCaptureEndsTheDragWhereThePointerWas) {
  THeadlessWindow* window = host.Window();
  window->PressPointer(kRateCentre.X, kRateCentre.Y - 30);
  window->MovePointer(kRateCentre.X + 30, kRateCentre.Y);
  window->LoseCapture();
  EXPECT_FALSE(form->rkRate->Dragging());
  EXPECT_NEAR(host.Get(kRate), 19.0f / 24.0f, 1e-6f);
  // Hovering afterwards turns nothing.
  window->MovePointer(kRateCentre.X - 30, kRateCentre.Y);
  EXPECT_NEAR(form->rkRate->Value(), 19.0f / 24.0f, 1e-6f);
  EXPECT_EQ(form->CaptureControl(), nullptr);
}

TEST(EditFormFonts, FollowTheScreenDensity) {
  SetFontEngine(BuiltinFontEngine());
  const struct {
    int32_t pixelsPerInch;
    const char* name;
  } cases[] = {{96, "MS Sans Serif"}, {100, "MS Sans Serif"}, {120, "Arial"}};
  for (const auto& c : cases) {
    OverrideScreenPixelsPerInch(c.pixelsPerInch);
    TOndrelEditForm form;
    EXPECT_EQ(form.labVersion->Font().Name, c.name) << c.pixelsPerInch;
    EXPECT_EQ(form.labVersionShadow->Font().Name, c.name) << c.pixelsPerInch;
    EXPECT_EQ(form.rkRate->Font().Name, c.name) << c.pixelsPerInch;
    EXPECT_EQ(form.labVersion->Font().Height, -11);
    EXPECT_EQ(form.labVersion->Font().Colour, 0xFCFCFCu) << "the fix-up changes only face and size";
  }
  OverrideScreenPixelsPerInch(0);
}

}  // namespace
