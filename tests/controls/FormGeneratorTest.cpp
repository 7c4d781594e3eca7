// The random streaks, noise and first shimmers come from a generator of each
// form's own: a form's pictures follow from its own drawing order only, so
// forms painting on several threads at once (several editors, each on its
// window's thread) each look exactly as one painted alone, and share no
// state (the ThreadSanitizer build watches).
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "controls/Random.h"
#include "controls/RubberKnob.h"
#include "tests/support/ControlsTestSupport.h"

namespace {

// A form that draws from its generator a lot: brushed metal, a textured
// panel and knobs that each choose a first shimmer among four different ones.
class TRandomForm {
 public:
  TRandomForm() : ui_(240, 120) {
    metal_ = new TBrushedMetal(&ui_.form);
    metal_->SetParent(&ui_.form);
    metal_->SetBounds(0, 0, 240, 120);
    panel_ = new TPaintedPanel(&ui_.form);
    panel_->SetParent(&ui_.form);
    panel_->SetBounds(4, 4, 232, 40);
    TImage* body = MakeImage(ui_.form, BodyBitmap(52, 0x3060C0));
    TImage* dot = MakeImage(ui_.form, DotBitmap(6, 0x00FFFF), true);
    TImage* shimmers[4];
    const TColour shimmerColours[4] = {0xFFFFFE, 0xC0FFC0, 0xC0C0FF, 0xFFC0C0};
    for (int i = 0; i < 4; ++i) shimmers[i] = MakeImage(ui_.form, DotBitmap(20, shimmerColours[i]), true);
    for (int i = 0; i < 3; ++i) {
      auto* knob = new TRubberKnob(&ui_.form);
      knob->SetParent(&ui_.form);
      knob->SetBounds(i * 70, 40, 80, 80);
      knob->SetDiameter(52);
      knob->SetMainImage(body);
      knob->SetDisabledImage(body);
      knob->SetDotImage(dot);
      for (int n = 1; n <= 4; ++n) knob->SetShimmer(n, shimmers[n - 1]);
      knobs_.push_back(knob);
    }
  }

  // Paints, then has every picture made anew and paints again, a few times:
  // what shows at the end depends on every draw made on the way.
  TBitmap PaintRounds(int rounds) {
    for (int round = 0; round < rounds; ++round) {
      ui_.window->ProcessPaint();
      metal_->SetShading(round % 3);
      panel_->SetTexture(4 + round % 2);
      for (TRubberKnob* knob : knobs_) knob->SetTicks(9 + round % 3);
      ui_.form.InvalidateAll();
    }
    ui_.window->ProcessPaint();
    return ui_.window->Screen();
  }

  TForm& Form() { return ui_.form; }

 private:
  TTestForm ui_;
  TBrushedMetal* metal_;
  TPaintedPanel* panel_;
  std::vector<TRubberKnob*> knobs_;
};

constexpr int kRounds = 4;

TEST(FormGenerator, EachFormStartsFromZeroWhateverOthersDrew) {
  TRandomForm first;
  first.PaintRounds(1);
  EXPECT_NE(first.Form().RandomState(), 0u);

  TRandomForm second;
  EXPECT_EQ(second.Form().RandomState(), 0u);
  EXPECT_EQ(second.PaintRounds(kRounds), TRandomForm().PaintRounds(kRounds));
}

TEST(FormGenerator, FormsPaintingOnSeveralThreadsLookAsOnePaintedAlone) {
  const TBitmap alone = TRandomForm().PaintRounds(kRounds);

  constexpr int kForms = 4;
  std::vector<std::unique_ptr<TRandomForm>> forms;
  for (int i = 0; i < kForms; ++i) forms.push_back(std::make_unique<TRandomForm>());
  std::vector<TBitmap> shown(kForms);
  std::vector<std::thread> threads;
  for (int i = 0; i < kForms; ++i) {
    threads.emplace_back(
        [&, i] { shown[static_cast<size_t>(i)] = forms[static_cast<size_t>(i)]->PaintRounds(kRounds); });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kForms; ++i) EXPECT_TRUE(shown[static_cast<size_t>(i)] == alone) << "form " << i;
}

TEST(FormGenerator, AControlOnNoFormDrawsFromItsThreadsOwnState) {
  TBrushedMetal metal(nullptr);
  uint32_t* here = &RandomStateOf(metal);
  uint32_t* there = nullptr;
  std::thread other([&] { there = &RandomStateOf(metal); });
  other.join();
  EXPECT_NE(here, there);
}

}  // namespace
