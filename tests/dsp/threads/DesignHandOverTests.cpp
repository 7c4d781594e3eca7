// Designers stopped in the middle of a filter design, as a pre-empted window
// or host thread would be: nobody waits for them, their half-written design
// never runs, and what they bring when they go on never replaces a newer one.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "dsp/Ondrel.h"
#include "tests/dsp/threads/DesignGate.h"

namespace {

std::vector<float> Noise(size_t length, uint32_t seed) {
  std::vector<float> v(length);
  for (auto& s : v) {
    seed = seed * 1664525u + 1013904223u;
    s = static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
  }
  return v;
}

std::vector<float> Block(TOndrel& fx, std::vector<float> in) {
  std::vector<float> left(in.size()), right(in.size());
  float* inputs[1] = {in.data()};
  float* outputs[2] = {left.data(), right.data()};
  fx.processReplacing(inputs, outputs, static_cast<int32_t>(in.size()));
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

}  // namespace

// The window thread is stopped in the middle of its design while the host's
// audio thread sets the cutoff and processes: neither call may wait for it,
// the block already runs the audio thread's split, and the window thread's
// older design, finished later, does not come back.
TEST(DesignHandOver, AStoppedDesignerHoldsUpNeitherParametersNorBlocks) {
  TOndrel fx(nullptr), reference(nullptr);
  const auto input = Noise(2048, 9);
  DesignGate gate;
  std::thread window([&] {
    gate.StopHere();
    fx.setParameter(kCutoff, 0.0f);
  });
  const bool stopped = gate.WaitStopped(1);

  std::atomic<bool> done{false};
  std::vector<float> during;
  std::thread audio([&] {
    fx.setParameter(kCutoff, 1.0f);
    during = Block(fx, input);
    done = true;
  });
  const bool returned = gate.WaitFor([&] { return done.load(); });
  gate.Open();
  window.join();
  audio.join();
  ASSERT_TRUE(stopped);
  EXPECT_TRUE(returned) << "the audio thread waited for the stopped designer";

  reference.setParameter(kCutoff, 1.0f);
  EXPECT_EQ(during, Block(reference, input));
  EXPECT_EQ(Block(fx, input), Block(reference, input));
}

// Every free slot of the low-pass taken by stopped designers: the design
// that finds none is dropped, and made again by one of them once it goes
// on, from the values of then.
TEST(DesignHandOver, ADesignDroppedForWantOfASlotIsMadeLater) {
  TOndrel fx(nullptr), reference(nullptr);
  DesignGate gate;
  std::vector<std::thread> windows;
  for (int i = 1; i <= 3; ++i) {
    windows.emplace_back([&fx, i] {
      DesignGate::StopHere();
      fx.setParameter(kCutoff, 0.1f * static_cast<float>(i));
    });
  }
  const bool stopped = gate.WaitStopped(3);
  std::atomic<bool> done{false};
  std::thread host([&] {
    fx.setParameter(kCutoff, 1.0f);
    done = true;
  });
  const bool returned = gate.WaitFor([&] { return done.load(); });
  gate.Open();
  for (auto& window : windows) window.join();
  host.join();
  ASSERT_TRUE(stopped);
  EXPECT_TRUE(returned);

  reference.setParameter(kCutoff, 1.0f);
  const auto input = Noise(2048, 3);
  EXPECT_EQ(Block(fx, input), Block(reference, input));
}
