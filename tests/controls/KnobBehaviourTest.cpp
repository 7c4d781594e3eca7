// The knob's events, its repaint rules and the dot, driven through a
// headless form as the window system would.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/RubberKnob.h"
#include "tests/support/ControlsTestSupport.h"

namespace {

class KnobTest : public ::testing::Test {
 protected:
  KnobTest() : ui(300, 200) {
    knob = new TRubberKnob(&ui.form);
    knob->SetBounds(kLeft, kTop, 104, 104);
    knob->SetParent(&ui.form);
    knob->SetDiameter(52);
    knob->SetDotRadius(12);
    knob->SetMainImage(MakeImage(ui.form, BodyBitmap(56, 0x30A030)));
    knob->SetDisabledImage(MakeImage(ui.form, BodyBitmap(56, 0xB0B0B0)));
    dot = MakeImage(ui.form, DotBitmap(6, 0x2020F0), true);
    knob->SetDotImage(dot);
    for (int i = 0; i < 4; ++i) knob->SetShimmer(i + 1, MakeImage(ui.form, DotBitmap(36, 0xF0F0F0), true));
    knob->OnChange = [this](TComponent* sender) { events.push_back(sender == knob ? "change" : "change?"); };
    knob->OnChanging = [this](TComponent* sender) { events.push_back(sender == knob ? "changing" : "changing?"); };
    ui.window->ProcessPaint();
  }

  // The dot's centre relative to the knob.
  TPoint DotCentre() const {
    const TImage* d = knob->DotControl();
    return {d->Left() - kLeft + d->Width() / 2, d->Top() - kTop + d->Width() / 2};
  }

  static constexpr int32_t kLeft = 40;
  static constexpr int32_t kTop = 30;
  TTestForm ui;
  TRubberKnob* knob = nullptr;
  TImage* dot = nullptr;
  std::vector<std::string> events;
};

TEST_F(KnobTest, DotCentresForValues) {
  knob->SetValue(0.0f);
  EXPECT_EQ(DotCentre(), (TPoint{47, 63}));
  knob->SetValue(0.5f);
  EXPECT_EQ(DotCentre(), (TPoint{52, 40}));
  knob->SetValue(1.0f);
  EXPECT_EQ(DotCentre(), (TPoint{57, 63}));
  EXPECT_TRUE(knob->DotControl()->Visible());
  EXPECT_EQ(knob->DotControl()->Parent(), &ui.form);
}

TEST_F(KnobTest, AssigningDotImageResetsTheValue) {
  knob->SetValue(0.7f);
  knob->SetDotImage(dot);
  EXPECT_EQ(knob->Value(), 0.0f);
  EXPECT_EQ(DotCentre(), (TPoint{47, 63}));
  knob->SetDotImage(nullptr);
  EXPECT_FALSE(knob->DotControl()->Visible());
}

TEST_F(KnobTest, ValuesFromCodeFireNothingAndAreNotClamped) {
  knob->SetValue(0.25f);
  knob->SetValue(-3.0f);
  knob->SetValue(7.5f);
  EXPECT_EQ(knob->Value(), 7.5f);
  EXPECT_TRUE(events.empty());
}

TEST_F(KnobTest, DraggingFollowsThePointerAndReportsChanges) {
  ui.window->PressPointer(kLeft + 52, kTop + 10);  // straight above
  EXPECT_TRUE(knob->Dragging());
  EXPECT_FLOAT_EQ(knob->Value(), 0.5f);
  ui.window->MovePointer(kLeft + 53, kTop + 10);
  ui.window->MovePointer(kLeft + 53, kTop + 9);
  ui.window->MovePointer(kLeft + 52, kTop + 10);  // back where it began
  ui.window->ReleasePointer(kLeft + 52, kTop + 10);
  EXPECT_FALSE(knob->Dragging());
  EXPECT_FLOAT_EQ(knob->Value(), 0.5f);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "changing", "changing", "changing", "change"}));
}

TEST_F(KnobTest, MovesThatKeepTheValueFireNothing) {
  ui.window->PressPointer(kLeft + 52, kTop + 10);
  ui.window->MovePointer(kLeft + 52, kTop + 0);  // same angle
  ui.window->MovePointer(kLeft + 52, kTop + 20);
  ui.window->ReleasePointer(kLeft + 52, kTop + 20);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
}

TEST_F(KnobTest, AClickAtTheCentreKeepsTheValueButStillReportsTheRelease) {
  knob->SetValue(0.3f);
  ui.window->Click(kLeft + 52, kTop + 52);
  EXPECT_EQ(knob->Value(), 0.3f);
  EXPECT_EQ(events, (std::vector<std::string>{"change"}));
}

TEST_F(KnobTest, CaptureKeepsTheDragOutsideTheKnob) {
  ui.window->PressPointer(kLeft + 52, kTop + 10);
  ui.window->MovePointer(kLeft + 200, kTop + 52);  // far right, outside the knob
  EXPECT_NEAR(knob->Value(), 19.0 / 24.0, 1e-6);
  ui.window->ReleasePointer(-50, 500);
  EXPECT_EQ(events.back(), "change");
  EXPECT_FALSE(ui.window->Captured());
}

TEST_F(KnobTest, ADisabledKnobIgnoresPresses) {
  knob->SetValue(0.3f);
  knob->SetEnabled(false);
  knob->MouseDown(TMouseButton::Left, ssLeft, 52, 10);
  EXPECT_FALSE(knob->Dragging());
  EXPECT_EQ(knob->Value(), 0.3f);
  ui.window->PressPointer(kLeft + 52, kTop + 10);
  EXPECT_EQ(knob->Value(), 0.3f);
  EXPECT_TRUE(events.empty());
}

TEST_F(KnobTest, MinAndMaxChangeNothing) {
  knob->SetMin(-100.0f);
  knob->SetMax(0.001f);
  EXPECT_FALSE(ui.window->PaintPending());
  ui.window->PressPointer(kLeft + 90, kTop + 52);
  EXPECT_NEAR(knob->Value(), 19.0 / 24.0, 1e-6);
}

TEST_F(KnobTest, AppearancePropertiesRebuildThePicture) {
  const std::vector<std::function<void()>> setters = {[&] { knob->SetDiameter(40); },
                                                      [&] { knob->SetTicks(5); },
                                                      [&] { knob->SetShowTicks("  "); },
                                                      [&] { knob->SetWedge(0.2f); },
                                                      [&] { knob->SetAngleOffset(0.1f); },
                                                      [&] { knob->SetColour(0x123456); },
                                                      [&] { knob->SetHilight(0x1); },
                                                      [&] { knob->SetShadow(0x2); },
                                                      [&] { knob->SetDoHilight(true); },
                                                      [&] { knob->SetDoShadow(false); },
                                                      [&] { knob->SetTransColour(0x3); },
                                                      [&] { knob->SetTextRadius(30); },
                                                      [&] { knob->SetTickRadius(20); },
                                                      [&] { knob->SetDotRadius(5); },
                                                      [&] { knob->SetMainImage(nullptr); },
                                                      [&] { knob->SetShimmer2(nullptr); },
                                                      [&] { knob->Labels()->Add("x"); },
                                                      [&] { knob->SetLabels(nullptr); },
                                                      [&] {
                                                        knob->SetFont(TFont{"Arial", -13, clBlack, false});
                                                      }};
  for (size_t i = 0; i < setters.size(); ++i) {
    ui.window->ProcessPaint();
    ASSERT_TRUE(knob->ImageValid());
    setters[i]();
    EXPECT_FALSE(knob->ImageValid()) << "setter " << i;
    EXPECT_TRUE(ui.window->PaintPending()) << "setter " << i;
  }
}

TEST_F(KnobTest, SettingsThatLeaveThePictureAlone) {
  knob->SetQuantise(true);
  knob->SetBotLabNudge(0.5f);
  knob->SetDisabledImage(nullptr);  // only shown while disabled
  knob->SetValue(0.6f);
  knob->SetBounds(kLeft, kTop, 120, 120);
  EXPECT_TRUE(knob->ImageValid());
  EXPECT_EQ(knob->CompositionCount(), 1);
  knob->SetEnabled(false);  // recomposed and repainted at once
  EXPECT_EQ(knob->CompositionCount(), 2);
}

TEST_F(KnobTest, ValueChangesAndDragsNeverRecompose) {
  const int32_t before = knob->CompositionCount();
  ASSERT_EQ(before, 1);
  for (int i = 0; i <= 20; ++i) {
    knob->SetValue(static_cast<float>(i) / 20.0f);
    ui.window->ProcessPaint();
  }
  ui.window->PressPointer(kLeft + 10, kTop + 90);
  for (int x = 10; x < 100; x += 3) {
    ui.window->MovePointer(kLeft + x, kTop + 5);
    ui.window->ProcessPaint();
  }
  ui.window->ReleasePointer(kLeft + 90, kTop + 90);
  ui.window->ProcessPaint();
  EXPECT_EQ(knob->CompositionCount(), before);
}

TEST_F(KnobTest, EnabledChangesRepaintAtOnce) {
  const int32_t presents = ui.window->PresentCount();
  knob->SetEnabled(false);
  EXPECT_EQ(knob->CompositionCount(), 2);
  EXPECT_GT(ui.window->PresentCount(), presents);
  // The cache now holds the disabled body at the centre.
  EXPECT_EQ(knob->ImageCache().Pixel(52, 52), BodyBitmap(56, 0xB0B0B0).Pixel(26, 26));
  knob->SetEnabled(false);  // no change: nothing happens
  EXPECT_EQ(knob->CompositionCount(), 2);
}

TEST_F(KnobTest, OneTickPutsTheDotAtTheStart) {
  knob->SetTicks(1);
  knob->SetQuantise(true);
  knob->SetValue(0.8f);
  EXPECT_EQ(DotCentre(), (TPoint{47, 63}));
  ui.window->PressPointer(kLeft + 90, kTop + 52);
  EXPECT_NEAR(knob->Value(), 19.0 / 24.0, 1e-6);  // not snapped
}

TEST_F(KnobTest, TheShimmerStepsOnlyWhenTheDotMovesDiagonally) {
  knob->SetValue(0.5f);  // dot at (52, 40)
  const int32_t index = knob->ShimmerIndex();
  knob->SetValue(0.5f);
  EXPECT_EQ(knob->ShimmerIndex(), index);
  knob->SetValue(0.52f);  // a move that changes x only
  EXPECT_EQ(DotCentre().Y, 40);
  EXPECT_EQ(knob->ShimmerIndex(), index);
  knob->SetValue(0.8f);
  EXPECT_EQ(knob->ShimmerIndex(), (index + 1) % 4);
}

TEST_F(KnobTest, HidingTheKnobHidesItsDot) {
  knob->SetVisible(false);
  EXPECT_FALSE(knob->DotControl()->Visible());
  knob->SetValue(0.5f);
  EXPECT_FALSE(knob->DotControl()->Visible());
  knob->SetVisible(true);
  EXPECT_TRUE(knob->DotControl()->Visible());
}

TEST_F(KnobTest, DestroyedImagesAreForgotten) {
  TImage* main = knob->MainImage();
  delete main;
  EXPECT_EQ(knob->MainImage(), nullptr);
  delete dot;
  EXPECT_EQ(knob->DotImage(), nullptr);
  EXPECT_FALSE(knob->DotControl()->Visible());
  ui.window->ProcessPaint();  // paints without the body, without crashing
  EXPECT_TRUE(knob->ImageValid());
}

}  // namespace
