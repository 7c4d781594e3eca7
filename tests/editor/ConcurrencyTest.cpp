// Host automation on its own thread while the window thread paints and
// handles the pointer, and several editors painting at once, each on a
// thread of its own: no data race (the ThreadSanitizer build watches); once
// the host stops, the controls show what the plug-in holds, and each editor
// looks as one alone does.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "tests/editor/EditorTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace {

TEST(EditorThreads, HostAutomationWhileTheWindowThreadPaintsAndTakesInput) {
  TEditorHost host;
  ASSERT_EQ(host.Open(), 1);
  host.Paint();
  AEffect* effect = host.Effect();
  std::atomic<bool> stop{false};
  std::thread automation([&] {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int i = 0; !stop.load(std::memory_order_relaxed) || i < 2000; ++i) {
      effect->setParameter(effect, static_cast<int32_t>(random() % kNumParameters), value(random));
    }
  });
  THeadlessWindow* window = host.Window();
  const TSpot spots[] = {kMonoButton, kHaasButton, kBassModeButton, kLoFiButton, kStereoButton};
  for (int round = 0; round < 60; ++round) {
    window->FireTimer();
    window->ProcessPaint();
    const TSpot& spot = spots[round % 5];
    window->Click(spot.X, spot.Y);
    window->PressPointer(kRateCentre.X, kRateCentre.Y - 30);
    window->MovePointer(kRateCentre.X + 30, kRateCentre.Y + round % 7);
    window->ReleasePointer(kRateCentre.X + 30, kRateCentre.Y + round % 7);
  }
  stop.store(true, std::memory_order_relaxed);
  automation.join();
  window->FireTimer();
  window->ProcessPaint();

  const TOndrelEditForm& form = *host.Form();
  EXPECT_EQ(form.rkCutoff->Value(), host.Get(kCutoff));
  EXPECT_EQ(form.rkDelay->Value(), host.Get(kDelay));
  EXPECT_EQ(form.rkDepth->Value(), host.Get(kWidth));
  EXPECT_EQ(form.rkRate->Value(), host.Get(kRate));
  EXPECT_EQ(form.rkFeedback->Value(), host.Get(kFeedback));
  EXPECT_EQ(form.rkMix->Value(), host.Get(kMix));
  EXPECT_EQ(form.FBassMode, host.Get(kBassMode) > 0.5f);
  EXPECT_EQ(form.FLoFi, !(host.Get(kAntiAlias) > 0.5f));
  EXPECT_EQ(form.FChannelMode, static_cast<int8_t>(ChannelModeOf(host.Get(kStereoMode))));
}

TEST(EditorThreads, SeveralEditorsPaintingAtOnceEachLookAsOneAlone) {
  constexpr size_t kEditors = 4;
  std::vector<std::unique_ptr<TEditorHost>> hosts;
  for (size_t i = 0; i < kEditors; ++i) hosts.push_back(std::make_unique<TEditorHost>());
  std::vector<TBitmap> shown(kEditors);
  std::vector<std::thread> windowThreads;
  for (size_t i = 0; i < kEditors; ++i) {
    windowThreads.emplace_back([&, i] {
      TEditorHost& host = *hosts[i];
      if (host.GetRect() == nullptr || host.Open() != 1) return;
      host.Paint();
      shown[i] = host.Window()->Screen();
    });
  }
  for (std::thread& thread : windowThreads) thread.join();
  for (size_t i = 0; i < kEditors; ++i) {
    EXPECT_TRUE(MatchesGolden(shown[i], std::string(ONDREL_GOLDEN_DIR) + "/default.bmp")) << "editor " << i;
  }
}

}  // namespace
