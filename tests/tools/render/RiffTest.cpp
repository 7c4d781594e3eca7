#include "tools/render/Riff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/tools/render/SignalMeasure.h"

namespace render {
namespace {

using render_test::Filter;
using render_test::Rms;

TEST(RenderRiff, TenSecondsAtHalfScaleStartingAndEndingInSilence) {
  const std::vector<float> riff = SynthesizeRiff();
  ASSERT_EQ(riff.size(), 441000u);
  float peak = 0.0f;
  for (float v : riff) {
    ASSERT_TRUE(std::isfinite(v));
    peak = std::max(peak, std::fabs(v));
  }
  EXPECT_NEAR(peak, 0.5f, 1e-6f);
  // No click at either end: the first and last samples are near zero.
  EXPECT_LT(std::fabs(riff.front()), 1e-3f);
  EXPECT_LT(std::fabs(riff.back()), 1e-3f);
  EXPECT_EQ(SynthesizeRiff(), riff);  // the same every time
}

TEST(RenderRiff, BassLineWithAudibleHighHarmonics) {
  const std::vector<float> riff = SynthesizeRiff();
  const double fs = kRiffSampleRate;
  const double total = Rms(std::vector<double>(riff.begin(), riff.end()));
  const double bass = Rms(Filter(riff, fs, 120.0, false));
  const double high = Rms(Filter(riff, fs, 400.0, true));
  const double veryHigh = Rms(Filter(riff, fs, 2000.0, true));
  // A bass line: most of the energy lies below 120 Hz ...
  EXPECT_GT(bass, 0.5 * total);
  // ... bright enough that the chorused band above the split is clearly heard
  // (about -12 dB or more), with a little sparkle in the kilohertz range.
  EXPECT_GT(high, 0.25 * total);
  EXPECT_GT(veryHigh, 0.01 * total);
  EXPECT_LT(veryHigh, high);
  // Nothing below the lowest note (E1, 41 Hz) worth mentioning.
  EXPECT_LT(Rms(Filter(riff, fs, 25.0, false)), 0.25 * total);
}

TEST(RenderRiff, FollowsTheSampleRate) {
  EXPECT_EQ(SynthesizeRiff(48000).size(), 480000u);
  EXPECT_EQ(SynthesizeRiff(8000, 0.5).size(), 4000u);
  EXPECT_TRUE(SynthesizeRiff(0).empty());
  EXPECT_TRUE(SynthesizeRiff(44100, std::nan("")).empty());
}

}  // namespace
}  // namespace render
