// The editor object as hosts drive it, the careless ones included.
#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

namespace {

TEST(EditorObject, GetRectBeforeOpenMakesAHiddenFormWithoutParent) {
  TEditorHost host;
  EXPECT_EQ(host.Effect()->flags & effFlagsHasEditor, effFlagsHasEditor);
  EXPECT_EQ(host.Form(), nullptr);
  ERect* rect = host.GetRect();
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 291);
  EXPECT_EQ(rect->right, 560);
  ASSERT_NE(host.Form(), nullptr);
  EXPECT_FALSE(host.Form()->Shown());
  EXPECT_EQ(host.Form()->ParentWindow(), nullptr);
  // Asked again, the same rectangle and the same form.
  TOndrelEditForm* form = host.Form();
  EXPECT_EQ(host.GetRect(), rect);
  EXPECT_EQ(host.Form(), form);
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, nullptr), 0) << "nowhere to put the rectangle";
}

TEST(EditorObject, OpenWithoutAWindowFailsAndChangesNothing) {
  TEditorHost host;
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, nullptr), 0);
  EXPECT_EQ(host.Form(), nullptr);
  EXPECT_EQ(host.Open(), 1);
  EXPECT_TRUE(host.Form()->Shown());
  EXPECT_EQ(host.Window()->FrontCount(), 1);
}

TEST(EditorObject, OpeningShowsThePluginsValuesAndWritesNothingIntoIt) {
  TEditorHost host;
  const float odd[kNumParameters] = {0.6f, 0.123f, 2.5f, -0.25f, 0.9f, 0.77f, 0.1f, 0.4f, 0.05f};
  for (int32_t i = 0; i < kNumParameters; ++i) host.Set(i, odd[i]);
  const auto before = host.Values();
  ASSERT_EQ(host.Open(), 1);
  host.Paint();
  EXPECT_EQ(host.Values(), before);
  TOndrelEditForm& form = *host.Form();
  EXPECT_EQ(form.rkCutoff->Value(), 0.123f);
  EXPECT_EQ(form.rkDelay->Value(), 2.5f);
  EXPECT_EQ(form.rkDepth->Value(), -0.25f);
  EXPECT_EQ(form.rkMix->Value(), 0.05f);
  EXPECT_EQ(form.rbMono->ButtonState(), rlbUpOn);  // 0.1 x 3 rounds to 0
  EXPECT_EQ(form.rbLoFi->ButtonState(), rlbUpOn);  // anti-alias 0.4 is off
  // Opened again in the same window: nothing moves, values load again.
  host.Set(kRate, 0.3f);
  const TNativeWindow* window = form.NativeWindow();
  EXPECT_EQ(host.Open(), 1);
  EXPECT_EQ(form.NativeWindow(), window);
  EXPECT_EQ(form.rkRate->Value(), 0.3f);
  EXPECT_EQ(host.Values()[kRate], 0.3f);
}

TEST(EditorObject, HostValuesShowQuantisedAndTheNextEditRewritesThem) {
  TEditorHost host;
  ASSERT_EQ(host.Open(), 1);
  TOndrelEditForm& form = *host.Form();
  host.Set(kStereoMode, 0.6f);
  EXPECT_EQ(form.rbDual->ButtonState(), rlbUpOn);
  host.Set(kBassMode, 0.3f);
  EXPECT_EQ(form.rbBassMode->ButtonState(), rlbUpOff);
  EXPECT_FALSE(form.rkCutoff->Enabled());
  host.Set(kAntiAlias, 0.7f);
  EXPECT_EQ(form.rbLoFi->ButtonState(), rlbUpOff);
  EXPECT_EQ(host.Get(kStereoMode), 0.6f) << "a host value stays as the host set it";
  host.Click(kRateCentre.X, kRateCentre.Y - 30);
  EXPECT_EQ(host.Get(kStereoMode), 0.6666667f);
  EXPECT_EQ(host.Get(kBassMode), 0.0f);
  EXPECT_EQ(host.Get(kAntiAlias), 1.0f);
}

TEST(EditorObject, HostChangesOnAnotherThreadWaitForTheWindowThreadsTimer) {
  TEditorHost host;
  ASSERT_EQ(host.Open(), 1);
  THeadlessWindow* window = host.Window();
  EXPECT_EQ(window->TimerInterval(), TOndrelEditor::kHostChangeIntervalMs);
  const float shown = host.Form()->rkRate->Value();
  host.SetFromHostThread(kRate, 0.75f);
  host.SetFromHostThread(kStereoMode, 1.0f);
  host.SetFromHostThread(42, 1.0f);
  EXPECT_EQ(host.Form()->rkRate->Value(), shown) << "the host's thread touched the form";
  window->FireTimer();
  EXPECT_EQ(host.Form()->rkRate->Value(), 0.75f);
  EXPECT_EQ(host.Form()->rbHaas->ButtonState(), rlbUpOn);
  EXPECT_FALSE(host.Form()->rkFeedback->Enabled());
  EXPECT_EQ(host.Get(kRate), 0.75f);
  EXPECT_EQ(host.Get(kStereoMode), 1.0f) << "showing a host value writes nothing back";
}

TEST(EditorObject, SetParameterBeforeAnyFormAndIdleChangeNothing) {
  TEditorHost host;
  host.Set(kRate, 0.9f);
  host.Set(9, 0.5f);
  host.Set(-1, 0.5f);
  EXPECT_EQ(host.Form(), nullptr);
  for (int i = 0; i < 5; ++i) host.Dispatch(effEditIdle);
  ASSERT_EQ(host.Open(), 1);
  EXPECT_EQ(host.Form()->rkRate->Value(), 0.9f);
  const auto before = host.Values();
  for (int i = 0; i < 5; ++i) host.Dispatch(effEditIdle);
  EXPECT_EQ(host.Values(), before);
}

TEST(EditorObject, CloseKeepsTheFormWhichFollowsTheHostAndReopensElsewhere) {
  TEditorHost host;
  host.Close();  // before any open: nothing to do
  ASSERT_EQ(host.Open(0), 1);
  TOndrelEditForm* form = host.Form();
  void* firstParent = form->ParentWindow();
  host.Click(kHaasButton.X, kHaasButton.Y);
  host.Close();
  EXPECT_FALSE(form->Showing());
  EXPECT_FALSE(form->Shown());
  host.Set(kRate, 0.6f);  // closed, on the editor's thread: shown at once
  EXPECT_EQ(form->rkRate->Value(), 0.6f);
  host.SetFromHostThread(kMix, 0.2f);
  host.Close();  // twice
  ASSERT_EQ(host.Open(1), 1);
  EXPECT_EQ(host.Form(), form);
  EXPECT_NE(form->ParentWindow(), firstParent);
  EXPECT_EQ(form->rbHaas->ButtonState(), rlbUpOn);
  EXPECT_EQ(form->rkMix->Value(), 0.2f);
  // Moving to another window without a close in between.
  ASSERT_EQ(host.Open(0), 1);
  EXPECT_EQ(form->ParentWindow(), firstParent);
  EXPECT_TRUE(form->Shown());
}

TEST(EditorObject, ClosingThePluginWithTheEditorOpenOrMidDrag) {
  TEditorHost host;
  ASSERT_EQ(host.Open(), 1);
  host.Window()->PressPointer(kRateCentre.X, kRateCentre.Y - 30);
  host.ClosePlugin();  // the sanitizer builds see any use after free
  SUCCEED();
}

TEST(EditorObject, HostChangesFromBeforeTheFormSettleAtGetRectAndKnobsComposeInOrder) {
  TEditorHost host;
  host.Set(kBassMode, 0.0f);
  host.Set(kStereoMode, 1.0f);
  ASSERT_NE(host.GetRect(), nullptr);
  const TOndrelEditForm& form = *host.Form();
  EXPECT_FALSE(form.rkCutoff->Enabled());
  EXPECT_FALSE(form.rkMix->Enabled());
  ASSERT_EQ(host.Open(), 1);
  // Nothing composed during open: the knobs compose at the first paint, in
  // the form's order, and take their reflections from its generator so.
  for (const TRubberKnob* knob :
       {form.rkCutoff, form.rkDelay, form.rkDepth, form.rkRate, form.rkFeedback, form.rkMix}) {
    EXPECT_EQ(knob->CompositionCount(), 0) << knob->Name();
  }
}

TEST(EditorObject, OpenLoadsKnobValuesBeforeTheSwitchesThatEnableThem) {
  // Bass mode off keeps the cutoff knob disabled; while the editor is
  // closed, the host turns bass mode on and moves the cutoff.
  auto closedWithBassModeOff = [](TEditorHost& host) {
    host.Set(kBassMode, 0.0f);
    ASSERT_EQ(host.Open(), 1);
    host.Paint();
    host.Close();
  };
  TEditorHost reopened;
  closedWithBassModeOff(reopened);
  reopened.SetFromHostThread(kBassMode, 1.0f);
  reopened.SetFromHostThread(kCutoff, 0.7f);
  ASSERT_EQ(reopened.Open(), 1);
  reopened.Paint();

  // The same two changes made one by one with the editor open, the knob's
  // value first: the reopened editor looks the same, reflection included.
  TEditorHost stepwise;
  closedWithBassModeOff(stepwise);
  ASSERT_EQ(stepwise.Open(), 1);
  stepwise.Set(kCutoff, 0.7f);
  stepwise.Set(kBassMode, 1.0f);
  stepwise.Paint();
  EXPECT_TRUE(reopened.Window()->Screen() == stepwise.Window()->Screen());
}

}  // namespace
