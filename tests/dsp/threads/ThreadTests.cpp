// The audio thread processes while other threads change parameters and
// recompute the working values, as hosts and editors do. Run under
// ThreadSanitizer this proves the hand-over free of data races.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "dsp/Ondrel.h"

TEST(Threads, ProcessingWhileParametersChangeStaysFinite) {
  TOndrel fx(nullptr);
  std::atomic<bool> stop{false};
  std::atomic<long> nonFinite{0};
  std::atomic<long> blocks{0};

  std::thread audio([&] {
    std::vector<float> in(256), left(256), right(256);
    float* inputs[1] = {in.data()};
    float* outputs[2] = {left.data(), right.data()};
    uint32_t phase = 0;
    while (!stop.load()) {
      for (auto& s : in) s = 0.8f * std::sin(0.05f * static_cast<float>(phase++ % 100000));
      fx.processReplacing(inputs, outputs, 256);
      for (size_t n = 0; n < left.size(); ++n)
        if (!std::isfinite(left[n]) || !std::isfinite(right[n])) nonFinite.fetch_add(1);
      blocks.fetch_add(1);
    }
  });
  std::thread automation([&] {
    uint32_t seed = 12345;
    while (!stop.load()) {
      seed = seed * 1664525u + 1013904223u;
      const int32_t index = static_cast<int32_t>(seed >> 28) % kNumParameters;
      fx.setParameter(index, static_cast<float>(seed & 0xFFFF) / 65535.0f);
    }
  });
  std::thread editor([&] {
    while (!stop.load()) fx.UpdateCoefficients();
  });

  // Long enough for many blocks to meet many changes, short under sanitizers.
  while (blocks.load() < 400) std::this_thread::yield();
  stop = true;
  audio.join();
  automation.join();
  editor.join();
  EXPECT_EQ(nonFinite.load(), 0);
}

TEST(Threads, OverlappingBlocksReturnAtOnce) {
  // Two threads calling the block routine at once: one of any overlapping
  // pair returns untouched; neither corrupts the other's state.
  TOndrel fx(nullptr);
  std::atomic<bool> stop{false};
  auto run = [&] {
    std::vector<float> in(128, 0.1f), left(128), right(128);
    float* inputs[1] = {in.data()};
    float* outputs[2] = {left.data(), right.data()};
    for (int i = 0; i < 2000 && !stop.load(); ++i) fx.process(inputs, outputs, 128);
  };
  std::thread a(run), b(run);
  a.join();
  b.join();
  std::vector<float> in(16, 0.0f), left(16), right(16);
  float* inputs[1] = {in.data()};
  float* outputs[2] = {left.data(), right.data()};
  fx.processReplacing(inputs, outputs, 16);
  for (float s : left) EXPECT_TRUE(std::isfinite(s));
}
