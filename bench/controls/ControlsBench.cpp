// What the controls cost: composing a knob, repainting it from its cache,
// moving its dot for a value change or a drag step, and generating the two
// surfaces at the editor's size.
#include <benchmark/benchmark.h>

#include <cmath>

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "controls/RubberKnob.h"
#include "platform/FontEngine.h"
#include "platform/Form.h"
#include "platform/HeadlessWindow.h"

namespace {

TImage* Picture(TForm& form, TBitmap bitmap, bool transparent) {
  auto* image = new TImage(&form);
  image->SetBounds(0, 0, bitmap.Width(), bitmap.Height());
  image->SetPicture(bitmap);
  image->SetTransparent(transparent);
  image->SetVisible(false);
  image->SetParent(&form);
  return image;
}

TBitmap Disc(int32_t size, TColour colour) {
  TBitmap bitmap(size, size, clWhite);
  const double c = (size - 1) / 2.0;
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      if (std::hypot(x - c, y - c) <= c) bitmap.SetPixel(x, y, colour);
    }
  }
  return bitmap;
}

// A knob set up as the editor sets its knobs, on a 560 by 291 form.
struct TKnobScene {
  TKnobScene() {
    form.SetClientSize(560, 291);
    window = &AttachHeadlessWindow(form);
    knob = new TRubberKnob(&form);
    knob->SetParent(&form);
    knob->SetBounds(239, 49, 104, 104);
    knob->SetDiameter(52);
    knob->SetDotRadius(12);
    knob->SetColour(0xFBFBFB);
    knob->SetShadow(0x505050);
    TStringList labels{"Min", "Max"};
    knob->SetLabels(&labels);
    knob->SetMainImage(Picture(form, Disc(56, 0x404040), false));
    knob->SetDisabledImage(Picture(form, Disc(56, 0xB0B0B0), false));
    knob->SetDotImage(Picture(form, Disc(6, 0x2020E0), true));
    for (int i = 1; i <= 4; ++i) knob->SetShimmer(i, Picture(form, Disc(36, 0xF0F0F0), true));
    window->ProcessPaint();
  }
  TForm form;
  THeadlessWindow* window;
  TRubberKnob* knob;
};

void BM_KnobComposition(benchmark::State& state) {
  TKnobScene scene;
  TBitmap target(104, 104);
  for (auto _ : state) {
    scene.knob->SetColour(0xFBFBFB);  // marks the picture stale
    TCanvas canvas(target);
    scene.knob->Paint(canvas);
    benchmark::DoNotOptimize(target.Row(0));
  }
}
BENCHMARK(BM_KnobComposition);

void BM_CachedKnobRepaint(benchmark::State& state) {
  TKnobScene scene;
  TBitmap target(104, 104);
  for (auto _ : state) {
    TCanvas canvas(target);
    scene.knob->Paint(canvas);
    benchmark::DoNotOptimize(target.Row(0));
  }
}
BENCHMARK(BM_CachedKnobRepaint);

// A value from the host: the dot moves and the window repaints what changed.
void BM_ValueChangeDotMove(benchmark::State& state) {
  TKnobScene scene;
  int step = 0;
  for (auto _ : state) {
    scene.knob->SetValue(static_cast<float>(step++ % 20) / 19.0f);  // the dot moves every time
    scene.window->ProcessPaint();
  }
}
BENCHMARK(BM_ValueChangeDotMove);

// One pointer move of a drag, up to the new dot on the screen.
void BM_DragStep(benchmark::State& state) {
  TKnobScene scene;
  scene.window->PressPointer(239 + 10, 49 + 90);
  int step = 0;
  for (auto _ : state) {
    const double a = 0.1 * (step++ % 40);  // about 4 pixels along the arc
    scene.window->MovePointer(239 + 52 + static_cast<int32_t>(40 * std::cos(a)),
                              49 + 52 - static_cast<int32_t>(40 * std::sin(a)));
    scene.window->ProcessPaint();
  }
  scene.window->ReleasePointer(239 + 10, 49 + 90);
}
BENCHMARK(BM_DragStep);

void BM_BrushedMetal560x291(benchmark::State& state) {
  TBrushedMetal metal(nullptr);
  metal.SetBounds(0, 0, 560, 291);
  for (auto _ : state) {
    metal.Generate();
    benchmark::DoNotOptimize(metal.Surface().Row(0));
  }
}
BENCHMARK(BM_BrushedMetal560x291)->Unit(benchmark::kMillisecond);

void BM_PaintedPanel560x291(benchmark::State& state) {
  TPaintedPanel panel(nullptr);
  panel.SetBounds(0, 0, 560, 291);
  for (auto _ : state) {
    panel.Generate();
    benchmark::DoNotOptimize(panel.Surface().Row(0));
  }
}
BENCHMARK(BM_PaintedPanel560x291)->Unit(benchmark::kMillisecond);

}  // namespace
