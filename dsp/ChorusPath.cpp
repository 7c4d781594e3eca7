// The sound: working values from the parameters, and the block routine that
// splits the band, runs the two swept delay lines and mixes the outputs.
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/FloatGuard.h"
#include "core/Rounding.h"
#include "dsp/FilterPair.h"
#include "dsp/Ondrel.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// The LFO period in seconds: 10 s at rate 0, 1 s at 0.5, 0.1 s at 1.
double LfoSeconds(float rate) { return std::pow(10.0, (1.0 - static_cast<double>(rate)) * 2.0 - 1.0); }

// Index arithmetic in unsigned 32 bits: defined for every working value,
// and the mask keeps it inside the line.
inline uint32_t LineIndex(int32_t base, int32_t offset) {
  return (static_cast<uint32_t>(base) + static_cast<uint32_t>(offset)) & TOndrel::kDelayLineMask;
}

// floor(m) for a finite float m of magnitude below 2^62, and whether m is
// whole. For an m that is not whole this is Round(m - 0.5), without the tie
// test. All in float: the truncation of a float is itself a float, so the
// comparisons are exact.
struct Floor {
  int64_t value;
  bool whole;
};
inline Floor FloorOf(float m) {
  const int64_t truncated = static_cast<int64_t>(m);
  const float back = static_cast<float>(truncated);
  return {back > m ? truncated - 1 : truncated, back == m};
}

// Where a tap at m is read between two samples: floor(m), and for an m that
// is whole, the even one of m - 1 and m. Both are m - 0.5 rounded to nearest,
// ties to even. m' = ModDepth - m may be whole where m is not, and it is
// still read between two samples.
inline int64_t LowerNeighbour(float m) {
#if defined(__SSE2__) && defined(__x86_64__)
  // The guard has set SSE rounding to nearest, so one conversion does it
  // (|m| < 2^31 and m - 0.5 is exact in double).
  return _mm_cvtsd_si64(_mm_set_sd(static_cast<double>(m) - 0.5));
#else
  const Floor f = FloorOf(m);
  return f.value - (static_cast<int64_t>(f.whole) & f.value & 1);
#endif
}

// A tap between two samples, linearly interpolated; i = floor(m).
inline float InterpolatedTap(const float* line, int32_t base, float m, int64_t floorM) {
  const int32_t i = static_cast<int32_t>(floorM);
  const uint32_t j = LineIndex(base, i);
  const uint32_t j1 = (j + 1) & TOndrel::kDelayLineMask;
  const double fraction = static_cast<double>(m) - i;  // exact in double
  const float tap =
      static_cast<float>(static_cast<double>(line[j]) + fraction * (static_cast<double>(line[j1]) - line[j]));
  return tap;
}

// The band split's design frequency. At or above half the sample rate there
// is no such filter (w0 past pi turns the design unstable): the whole band is
// low there, and the design moves just below the Nyquist frequency, where Q
// 0.5 still keeps both poles well inside the unit circle (at about -0.94).
float SplitDesignFrequency(float cutoffHz, int32_t rate) {
  if (cutoffHz >= 0.5 * rate) return static_cast<float>(0.49 * rate);
  return cutoffHz;
}

// Whether count samples of both lines are all finite: NaN and the
// infinities are the floats whose exponent bits are all ones.
#if defined(__SSE2__)
bool AllFinite(const float* a, const float* b, uint32_t count) {
  const __m128i exponent = _mm_set1_epi32(0x7F800000);
  __m128i bad = _mm_setzero_si128();
  uint32_t n = 0;
  for (; n + 4 <= count; n += 4) {
    const __m128i x = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + n)), exponent);
    const __m128i y = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + n)), exponent);
    bad = _mm_or_si128(bad, _mm_or_si128(_mm_cmpeq_epi32(x, exponent), _mm_cmpeq_epi32(y, exponent)));
  }
  bool finite = _mm_movemask_epi8(bad) == 0;
  for (; n < count; ++n) finite = finite && std::isfinite(a[n]) && std::isfinite(b[n]);
  return finite;
}
#else
bool AllFinite(const float* a, const float* b, uint32_t count) {
  uint32_t bad = 0;
  for (uint32_t n = 0; n < count; ++n) {
    uint32_t x, y;
    std::memcpy(&x, a + n, sizeof x);
    std::memcpy(&y, b + n, sizeof y);
    bad |= static_cast<uint32_t>((x & 0x7F800000u) == 0x7F800000u || (y & 0x7F800000u) == 0x7F800000u);
  }
  return bad == 0;
}
#endif

void SilenceNonFinite(float* a, float* b, uint32_t count) {
  if (AllFinite(a, b, count)) return;
  for (uint32_t n = 0; n < count; ++n) {
    if (!std::isfinite(a[n])) a[n] = 0.0f;
    if (!std::isfinite(b[n])) b[n] = 0.0f;
  }
}

// Silences the NaN and infinities among count samples of both lines from
// begin on, wrapping at their end: written once, such a sample would come
// back through the feedback for good.
void ScrubLines(float* a, float* b, uint32_t begin, uint32_t count) {
  const uint32_t first = std::min(count, static_cast<uint32_t>(TOndrel::kDelayLineLength) - begin);
  SilenceNonFinite(a + begin, b + begin, first);
  SilenceNonFinite(a, b, count - first);
}

// The band split: in bass mode the low band passes the chorus by; without
// it the whole input is chorused.
struct Band {
  float low;
  float high;
};
FILTER_INLINE Band SplitBand(tFilterPair& split, float x, bool bassMode) {
  Band band{0.0f, x};
  if (bassMode) split.Process(x, band.low, band.high);
  return band;
}

// The LFO's triangle, as the taps' offset from the base delay: up to
// halfPeriod - 1 and back down to 0. A period too short to sweep (or none at
// all) holds the delay at its base.
struct Sweep {
  int32_t pos;
  int32_t step;

  FILTER_INLINE float Next(int32_t halfPeriod, int32_t modDepth) {
    if (halfPeriod <= 0) {
      pos = 0;
      return 0.0f;
    }
    pos += step;
    if (pos <= 0) {
      step = -step;
      pos = 0;
    } else if (pos >= halfPeriod - 1) {
      step = -step;
      pos = halfPeriod - 1;
    }
    return static_cast<float>(static_cast<double>(pos) / halfPeriod * modDepth);
  }
};

// What the two lines give at m past base. Dual mode reads line B mirrored, at
// modDepth - m, so its delay sweeps against line A's.
struct Taps {
  float a;
  float b;
};
FILTER_INLINE Taps ReadTaps(const float* lineA, const float* lineB, int32_t base, float m, int32_t modDepth, bool dual,
                            bool antiAlias) {
  // |m| <= |modDepth| < 2^31, so the floor is defined.
  const Floor mFloor = FloorOf(m);
  if (antiAlias && !mFloor.whole) {
    const float a = InterpolatedTap(lineA, base, m, mFloor.value);
    if (dual) {
      const float mirrored = static_cast<float>(static_cast<double>(modDepth) - m);
      return {a, InterpolatedTap(lineB, base, mirrored, LowerNeighbour(mirrored))};
    }
    return {a, InterpolatedTap(lineB, base, m, mFloor.value)};
  }
  const int32_t r = Round(m);
  const uint32_t j = LineIndex(base, r);
  if (dual)
    return {lineA[j],
            lineB[LineIndex(base, static_cast<int32_t>(static_cast<uint32_t>(modDepth) - static_cast<uint32_t>(r)))]};
  return {lineA[j], lineB[j]};
}

// The mode's wet pair: what the two outputs take from the chorus.
template <uint8_t Mode>
FILTER_INLINE void WetPair(float high, double highD, Taps taps, float& wetL, float& wetR) {
  if constexpr (Mode == cmHaas) {
    wetL = high;
    wetR = taps.a;
  } else {
    wetL = static_cast<float>(highD + taps.a);
    if constexpr (Mode == cmMono)
      wetR = wetL;
    else if constexpr (Mode == cmStereo)
      wetR = static_cast<float>(highD - taps.b);
    else
      wetR = static_cast<float>(highD + taps.b);
  }
}

// The line writes: the high band's share past the feedback, and the wet pair
// fed back. Mono writes line B from line A's sample, one offset lower.
template <uint8_t Mode>
FILTER_INLINE void WriteLines(float* lineA, float* lineB, int32_t writePos, double throughHigh, double feedback,
                              float wetL, float wetR) {
  const float a = static_cast<float>(throughHigh + feedback * wetL - DenormalOffset);
  lineA[writePos] = a;
  if constexpr (Mode == cmMono)
    lineB[writePos] = static_cast<float>(static_cast<double>(a) - DenormalOffset);
  else
    lineB[writePos] = static_cast<float>(throughHigh + feedback * wetR - DenormalOffset);
}

// One frame of the mode: its wet pair, then the lines written from it. One
// switch per frame chooses the mode; each case is its own straight line.
template <uint8_t Mode>
FILTER_INLINE void ChorusFrame(float* lineA, float* lineB, int32_t writePos, float high, double highD, Taps taps,
                               double throughHigh, double feedback, float& wetL, float& wetR) {
  WetPair<Mode>(high, highD, taps, wetL, wetR);
  WriteLines<Mode>(lineA, lineB, writePos, throughHigh, feedback, wetL, wetR);
}

}  // namespace

void TOndrel::UpdateCoefficients() {
  FloatGuard::Apply();
  // A few rounds at most: under a storm of changes from two threads the
  // next change's own update settles it.
  constexpr int kMaxRounds = 4;
  for (int round = 0; round < kMaxRounds; ++round) {
    const uint32_t version = InputsVersion.load(std::memory_order_seq_cst);
    ComputeWorkingValues();
    // The check must not move before the stores it vouches for: a
    // read-modify-write, which releases them and reads the latest count
    // (a fence would do the same, but ThreadSanitizer cannot follow one).
    if (InputsVersion.fetch_add(0, std::memory_order_acq_rel) == version) return;
  }
}

void TOndrel::ComputeWorkingValues() {
  const double fs = getSampleRate();
  const float bassMode = Params[kBassMode].load(relaxed);
  const float delay = Params[kDelay].load(relaxed);
  const float width = Params[kWidth].load(relaxed);
  const float rate = Params[kRate].load(relaxed);
  const float stereoMode = Params[kStereoMode].load(relaxed);
  const float antiAlias = Params[kAntiAlias].load(relaxed);

  BassMode.store(IsSwitchOn(bassMode), relaxed);
  AntiAlias.store(IsSwitchOn(antiAlias), relaxed);
  ChannelMode.store(ChannelModeOf(stereoMode), relaxed);

  // Named doubles: on the x87 builds each is rounded to double where it is
  // stored, so every build rounds the same products at the same points.
  const double delaySamples = 2.0 * fs / 100.0 * static_cast<double>(delay) + 1.0;
  BaseDelay.store(Round(delaySamples), relaxed);

  const double periodSeconds = LfoSeconds(rate);
  const double periodSamples = periodSeconds * fs;
  const int32_t period = Round(periodSamples);
  LfoHalfPeriod.store(period / 2, relaxed);

  // The sweep span grows with the period, so the pitch bend per sample
  // depends on the width alone.
  const double sweepPerSecond = 0.0075 * static_cast<double>(width) * fs;
  const double sweepSamples = LfoSeconds(rate) * sweepPerSecond;
  ModDepth.store(Round(sweepSamples), relaxed);

  UpdateBandSplit();
}

// Designs never wait for one another. One that found every slot of a filter
// taken by designers stopped in the middle of theirs leaves the flag up, and
// whoever finishes a design next designs again from the values as they are
// then. The flag is raised before a last look at the slots, and looked at
// only after a design has let go of its slot (both in one order, seq_cst),
// so between them no design is ever lost.
void TOndrel::UpdateBandSplit() {
  bool settled = DesignBandSplit();
  for (;;) {
    if (!settled) {
      BandSplitPending.store(true);
      if (!DesignBandSplit()) return;
    }
    if (!BandSplitPending.load() || !BandSplitPending.exchange(false)) return;
    settled = DesignBandSplit();
  }
}

bool TOndrel::DesignBandSplit() {
  // Tickets before the values they are designed from: of two designers, the
  // one that read later always wins.
  const uint32_t lowTicket = LowPass->NextTicket();
  const uint32_t highTicket = HighPass->NextTicket();
  const int32_t rate = Round(getSampleRate());
  const float hz = SplitDesignFrequency(CutoffFrequency(Params[kCutoff].load(relaxed)), rate);
  const bool low = LowPass->Design(lowTicket, rate, ftLowPass, hz, 0.5f, 0.5f);
  const bool high = HighPass->Design(highTicket, rate, ftHighPass, hz, 0.5f, 0.5f);
  return low && high;
}

void TOndrel::ProcessBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replace) {
  FloatGuard::Apply();
  if (Busy.exchange(true, std::memory_order_acquire)) return;
  if (!inputs || !inputs[0] || !outputs || !outputs[0] || !outputs[1]) {
    Busy.store(false, std::memory_order_release);
    return;
  }

  const float* in = inputs[0];
  float* outL = outputs[0];
  float* outR = outputs[1];
  float* lineA = DelayLineA.get();
  float* lineB = DelayLineB.get();

  const float wet = ChannelMode.load(relaxed) == cmHaas ? 1.0f : Params[kMix].load(relaxed);
  const float dry = static_cast<float>(1.0 - static_cast<double>(wet));
  const float through = static_cast<float>(1.0 - static_cast<double>(Params[kFeedback].load(relaxed)));
  const double wetD = wet;
  const double dryD = dry;
  const double throughD = through;
  float wetL = 0.0f;
  float wetR = 0.0f;

  // The audio thread's own state lives in locals for the block: the output
  // and line stores could alias members, and would force a reload per frame.
  int32_t writePos = WritePos;
  Sweep sweep{LfoPos, LfoStep};
  tFilterPair bandSplit(*LowPass, *HighPass);

  // Each working value is read once a frame, where it is used: read ahead
  // together they stay live across the band split, which costs 4 to 10
  // instructions a frame.
  for (int32_t n = 0; n < sampleFrames; ++n) {
    const float x = static_cast<float>(static_cast<double>(in[n]) + DenormalOffset);
    const Band band = SplitBand(bandSplit, x, BassMode.load(relaxed));
    const double highD = band.high;
    const double lowD = band.low;

    writePos = static_cast<int32_t>(static_cast<uint32_t>(writePos - 1) & kDelayLineMask);
    const int32_t modDepth = ModDepth.load(relaxed);
    const float m = sweep.Next(LfoHalfPeriod.load(relaxed), modDepth);
    const uint8_t mode = ChannelMode.load(relaxed);
    const int32_t base =
        static_cast<int32_t>(static_cast<uint32_t>(writePos) + static_cast<uint32_t>(BaseDelay.load(relaxed)));
    const Taps taps = ReadTaps(lineA, lineB, base, m, modDepth, mode == cmDual, AntiAlias.load(relaxed));

    const double throughHigh = throughD * highD;
    const double feedback = Params[kFeedback].load(relaxed);
    switch (mode) {
      case cmMono:
        ChorusFrame<cmMono>(lineA, lineB, writePos, band.high, highD, taps, throughHigh, feedback, wetL, wetR);
        break;
      case cmStereo:
        ChorusFrame<cmStereo>(lineA, lineB, writePos, band.high, highD, taps, throughHigh, feedback, wetL, wetR);
        break;
      case cmDual:
        ChorusFrame<cmDual>(lineA, lineB, writePos, band.high, highD, taps, throughHigh, feedback, wetL, wetR);
        break;
      case cmHaas:
        ChorusFrame<cmHaas>(lineA, lineB, writePos, band.high, highD, taps, throughHigh, feedback, wetL, wetR);
        break;
      default:  // no such mode: the lines rest and the wet signals hold
        break;
    }

    const double dryHigh = dryD * highD;
    if (replace) {
      outL[n] = static_cast<float>(wetD * wetL + lowD + dryHigh);
      outR[n] = static_cast<float>(wetD * wetR + lowD + dryHigh);
    } else {
      outL[n] = static_cast<float>(static_cast<double>(outL[n]) + lowD + wetD * wetL + dryHigh);
      outR[n] = static_cast<float>(static_cast<double>(outR[n]) + lowD + wetD * wetR + dryHigh);
    }
  }

  WritePos = writePos;
  LfoPos = sweep.pos;
  LfoStep = sweep.step;
  bandSplit.Finish();

  // One NaN, infinity or huge value from the host, or made of its values,
  // would stay in the filter histories and the lines for good. Cleared here
  // once a block rather than per sample: the next block starts sound. The
  // lines keep finite values, however huge: with the settings in range they
  // decay, and what they add to an ordinary signal stays finite.
  if (sampleFrames > 0) {
    LowPass->HealHistory();
    HighPass->HealHistory();
    const uint32_t written = static_cast<uint32_t>(std::min(sampleFrames, kDelayLineLength));
    ScrubLines(lineA, lineB, static_cast<uint32_t>(writePos), written);
  }
  Busy.store(false, std::memory_order_release);
}
