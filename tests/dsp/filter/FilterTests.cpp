// The biquad: coefficients to the last bit, responses measured by running the
// filter, and the behaviour around redesigns, silence and unknown types.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "dsp/Filter.h"

#if defined(__GLIBC__)
#include <fenv.h>
#elif defined(_WIN32)
#include <float.h>
#endif

namespace {

constexpr int kRate = 44100;
const float kOffset = static_cast<float>(-DenormalOffset);
const double kGain05 = std::pow(10.0, 0.5 / 20.0);
const double kGain6 = std::pow(10.0, 6.0 / 20.0);

float Load(const std::atomic<float>& field) { return field.load(); }

// Within one float step of the expected decimal, on either side.
bool WithinUlp(float actual, double expected) {
  const float e = static_cast<float>(expected);
  return actual >= std::nextafter(e, -INFINITY) && actual <= std::nextafter(e, INFINITY);
}

// A fixed, loud, broadband input.
float Noise(int n) {
  uint32_t state = 0x9E3779B9u * static_cast<uint32_t>(n + 1);
  state ^= state >> 15;
  state *= 0x85EBCA6Bu;
  state ^= state >> 13;
  return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

// Amplitude of the response to a unit cosine (a constant at 0 Hz, an
// alternating sequence at the Nyquist frequency) after a second of settling,
// measured over one second: a whole number of periods for whole-Hz inputs.
double MeasureGain(uint8_t type, float hz, float q, float gainDB, double atHz) {
  tFilterSV filter;
  filter.Design(kRate, type, hz, q, gainDB);
  const double w = 2.0 * 3.14159265358979323846 * atHz / kRate;
  double in = 0.0, quad = 0.0;
  for (int n = 0; n < 2 * kRate; ++n) {
    const double y = filter.Process(static_cast<float>(std::cos(w * n)));
    if (n < kRate) continue;
    in += y * std::cos(w * n);
    quad += y * std::sin(w * n);
  }
  const bool edge = atHz == 0.0 || 2.0 * atHz == kRate;
  return std::hypot(in, quad) * (edge ? 1.0 : 2.0) / kRate;
}

void ExpectSameCoefficients(const tFilterSV& a, const tFilterSV& b) {
  EXPECT_EQ(Load(a.InvA0), Load(b.InvA0));
  EXPECT_EQ(Load(a.A1), Load(b.A1));
  EXPECT_EQ(Load(a.A2), Load(b.A2));
  EXPECT_EQ(Load(a.B0), Load(b.B0));
  EXPECT_EQ(Load(a.B1), Load(b.B1));
  EXPECT_EQ(Load(a.B2), Load(b.B2));
}

// ---------------------------------------------------------------------------
// Coefficients. NaN marks one a response does not set.

struct Example {
  uint8_t type;
  float hz, q, gainDB;
  double invA0, a1, a2, b0, b1, b2;
};

const Example kExamples[] = {
    {ftLowPass, 100, 0.5f, 0.5f,  //
     0.98595303, -1.9717059, 0.97190607, 5.3005504e-5, 1.0601101e-4, NAN},
    {ftHighPass, 100, 0.5f, 0.5f,  //
     0.98595303, -1.9717059, 0.97190607, 1.0443214, -2.0886428, NAN},
    {ftLowShelf, 1000, 0.7071f, 6,  //
     0.32684454, -1.8307413, 0.8439883, 1.0354764, -1.8241493, 0.81510407},
    {ftPeaking, 1000, 0.7071f, 6,  //
     0.93363529, -1.8483504, 0.86727053, 1.0660504, NAN, 0.80122024},
    {ftNotch, 1000, 0.7071f, 6,  //
     NAN, NAN, NAN, 1.8132054, -3.5896659, NAN},
};

TEST(FilterCoefficients, ExamplesToTheLastBit) {
  for (const Example& e : kExamples) {
    SCOPED_TRACE(testing::Message() << "type " << int(e.type));
    tFilterSV f;
    f.Design(kRate, e.type, e.hz, e.q, e.gainDB);
    const std::pair<float, double> pairs[] = {{Load(f.InvA0), e.invA0}, {Load(f.A1), e.a1}, {Load(f.A2), e.a2},
                                              {Load(f.B0), e.b0},       {Load(f.B1), e.b1}, {Load(f.B2), e.b2}};
    for (const auto& [actual, expected] : pairs) {
      if (!std::isnan(expected)) {
        EXPECT_TRUE(WithinUlp(actual, expected)) << actual << " vs " << expected;
      }
    }
  }
}

TEST(FilterCoefficients, PeakingAtZeroDecibelsHasEqualNumeratorAndDenominator) {
  tFilterSV f;
  f.Design(kRate, ftPeaking, 1000.0f, 0.7071f, 0.0f);
  EXPECT_TRUE(WithinUlp(Load(f.B0), 1.0));
  EXPECT_EQ(Load(f.B2), Load(f.A2));
  for (int n = 0; n < 10000; ++n) ASSERT_NEAR(f.Process(Noise(n)), Noise(n), 1e-5) << n;
}

// ---------------------------------------------------------------------------
// Responses, measured by running the filter.

struct Response {
  uint8_t type;
  float hz, q, gainDB;
  double atHz, gain, tolerance;
};

const Response kResponses[] = {
    // The band split: g at the passed end, half of it at the split frequency.
    {ftLowPass, 100, 0.5f, 0.5f, 0, kGain05, 1e-3},
    {ftLowPass, 100, 0.5f, 0.5f, 100, kGain05 / 2, 1e-4},
    {ftLowPass, 100, 0.5f, 0.5f, kRate / 2.0, 0, 1e-6},
    {ftHighPass, 100, 0.5f, 0.5f, 0, 0, 1e-6},
    {ftHighPass, 100, 0.5f, 0.5f, 100, kGain05 / 2, 1e-4},
    {ftHighPass, 100, 0.5f, 0.5f, kRate / 2.0, kGain05, 1e-4},
    // The gain multiplies the numerator of band-pass and notch as well.
    {ftBandPass, 1000, 0.7071f, 6, 1000, kGain6, 1e-3},
    {ftBandPass, 1000, 0.7071f, 6, 0, 0, 1e-6},
    {ftBandPass, 1000, 0.7071f, 6, kRate / 2.0, 0, 1e-6},
    {ftNotch, 1000, 0.7071f, 6, 1000, 0, 1e-3},
    {ftNotch, 1000, 0.7071f, 6, 0, kGain6, 1e-3},
    {ftLowShelf, 1000, 0.7071f, 6, 0, kGain6, 1e-3},
    {ftLowShelf, 1000, 0.7071f, 6, kRate / 2.0, 1, 1e-4},
    {ftHighShelf, 1000, 0.7071f, 6, 0, 1, 1e-3},
    {ftHighShelf, 1000, 0.7071f, 6, kRate / 2.0, kGain6, 1e-4},
    {ftPeaking, 1000, 0.7071f, 6, 1000, kGain6, 1e-3},
    {ftPeaking, 1000, 0.7071f, 6, 0, 1, 1e-3},
    {ftPeaking, 1000, 0.7071f, 6, kRate / 2.0, 1, 1e-3},
};

TEST(FilterResponse, GainsAtTheEdgesAndTheDesignFrequency) {
  for (const Response& r : kResponses) {
    EXPECT_NEAR(MeasureGain(r.type, r.hz, r.q, r.gainDB, r.atHz), r.gain, r.tolerance)
        << "type " << int(r.type) << " at " << r.atHz << " Hz";
  }
}

TEST(FilterResponse, GainScalesAndIgnoresFrequencyAndQ) {
  tFilterSV a, b;
  a.Design(44100, ftGain, 100.0f, 0.5f, 6.0f);
  b.Design(48000, ftGain, 5000.0f, 3.0f, 6.0f);
  EXPECT_EQ(a.Process(0.0f), kOffset);
  EXPECT_TRUE(WithinUlp(a.Process(1.0f), kGain6));
  EXPECT_TRUE(WithinUlp(a.Process(-0.25f), -0.25 * kGain6));
  for (int n = 0; n < 100; ++n) ASSERT_EQ(a.Process(Noise(n)), b.Process(Noise(n)));
}

// ---------------------------------------------------------------------------
// Construction, redesign, reset, silence and unknown types.

TEST(FilterState, NewFilterOutputsOnlyTheOffset) {
  tFilterSV f;
  for (float x : {0.0f, 1.0f, -3.5f, 1e6f}) EXPECT_EQ(f.Process(x), kOffset);
}

// The construction state is itself a 0 dB ftGain design at 44100 Hz; a first
// Design asking for exactly that must still compute it, or the filter mutes.
TEST(FilterState, FirstDesignIsNeverSkipped) {
  tFilterSV f;
  f.Design(44100, ftGain, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(Load(f.B0), 1.0f);
  EXPECT_EQ(f.Process(0.5f), 0.5f);
}

TEST(FilterState, ResetStartsOverAsIfNew) {
  tFilterSV used, fresh;
  used.Design(kRate, ftPeaking, 1000.0f, 0.7071f, 6.0f);
  fresh.Design(kRate, ftPeaking, 1000.0f, 0.7071f, 6.0f);
  for (int n = 0; n < 500; ++n) used.Process(Noise(n));
  used.Reset();
  EXPECT_EQ(used.X1, 0.0f);
  EXPECT_EQ(used.X2, 0.0f);
  EXPECT_EQ(used.Y1, 0.0f);
  EXPECT_EQ(used.Y2, 0.0f);
  ExpectSameCoefficients(used, fresh);
  for (int n = 0; n < 500; ++n) ASSERT_EQ(used.Process(Noise(n)), fresh.Process(Noise(n)));
}

TEST(FilterState, SilenceSettlesAtTheOffsetWithoutDenormals) {
  tFilterSV f;
  f.Design(kRate, ftLowPass, 100.0f, 0.5f, 0.5f);
  const double settled = -DenormalOffset / (1.0 + Load(f.A1) + Load(f.A2));
  f.Process(1.0f);
  float y = 0.0f;
  for (int n = 0; n < 200000; ++n) {
    y = f.Process(0.0f);
    ASSERT_TRUE(std::isnormal(y)) << "sample " << n << ": " << y;
  }
  EXPECT_NEAR(y / settled, 1.0, 1e-3);
}

#if defined(__GLIBC__) || defined(_WIN32)
// A host may call in with exceptions unmasked; a Q of 0 must still give its
// non-finite coefficients quietly instead of a trap.
TEST(FilterState, DesignMasksFloatingPointTraps) {
#if defined(__GLIBC__)
  feclearexcept(FE_ALL_EXCEPT);
  feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
#else
  _clearfp();
  _controlfp(_EM_INEXACT | _EM_UNDERFLOW | _EM_DENORMAL, _MCW_EM);
#endif
  tFilterSV f;
  f.Design(kRate, ftLowPass, 100.0f, 0.0f, 0.5f);
#if defined(__GLIBC__)
  EXPECT_EQ(fegetexcept(), 0);
#else
  EXPECT_EQ(_controlfp(0, 0) & _MCW_EM, unsigned(_MCW_EM));
#endif
  EXPECT_TRUE(std::isnan(Load(f.A2)));
}
#endif

// A design that cannot run, for non-finite coefficients (a Q of 0, a rate of
// 0, a NaN frequency) or a pole outside the unit circle (a frequency above
// the Nyquist frequency, a negative Q), is recorded but not run: the filter
// goes on with the last good design.
TEST(FilterState, DesignsThatCannotRunAreNotHandedOver) {
  const struct {
    int32_t rate;
    float hz, q;
  } cases[] = {
      {kRate, 100.0f, 0.0f}, {0, 100.0f, 0.5f}, {kRate, NAN, 0.5f}, {1000, 800.0f, 0.5f}, {kRate, 100.0f, -0.5f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.hz << ", Q " << c.q);
    tFilterSV f, good;
    f.Design(kRate, ftLowPass, 100.0f, 0.5f, 0.5f);
    good.Design(kRate, ftLowPass, 100.0f, 0.5f, 0.5f);
    for (int n = 0; n < 100; ++n) ASSERT_EQ(f.Process(Noise(n)), good.Process(Noise(n)));
    f.Design(c.rate, ftLowPass, c.hz, c.q, 0.5f);
    EXPECT_EQ(f.SampleRate.load(), c.rate);
    for (int n = 100; n < 5000; ++n) ASSERT_EQ(f.Process(Noise(n)), good.Process(Noise(n))) << n;
  }
}

TEST(FilterState, HealHistoryClearsOnlyAPoisonedHistory) {
  for (float poison : {NAN, INFINITY, 2 * tFilterSV::kHistoryLimit}) {
    for (int field = 0; field < 4; ++field) {
      tFilterSV f;
      f.X1 = f.X2 = f.Y1 = f.Y2 = -tFilterSV::kHistoryLimit;  // as loud as a history may be
      float* history[] = {&f.X1, &f.X2, &f.Y1, &f.Y2};
      *history[field] = poison;
      f.HealHistory();
      EXPECT_TRUE(f.X1 == 0.0f && f.X2 == 0.0f && f.Y1 == 0.0f && f.Y2 == 0.0f) << field << ": " << poison;
    }
  }
  tFilterSV loud;
  loud.X1 = loud.Y2 = -tFilterSV::kHistoryLimit;
  loud.HealHistory();
  EXPECT_EQ(loud.Y2, -tFilterSV::kHistoryLimit);
}

// ---------------------------------------------------------------------------
// Redesign from another thread while the audio thread runs.

// The designer flips between designs whose mixtures are unstable (A1 of
// 50 Hz with A2 of 800 Hz has a pole near 1.44), so any stretch of samples
// that ran a half-stored design would send the output off to infinity and
// leave NaN in the history.
TEST(FilterThreads, RedesignWhileProcessingStaysFinite) {
  tFilterSV f;
  f.Design(kRate, ftLowPass, 50.0f, 0.5f, 0.5f);
  std::atomic<bool> stop{false};
  std::thread designer([&] {
    for (int i = 0; !stop.load(); ++i) {
      const float hz = (i & 2) != 0 ? 800.0f : 50.0f;
      f.Design(kRate, (i & 1) != 0 ? ftHighPass : ftLowPass, hz, 0.5f, 0.5f);
    }
  });
  bool finite = true;
  for (int n = 0; n < 400000; ++n) finite = finite && std::isfinite(f.Process(Noise(n)));
  stop.store(true);
  designer.join();
  EXPECT_TRUE(finite);
}

}  // namespace
