// A host that sends one bad value and then behaves again: the sound comes
// back with the next block, whatever the bad value was.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/dsp/ChorusProbe.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::vector<float> Bass(size_t length) {
  std::vector<float> v(length);
  for (size_t n = 0; n < length; ++n) {
    v[n] = static_cast<float>(0.5 * std::sin(0.008 * static_cast<double>(n)) +
                              0.2 * std::sin(0.21 * static_cast<double>(n)));
  }
  return v;
}

double Peak(const ChorusProbe::Stereo& out) {
  double peak = 0.0;
  for (const auto* channel : {&out.left, &out.right}) {
    for (float s : *channel) peak = std::max(peak, std::isfinite(s) ? std::fabs(double(s)) : INFINITY);
  }
  return peak;
}

// One bad value in one block: an input sample, or a cutoff, a feedback or a
// sample rate set for the block and set back after it.
enum Spoilt { kSample, kCutoffValue, kFeedbackValue, kRateValue };
struct Upset {
  Spoilt what;
  float value;
  float bassMode;
};

const Upset kUpsets[] = {
    {kSample, kNaN, 0},        {kSample, kInf, 0},         {kSample, -kInf, 1},        {kSample, kNaN, 1},
    {kSample, 3.4e38f, 1},  // finite, but the band split carries it past the float range
    {kCutoffValue, kNaN, 1},   {kCutoffValue, kInf, 1},    {kCutoffValue, 1e30f, 1},   {kFeedbackValue, kNaN, 0},
    {kFeedbackValue, kInf, 1}, {kFeedbackValue, -kInf, 0}, {kFeedbackValue, 1e30f, 1}, {kFeedbackValue, -1e30f, 0},
    {kFeedbackValue, kNaN, 1}, {kRateValue, 0.0f, 1},      {kRateValue, 1e-30f, 1},
};

// The peak of a block of after frames that follows a block spoilt by upset
// and then mended, with a host's suspend and resume between them. The bad
// block's writes wrap round the end of the lines.
double PeakAfter(const Upset& upset, float mode, float rate, float delay, size_t after) {
  ChorusProbe fx;
  fx.setSampleRate(rate);
  fx.SetAll(upset.bassMode, 0.25f, delay, 0.5f, 0.5f, 0.25f, mode, 1.0f, 1.0f);
  fx.Run(Bass(1024));
  fx.WritePos = 1000;
  std::vector<float> bad = Bass(2048);
  const int32_t index = upset.what == kCutoffValue ? kCutoff : kFeedback;
  const float before = fx.getParameter(index);
  if (upset.what == kSample) bad[bad.size() / 3] = upset.value;
  if (upset.what == kCutoffValue || upset.what == kFeedbackValue) fx.setParameter(index, upset.value);
  if (upset.what == kRateValue) fx.setSampleRate(upset.value);
  fx.Run(bad);
  fx.setParameter(index, before);
  fx.setSampleRate(rate);
  fx.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
  fx.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  return Peak(fx.Run(Bass(after)));
}

}  // namespace

// Sound again, not merely finite, from the first block after; long enough
// for what the lines hold to come round three times.
TEST(Recovery, EveryUpsetIsGoneWithTheNextBlock) {
  for (const Upset& upset : kUpsets) {
    for (float mode : {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}) {
      SCOPED_TRACE(testing::Message() << "upset " << upset.what << " by " << upset.value << ", bass mode "
                                      << upset.bassMode << ", mode " << mode);
      ASSERT_LT(PeakAfter(upset, mode, 44100.0f, 0.56f, 2048), 10.0);
    }
  }
}

// At 768 kHz the lines are read 15361 frames back and more: as far as the
// first writes of the bad block, on the other side of the wrap.
TEST(Recovery, TheLinesAreClearedOnBothSidesOfTheWrap) {
  EXPECT_LT(PeakAfter({kFeedbackValue, kNaN, 0}, 0.0f, 768000.0f, 1.0f, 24576), 10.0);
}

// At rates below twice the highest split frequency the split lies at or above
// the Nyquist frequency; its design is kept below it, and it stays stable.
TEST(Recovery, SplitAboveTheNyquistFrequencyStaysStable) {
  for (float rate : {1000.0f, 1200.0f, 1600.0f}) {
    SCOPED_TRACE(rate);
    ChorusProbe fx;
    fx.setSampleRate(rate);
    fx.setParameter(kCutoff, 1.0f);
    EXPECT_LT(fx.LowPass->Frequency, rate / 2);
    EXPECT_EQ(fx.HighPass->Frequency.load(), fx.LowPass->Frequency.load());
    double peak = 0.0;
    for (int block = 0; block < 20; ++block) peak = std::max(peak, Peak(fx.Run(Bass(1000))));
    EXPECT_LT(peak, 3.0);
  }
  // Where the split is below it, nothing changes.
  ChorusProbe fx;
  fx.setSampleRate(1601.0f);
  fx.setParameter(kCutoff, 1.0f);
  EXPECT_EQ(fx.LowPass->Frequency, 800.0f);
}
