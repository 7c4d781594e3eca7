// The block routine: echo patterns, modes, reads, the LFO and the guards.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/dsp/ChorusProbe.h"

namespace {

constexpr int32_t kBase = 495;  // the default delay at 44100 Hz

// Bass mode off, no sweep, a plain echo line.
void PlainEcho(ChorusProbe& fx, float stereoMode, float feedback, float mix = 1.0f) {
  fx.SetAll(0.0f, 0.25f, 0.56f, 0.0f, 0.5f, feedback, stereoMode, 1.0f, mix);
}

std::vector<float> Sine(double hz, size_t length, double fs = 44100.0) {
  std::vector<float> v(length);
  for (size_t n = 0; n < length; ++n)
    v[n] = static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * hz * static_cast<double>(n) / fs));
  return v;
}

std::vector<float> Noise(size_t length, uint32_t seed = 1) {
  std::vector<float> v(length);
  for (auto& s : v) {
    seed = seed * 1664525u + 1013904223u;
    s = static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
  }
  return v;
}

double PeakFrom(const std::vector<float>& v, size_t from) {
  double peak = 0.0;
  for (size_t n = from; n < v.size(); ++n) peak = std::max(peak, std::fabs(static_cast<double>(v[n])));
  return peak;
}

}  // namespace

TEST(EchoPattern, MonoRepeatsWithFeedbackPowers) {
  for (float feedback : {0.0f, 0.5f}) {
    SCOPED_TRACE(feedback);
    ChorusProbe fx;
    PlainEcho(fx, 0.0f, feedback);
    const auto out = fx.Run(Impulse(4 * kBase + 10));
    // The dry impulse, then echoes of 1, F, F^2, ...
    double expected = 1.0;
    for (size_t n = 0; n < out.left.size(); ++n) {
      if (n % kBase == 0) {
        EXPECT_NEAR(out.left[n], expected, 1e-6) << n;
        if (n > 0) expected *= feedback;
      } else {
        EXPECT_NEAR(out.left[n], 0.0f, 1e-19) << n;
      }
      EXPECT_EQ(out.left[n], out.right[n]) << n;
    }
  }
}

TEST(EchoPattern, StereoRightLineFeedsBackNegatively) {
  const float f = 0.5f;
  ChorusProbe fx;
  PlainEcho(fx, 1.0f / 3.0f, f);
  const auto out = fx.Run(Impulse(4 * kBase + 10));
  const double left[] = {1.0, 1.0, f, f * f};
  const double right[] = {1.0, -1.0, f, -f * f};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_NEAR(out.left[k * kBase], left[k], 1e-6) << k;
    EXPECT_NEAR(out.right[k * kBase], right[k], 1e-6) << k;
  }
  EXPECT_NEAR(out.right[kBase + 1], 0.0f, 1e-19);
}

TEST(Mix, ZeroWithBassModeNotchesTheCutoff) {
  ChorusProbe fx;
  fx.SetAll(1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, 0.6f, 1.0f, 0.0f);
  // Low band plus high band: a zero at the split, 0.5 dB above and below.
  EXPECT_LT(PeakFrom(fx.Run(Sine(100.0, 44100)).left, 22050), 0.01);
  ChorusProbe high;
  high.SetAll(1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, 0.6f, 1.0f, 0.0f);
  EXPECT_NEAR(PeakFrom(high.Run(Sine(5000.0, 8820)).left, 4410), 1.0593, 0.003);
}

TEST(Lfo, NoHalfPeriodHoldsTheDelayAtItsBase) {
  for (int32_t half : {0, -5, INT32_MIN / 2}) {
    SCOPED_TRACE(half);
    ChorusProbe fx;
    PlainEcho(fx, 0.0f, 0.0f);
    fx.LfoHalfPeriod = half;
    fx.ModDepth = 100;
    const auto out = fx.Run(Impulse(kBase + 5));
    EXPECT_NEAR(out.left[kBase], 1.0f, 1e-6);
    EXPECT_EQ(fx.LfoPos, 0);
  }
  ChorusProbe fx;
  fx.setParameter(kRate, 1e30f);  // a period of no samples at all
  EXPECT_LE(fx.LfoHalfPeriod, 0);
  fx.Run(Noise(100));
}

TEST(Entries, NoFramesOrABusyBlockChangeNothing) {
  ChorusProbe fx;
  fx.Run(Noise(100));
  const int32_t writePos = fx.WritePos, lfoPos = fx.LfoPos;
  std::vector<float> in(4, 1.0f), left(4, 9.0f), right(4, 9.0f);
  float* inputs[1] = {in.data()};
  float* outputs[2] = {left.data(), right.data()};
  for (int32_t frames : {0, -1, INT32_MIN}) {
    fx.processReplacing(inputs, outputs, frames);
    fx.process(inputs, outputs, frames);
  }
  fx.Busy = true;  // as if another block were running
  fx.processReplacing(inputs, outputs, 4);
  fx.process(inputs, outputs, 4);
  EXPECT_TRUE(fx.Busy);
  fx.Busy = false;
  EXPECT_EQ(fx.WritePos, writePos);
  EXPECT_EQ(fx.LfoPos, lfoPos);
  EXPECT_EQ(left, std::vector<float>(4, 9.0f));
  EXPECT_EQ(right, std::vector<float>(4, 9.0f));
  // Missing channel pointers are a host error: nothing is processed.
  float* noOutputs[2] = {left.data(), nullptr};
  fx.processReplacing(inputs, noOutputs, 4);
  fx.processReplacing(nullptr, outputs, 4);
  EXPECT_EQ(fx.WritePos, writePos);
}

TEST(Denormals, SilenceAfterSoundNeverDecaysIntoTheDenormalRange) {
  ChorusProbe fx;
  fx.Run(Noise(20000));
  const auto out = fx.Run(std::vector<float>(200000, 0.0f));
  for (size_t n = 0; n < out.left.size(); ++n) {
    ASSERT_NE(std::fpclassify(out.left[n]), FP_SUBNORMAL) << n;
    ASSERT_NE(std::fpclassify(out.right[n]), FP_SUBNORMAL) << n;
  }
  for (size_t k = 0; k < 65536; ++k) {
    ASSERT_NE(std::fpclassify(fx.DelayLineA[k]), FP_SUBNORMAL);
    ASSERT_NE(std::fpclassify(fx.DelayLineB[k]), FP_SUBNORMAL);
  }
}
