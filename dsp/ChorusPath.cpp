// The sound: working values from the parameters, and the block routine that
// splits the band, runs the two swept delay lines and mixes the outputs.
#include <cmath>

#include "FloatGuard.h"
#include "Ondrel.h"
#include "Round.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// The LFO period in seconds: 10 s at rate 0, 1 s at 0.5, 0.1 s at 1.
double LfoSeconds(float rate) { return std::pow(10.0, (1.0 - static_cast<double>(rate)) * 2.0 - 1.0); }

// Index arithmetic in unsigned 32 bits: defined for every working value,
// and the mask keeps it inside the line.
inline uint32_t LineIndex(int32_t base, int32_t offset) {
  return (static_cast<uint32_t>(base) + static_cast<uint32_t>(offset)) & TOndrel::kDelayLineMask;
}

// A tap between two samples, linearly interpolated.
inline float InterpolatedTap(const float* line, int32_t base, float m) {
  const int32_t i = Round(static_cast<double>(m) - 0.5);  // floor(m), as m is not whole
  const uint32_t j = LineIndex(base, i);
  const uint32_t j1 = (j + 1) & TOndrel::kDelayLineMask;
  const float tap = static_cast<float>(static_cast<double>(line[j]) +
                                       (static_cast<double>(m) - i) * (static_cast<double>(line[j1]) - line[j]));
  return tap;
}

}  // namespace

void TOndrel::UpdateCoefficients() {
  FloatGuard::Apply();
  const double fs = getSampleRate();
  const float bassMode = Params[kBassMode].load(relaxed);
  const float cutoff = Params[kCutoff].load(relaxed);
  const float delay = Params[kDelay].load(relaxed);
  const float width = Params[kWidth].load(relaxed);
  const float rate = Params[kRate].load(relaxed);
  const float stereoMode = Params[kStereoMode].load(relaxed);
  const float antiAlias = Params[kAntiAlias].load(relaxed);

  BassMode.store(IsSwitchOn(bassMode), relaxed);
  const float cutoffHz = CutoffFrequency(cutoff);
  CutoffHz.store(cutoffHz, relaxed);
  AntiAlias.store(IsSwitchOn(antiAlias), relaxed);
  ChannelMode.store(ChannelModeOf(stereoMode), relaxed);

  // Named doubles: on the x87 builds each is rounded to double where it is
  // stored, so every build rounds the same products at the same points.
  const double delaySamples = 2.0 * fs / 100.0 * static_cast<double>(delay) + 1.0;
  BaseDelay.store(Round(delaySamples), relaxed);

  LfoRate.store(rate, relaxed);
  const double periodSeconds = LfoSeconds(rate);
  const double periodSamples = periodSeconds * fs;
  const int32_t period = Round(periodSamples);
  LfoPeriod.store(period, relaxed);
  LfoHalfPeriod.store(period / 2, relaxed);

  // The sweep span grows with the period, so the pitch bend per sample
  // depends on the width alone.
  const double sweepPerSecond = 0.0075 * static_cast<double>(width) * fs;
  const double sweepSamples = LfoSeconds(rate) * sweepPerSecond;
  ModDepth.store(Round(sweepSamples), relaxed);

  const int32_t filterRate = Round(fs);
  LowPass->Design(filterRate, ftLowPass, cutoffHz, 0.5f, 0.5f);
  HighPass->Design(filterRate, ftHighPass, cutoffHz, 0.5f, 0.5f);
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
  float wetL = 0.0f;
  float wetR = 0.0f;

  for (int32_t n = 0; n < sampleFrames; ++n) {
    const float x = static_cast<float>(static_cast<double>(in[n]) + DenormalOffset);
    float low = 0.0f;
    float high = x;
    if (BassMode.load(relaxed)) {
      low = LowPass->Process(x);
      high = HighPass->Process(x);
    }

    WritePos = static_cast<int32_t>(static_cast<uint32_t>(WritePos - 1) & kDelayLineMask);

    // The triangle: up to LfoHalfPeriod - 1 and back down to 0. A period
    // too short to sweep (or none at all) holds the delay at its base.
    const int32_t halfPeriod = LfoHalfPeriod.load(relaxed);
    const int32_t modDepth = ModDepth.load(relaxed);
    float m = 0.0f;
    if (halfPeriod > 0) {
      LfoPos += LfoStep;
      if (LfoPos <= 0) {
        LfoStep = -LfoStep;
        LfoPos = 0;
      } else if (LfoPos >= halfPeriod - 1) {
        LfoStep = -LfoStep;
        LfoPos = halfPeriod - 1;
      }
      m = static_cast<float>(static_cast<double>(LfoPos) / halfPeriod * modDepth);
    } else {
      LfoPos = 0;
    }

    const uint8_t mode = ChannelMode.load(relaxed);
    const int32_t base = static_cast<int32_t>(static_cast<uint32_t>(WritePos) +
                                              static_cast<uint32_t>(BaseDelay.load(relaxed)));
    float tapA;
    float tapB;
    if (AntiAlias.load(relaxed) && !IsWhole(m)) {
      tapA = InterpolatedTap(lineA, base, m);
      if (mode == cmDual) {
        const float mirrored = static_cast<float>(static_cast<double>(modDepth) - m);
        tapB = InterpolatedTap(lineB, base, mirrored);
      } else {
        tapB = InterpolatedTap(lineB, base, m);
      }
    } else {
      const int32_t r = Round(m);
      const uint32_t j = LineIndex(base, r);
      tapA = lineA[j];
      tapB = mode == cmDual ? lineB[LineIndex(base, static_cast<int32_t>(static_cast<uint32_t>(modDepth) -
                                                                         static_cast<uint32_t>(r)))]
                            : lineB[j];
    }

    const double feedback = Params[kFeedback].load(relaxed);
    const double throughHigh = static_cast<double>(through) * high;
    switch (mode) {
      case cmMono: {
        wetL = static_cast<float>(static_cast<double>(high) + tapA);
        wetR = wetL;
        const float written = static_cast<float>(throughHigh + feedback * wetL - DenormalOffset);
        lineA[WritePos] = written;
        lineB[WritePos] = static_cast<float>(static_cast<double>(written) - DenormalOffset);
        break;
      }
      case cmStereo:
        wetL = static_cast<float>(static_cast<double>(high) + tapA);
        wetR = static_cast<float>(static_cast<double>(high) - tapB);
        lineA[WritePos] = static_cast<float>(throughHigh + feedback * wetL - DenormalOffset);
        lineB[WritePos] = static_cast<float>(throughHigh + feedback * wetR - DenormalOffset);
        break;
      case cmDual:
        wetL = static_cast<float>(static_cast<double>(high) + tapA);
        wetR = static_cast<float>(static_cast<double>(high) + tapB);
        lineA[WritePos] = static_cast<float>(throughHigh + feedback * wetL - DenormalOffset);
        lineB[WritePos] = static_cast<float>(throughHigh + feedback * wetR - DenormalOffset);
        break;
      case cmHaas:
        wetL = high;
        wetR = tapA;
        lineA[WritePos] = static_cast<float>(throughHigh + feedback * wetL - DenormalOffset);
        lineB[WritePos] = static_cast<float>(throughHigh + feedback * wetR - DenormalOffset);
        break;
      default:  // no such mode: the lines rest and the wet signals hold
        break;
    }

    const double dryHigh = static_cast<double>(dry) * high;
    if (replace) {
      outL[n] = static_cast<float>(static_cast<double>(wet) * wetL + low + dryHigh);
      outR[n] = static_cast<float>(static_cast<double>(wet) * wetR + low + dryHigh);
    } else {
      outL[n] = static_cast<float>(static_cast<double>(outL[n]) + low + static_cast<double>(wet) * wetL + dryHigh);
      outR[n] = static_cast<float>(static_cast<double>(outR[n]) + low + static_cast<double>(wet) * wetR + dryHigh);
    }
  }

  Busy.store(false, std::memory_order_release);
}
