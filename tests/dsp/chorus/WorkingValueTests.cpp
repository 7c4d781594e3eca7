// Parameters and sample rate turned into working values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/dsp/ChorusProbe.h"

TEST(WorkingValues, DefaultsAtCommonSampleRates) {
  ChorusProbe fx;
  EXPECT_TRUE(fx.BassMode);
  EXPECT_EQ(fx.LowPass->Frequency, 100.0f);
  EXPECT_EQ(fx.ChannelMode, cmDual);
  EXPECT_TRUE(fx.AntiAlias);
  EXPECT_EQ(fx.BaseDelay, 495);
  EXPECT_EQ(fx.LfoHalfPeriod, 22050);
  EXPECT_EQ(fx.ModDepth, 165);

  struct Rate {
    float fs;
    int32_t base, period, depth;
  };
  for (Rate r : {Rate{48000.0f, 539, 48000, 180}, Rate{96000.0f, 1076, 96000, 360}, Rate{44100.0f, 495, 44100, 165}}) {
    SCOPED_TRACE(r.fs);
    // The rate alone recomputes everything: no parameter is touched.
    fx.setSampleRate(r.fs);
    EXPECT_EQ(fx.BaseDelay, r.base);
    EXPECT_EQ(fx.LfoHalfPeriod, r.period / 2);
    EXPECT_EQ(fx.ModDepth, r.depth);
    EXPECT_EQ(fx.LowPass->SampleRate, static_cast<int32_t>(r.fs));
    EXPECT_EQ(fx.HighPass->SampleRate, static_cast<int32_t>(r.fs));
  }
}

TEST(WorkingValues, RateAndWidthExtremes) {
  ChorusProbe fx;
  fx.setParameter(kWidth, 1.0f);
  fx.setParameter(kRate, 0.0f);
  EXPECT_EQ(fx.LfoHalfPeriod, 220500);  // a 10 s triangle
  EXPECT_EQ(fx.ModDepth, 3308);         // 3307.5, tie to even
  fx.setParameter(kRate, 1.0f);
  EXPECT_EQ(fx.LfoHalfPeriod, 2205);
  EXPECT_EQ(fx.ModDepth, 33);
  fx.setParameter(kWidth, 0.0f);
  EXPECT_EQ(fx.ModDepth, 0);
}

TEST(WorkingValues, AnIndexOutsideTheTableStillRecomputes) {
  ChorusProbe fx;
  fx.TAudioEffect::setSampleRate(48000.0f);  // stored only
  EXPECT_EQ(fx.BaseDelay, 495);
  fx.setParameter(9, 0.0f);
  EXPECT_EQ(fx.BaseDelay, 539);
}

TEST(WorkingValues, NonFiniteAndHugeValuesAreDefined) {
  const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(), 1e30f, -1e30f};
  for (float v : hostile) {
    ChorusProbe fx;
    for (int i = 0; i < 9; ++i) fx.setParameter(i, v);
    fx.setSampleRate(v);
    std::vector<float> noise(512);
    for (size_t n = 0; n < noise.size(); ++n) noise[n] = std::sin(0.1f * static_cast<float>(n));
    fx.Run(noise);
    fx.setSampleRate(44100.0f);
    fx.Run(noise);
    EXPECT_GE(fx.WritePos, 0);
    EXPECT_LT(fx.WritePos, 65536);
  }
}
