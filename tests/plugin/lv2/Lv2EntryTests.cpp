// The LV2 build's sound library against the VST 2 library, both loaded from
// the build as hosts load them: the same input and the same control values
// must give the same samples, bit for bit, whatever the host does between
// blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/HostHarness.h"
#include "tests/support/HostileFloat.h"
#include "tests/support/Lv2Host.h"

namespace {

using lv2host::kControls;

struct Change {
  size_t frame;  // applied before the first block that starts at or after it
  int32_t index;
  float value;
};

struct Sound {
  std::vector<float> left, right;
};

// A plucked bass note every quarter second, with harmonics into the
// kilohertz range and a little noise: both bands of the split are busy.
std::vector<float> Material(size_t frames, double rate) {
  std::vector<float> samples(frames);
  uint32_t noise = 12345;
  for (size_t n = 0; n < frames; ++n) {
    const double t = static_cast<double>(n) / rate;
    const double sinceNote = std::fmod(t, 0.25);
    const double f = 41.2 * (1.0 + static_cast<double>(static_cast<int>(t / 0.25) % 3) * 0.5);
    double tone = 0.0;
    for (int h = 1; h <= 12; ++h) tone += std::sin(2.0 * M_PI * f * h * t) / h;
    noise = noise * 1664525u + 1013904223u;
    const double hiss = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.02;
    samples[n] = static_cast<float>(0.4 * tone * std::exp(-6.0 * sinceNote) + hiss);
  }
  return samples;
}

// Walks the input in blocks of the given sizes (cycling). Before each block
// the changes due are made to the control values, and every control whose
// value (its bits) then differs from the one last set is set, in index
// order: what an LV2 host's ports tell the plug-in. Only the last of several
// moves in one gap counts, as it does there (and it matters: a cutoff the
// filters cannot take keeps the last design they could).
template <typename SetFn, typename ProcessFn>
Sound Walk(const std::vector<float>& in, const std::vector<uint32_t>& blocks, const std::vector<Change>& changes,
           SetFn set, ProcessFn process) {
  // Stale output from the host's last cycle: the plug-in must replace it.
  Sound out{std::vector<float>(in.size(), 0.5f), std::vector<float>(in.size(), -0.25f)};
  std::vector<float> input = in;  // hosts' buffers are writable
  float current[kControls];
  float last[kControls];
  std::memcpy(current, lv2host::kDefaults, sizeof current);
  std::memcpy(last, lv2host::kDefaults, sizeof last);
  size_t next = 0;
  size_t block = 0;
  for (size_t frame = 0; frame < in.size();) {
    for (; next < changes.size() && changes[next].frame <= frame; ++next)
      current[changes[next].index] = changes[next].value;
    for (uint32_t i = 0; i < kControls; ++i) {
      if (std::memcmp(&current[i], &last[i], sizeof(float)) == 0) continue;
      last[i] = current[i];
      set(static_cast<int32_t>(i), current[i]);
    }
    const size_t frames = std::min<size_t>(blocks[block++ % blocks.size()], in.size() - frame);
    process(&input[frame], &out.left[frame], &out.right[frame], static_cast<uint32_t>(frames));
    frame += frames;
  }
  return out;
}

Sound ThroughVst2(float rate, const std::vector<float>& in, const std::vector<uint32_t>& blocks,
                  const std::vector<Change>& changes = {}) {
  harness::Instance fx;
  AEffect* e = fx.record();
  fx.dispatch(effOpen);
  fx.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  fx.dispatch(effMainsChanged, 0, 1);
  return Walk(
      in, blocks, changes, [&](int32_t index, float value) { fx.setParameter(index, value); },
      [&](float* input, float* left, float* right, uint32_t frames) {
        float* inputs[1] = {input};
        float* outputs[2] = {left, right};
        e->processReplacing(e, inputs, outputs, static_cast<int32_t>(frames));
      });
}

Sound ThroughLv2(double rate, const std::vector<float>& in, const std::vector<uint32_t>& blocks,
                 const std::vector<Change>& changes = {}) {
  lv2host::Instance fx(rate);
  EXPECT_TRUE(fx.ok()) << "instantiate refused rate " << rate;
  if (!fx.ok()) return {};
  return Walk(
      in, blocks, changes, [&](int32_t index, float value) { fx.control[index] = value; },
      [&](float* input, float* left, float* right, uint32_t frames) { fx.Run(input, left, right, frames); });
}

// Bit for bit, NaN included; on a difference, where it starts.
::testing::AssertionResult Identical(const Sound& a, const Sound& b) {
  if (a.left.size() != b.left.size()) return ::testing::AssertionFailure() << "lengths differ";
  for (size_t n = 0; n < a.left.size(); ++n) {
    if (std::memcmp(&a.left[n], &b.left[n], sizeof(float)) != 0 ||
        std::memcmp(&a.right[n], &b.right[n], sizeof(float)) != 0) {
      return ::testing::AssertionFailure() << "first difference at frame " << n << ": " << a.left[n] << " "
                                           << a.right[n] << " against " << b.left[n] << " " << b.right[n];
    }
  }
  return ::testing::AssertionSuccess();
}

// Every setting as changes at frame 0.
std::vector<Change> Settings(std::initializer_list<std::pair<int32_t, float>> values) {
  std::vector<Change> changes;
  for (const auto& v : values) changes.push_back({0, v.first, v.second});
  return changes;
}

}  // namespace

TEST(Lv2Entry, DescribesOnePluginWithEveryCallback) {
  const LV2_Descriptor* d = lv2host::Descriptor(0);
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d->URI, "urn:ondrel-audio:ondrel");
  EXPECT_TRUE(d->instantiate && d->connect_port && d->activate && d->run && d->deactivate && d->cleanup &&
              d->extension_data);
  EXPECT_EQ(d->extension_data("http://lv2plug.in/ns/ext/state#interface"), nullptr);
  EXPECT_EQ(lv2host::Descriptor(1), nullptr);
  EXPECT_EQ(lv2host::Descriptor(0xFFFFFFFFu), nullptr);
}

TEST(Lv2Entry, DefaultsSoundAsTheVst2Build) {
  for (double rate : {44100.0, 48000.0}) {
    SCOPED_TRACE(rate);
    const std::vector<float> in = Material(static_cast<size_t>(rate * 2), rate);
    EXPECT_TRUE(Identical(ThroughLv2(rate, in, {512}), ThroughVst2(static_cast<float>(rate), in, {512})));
  }
}

// The four modes at the values the Turtle's scale points give them, with
// both switches either way.
TEST(Lv2Entry, EveryModeAndSwitchSoundsAsTheVst2Build) {
  const std::vector<float> in = Material(22050, 44100.0);
  for (float mode : {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}) {
    for (float bass : {0.0f, 1.0f}) {
      for (float antiAlias : {0.0f, 1.0f}) {
        SCOPED_TRACE(::testing::Message() << "mode " << mode << " bass " << bass << " anti-alias " << antiAlias);
        const auto settings = Settings({{6, mode}, {0, bass}, {7, antiAlias}, {5, 0.7f}, {8, 0.6f}});
        EXPECT_TRUE(Identical(ThroughLv2(44100.0, in, {256}, settings), ThroughVst2(44100.0f, in, {256}, settings)));
      }
    }
  }
}

// Host automation: every control moves between blocks of odd sizes, some to
// values no knob gives (the plug-in's own guard decides what they mean),
// and some move and come back before a block sees them.
TEST(Lv2Entry, ChangesBetweenBlocksSoundAsTheVst2Build) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<float> in = Material(48000, 48000.0);
  std::vector<Change> changes;
  const float values[] = {0.1f, 0.9f, 0.0f, 1.0f, 0.33f, -0.5f, 1.5f, nan, inf, -inf, 1e-40f, 1e30f, 0.5f};
  size_t k = 0;
  for (size_t frame = 0; frame < 40000; frame += 700) {
    for (int32_t index = 0; index < static_cast<int32_t>(kControls); ++index) {
      if ((frame / 700 + static_cast<size_t>(index)) % 3 != 0) continue;
      changes.push_back({frame, index, values[k++ % (sizeof values / sizeof values[0])]});
    }
  }
  // A move and its undoing within one gap: the block sees no change.
  changes.push_back({40000, 1, 0.8f});
  changes.push_back({40000, 1, 0.25f});
  const std::vector<uint32_t> blocks = {1, 7, 64, 333, 512, 4096, 2};
  EXPECT_TRUE(Identical(ThroughLv2(48000.0, in, blocks, changes), ThroughVst2(48000.0f, in, blocks, changes)));
}

// Whatever rate a VST 2 host can set, the LV2 host can instantiate at, and
// both sound alike; a double beyond the float range reaches the plug-in as
// the infinity it rounds to.
TEST(Lv2Entry, EveryRateTheVst2BuildTakesIsInstantiated) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<float> in = Material(4096, 44100.0);
  const struct {
    double lv2;
    float vst2;
  } rates[] = {{8000, 8000.0f},
               {22050, 22050.0f},
               {88200, 88200.0f},
               {192000, 192000.0f},
               {768000, 768000.0f},
               {44100.5, 44100.5f},
               {1, 1.0f},
               {0, 0.0f},
               {-48000, -48000.0f},
               {1e300, std::numeric_limits<float>::infinity()},
               {-1e300, -std::numeric_limits<float>::infinity()},
               {inf, std::numeric_limits<float>::infinity()},
               {nan, std::numeric_limits<float>::quiet_NaN()}};
  for (const auto& rate : rates) {
    SCOPED_TRACE(rate.lv2);
    EXPECT_TRUE(Identical(ThroughLv2(rate.lv2, in, {512}), ThroughVst2(rate.vst2, in, {512})));
  }
}

// activate and deactivate are the VST 2 mains switch; a host may cycle it.
TEST(Lv2Entry, ActivationCyclesSoundAsTheMainsSwitch) {
  const std::vector<float> in = Material(8192, 44100.0);
  Sound lv2{std::vector<float>(in.size()), std::vector<float>(in.size())};
  Sound vst2 = lv2;
  std::vector<float> input = in;
  {
    lv2host::Instance fx(44100.0);
    fx.Run(&input[0], &lv2.left[0], &lv2.right[0], 4096);
    fx.Deactivate();
    fx.Activate();
    fx.Run(&input[4096], &lv2.left[4096], &lv2.right[4096], 4096);
  }
  {
    harness::Instance fx;
    AEffect* e = fx.record();
    fx.dispatch(effOpen);
    fx.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    fx.dispatch(effMainsChanged, 0, 1);
    for (size_t at : {size_t{0}, size_t{4096}}) {
      if (at > 0) {
        fx.dispatch(effMainsChanged, 0, 0);
        fx.dispatch(effMainsChanged, 0, 1);
      }
      float* inputs[1] = {&input[at]};
      float* outputs[2] = {&vst2.left[at], &vst2.right[at]};
      e->processReplacing(e, inputs, outputs, 4096);
    }
  }
  EXPECT_TRUE(Identical(lv2, vst2));
}

// LV2 hosts may hand one buffer as input and output (the Turtle does not
// forbid it): the sound must not change.
TEST(Lv2Entry, InPlaceProcessingSoundsTheSame) {
  const std::vector<float> in = Material(8192, 44100.0);
  const Sound apart = ThroughLv2(44100.0, in, {512});
  Sound inPlace{in, std::vector<float>(in.size())};
  lv2host::Instance fx(44100.0);
  for (size_t at = 0; at < in.size(); at += 512) fx.Run(&inPlace.left[at], &inPlace.left[at], &inPlace.right[at], 512);
  EXPECT_TRUE(Identical(inPlace, apart));
}

// A control port the host disconnects keeps the value it last had.
TEST(Lv2Entry, DisconnectedControlKeepsItsLastValue) {
  const std::vector<float> in = Material(8192, 44100.0);
  const Sound expected = ThroughVst2(44100.0f, in, {512}, Settings({{2, 0.9f}, {6, 0.0f}}));
  Sound out{std::vector<float>(in.size()), std::vector<float>(in.size())};
  std::vector<float> input = in;
  lv2host::Instance fx(44100.0);
  fx.control[2] = 0.9f;
  fx.control[6] = 0.0f;
  fx.Run(&input[0], &out.left[0], &out.right[0], 512);
  fx.Connect(lv2host::kFirstControlPort + 2, nullptr);
  fx.Connect(99, &fx.control[0]);  // no such port: ignored
  for (size_t at = 512; at < in.size(); at += 512) fx.Run(&input[at], &out.left[at], &out.right[at], 512);
  EXPECT_TRUE(Identical(out, expected));
}

// Instances share nothing: two run in turn sound as each alone.
TEST(Lv2Entry, InstancesAreIndependent) {
  const std::vector<float> in = Material(8192, 44100.0);
  const Sound aloneA = ThroughLv2(44100.0, in, {512}, Settings({{6, 1.0f}}));
  const Sound aloneB = ThroughLv2(96000.0, in, {512}, Settings({{4, 0.9f}}));
  Sound a{std::vector<float>(in.size()), std::vector<float>(in.size())};
  Sound b = a;
  std::vector<float> input = in;
  lv2host::Instance fxA(44100.0);
  lv2host::Instance fxB(96000.0);
  fxA.control[6] = 1.0f;
  fxB.control[4] = 0.9f;
  for (size_t at = 0; at < in.size(); at += 512) {
    fxA.Run(&input[at], &a.left[at], &a.right[at], 512);
    fxB.Run(&input[at], &b.left[at], &b.right[at], 512);
  }
  EXPECT_TRUE(Identical(a, aloneA));
  EXPECT_TRUE(Identical(b, aloneB));
}

#if defined(ONDREL_TRAPS_OBSERVABLE)
// A host that unmasks every floating-point exception before each call, and
// hands over rates and values that trap wherever arithmetic meets them
// unguarded (a rate whose narrowing to float underflows or is inexact,
// NaN and infinities in the controls and the input). No trap may leave.
TEST(Lv2Entry, NoCallTrapsWithEveryExceptionUnmasked) {
  const float hostile[] = {std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(),
                           1e30f,
                           1e-40f,
                           -0.0f,
                           2.0f};
  std::vector<float> in(64), left(64), right(64);
  for (double rate : {0.1, 1e-310, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(), 0.0, 44100.0}) {
    SCOPED_TRACE(rate);
    UnmaskEverything();
    lv2host::Instance fx(rate, false);
    ASSERT_TRUE(fx.ok());
    UnmaskEverything();
    fx.Activate();
    for (float value : hostile) {
      for (float& s : in) s = value;
      for (float& c : fx.control) c = value;
      UnmaskEverything();
      fx.Run(in.data(), left.data(), right.data(), 64);
    }
    UnmaskEverything();
    fx.Deactivate();
    UnmaskEverything();  // cleanup, as the instance goes, leaves the guard's state
  }
}
#endif
