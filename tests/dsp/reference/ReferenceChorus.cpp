#include "ReferenceChorus.h"

#include <cmath>
#include <limits>

namespace reference {
namespace {

// Nearest whole number, ties to even. A result outside int32 becomes
// INT32_MIN, as x86's conversion instructions give it.
int32_t Round(double v) {
  double whole = std::floor(v);
  const double fraction = v - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(whole);
}

// An index into a line: v modulo the line length, never negative.
size_t Wrap(int64_t v) {
  const int64_t r = v % kLineLength;
  return static_cast<size_t>(r < 0 ? r + kLineLength : r);
}

constexpr float kDefaults[pnCount] = {1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, 0.6f, 1.0f, 1.0f};

}  // namespace

TReferenceChorus::TReferenceChorus() : DelayLineA(kLineLength, 0.0f), DelayLineB(kLineLength, 0.0f) {
  for (int i = 0; i < pnCount; ++i) Params[i] = kDefaults[i];
  UpdateCoefficients();
}

void TReferenceChorus::SetParameter(int32_t index, float value) {
  if (index >= 0 && index < pnCount) Params[index] = value;
  UpdateCoefficients();
}

void TReferenceChorus::SetSampleRate(float rate) {
  SampleRate = rate;
  UpdateCoefficients();
}

void TReferenceChorus::UpdateCoefficients() {
  const double fs = SampleRate;
  BassMode = Params[pnBassMode] > 0.5f;
  CutoffHz = static_cast<float>(50.0 * std::pow(2.0, 4.0 * Params[pnCutoff]));
  AntiAlias = Params[pnAntiAlias] > 0.5f;
  ChannelMode = static_cast<uint8_t>(static_cast<uint32_t>(Round(3.0 * Params[pnStereoMode])) & 0xFFu);

  const double delaySamples = 2.0 * fs / 100.0 * Params[pnDelay] + 1.0;
  BaseDelay = Round(delaySamples);

  LfoRate = Params[pnRate];
  const double T = std::pow(10.0, (1.0 - LfoRate) * 2.0 - 1.0);
  const double periodSamples = T * fs;
  LfoPeriod = Round(periodSamples);
  LfoHalfPeriod = LfoPeriod / 2;

  const double depthSamples = T * (0.0075 * Params[pnWidth] * fs);
  ModDepth = Round(depthSamples);

  const int32_t filterRate = Round(fs);
  LowPass.Design(filterRate, rtLowPass, CutoffHz, 0.5f, 0.5f);
  HighPass.Design(filterRate, rtHighPass, CutoffHz, 0.5f, 0.5f);
}

void TReferenceChorus::ProcessBlock(const float* input, float* left, float* right, int32_t frames, bool replace) {
  Block block;
  block.Wet = ChannelMode == cmHaas ? 1.0f : Params[pnMix];
  block.Dry = static_cast<float>(1.0 - block.Wet);
  block.Through = static_cast<float>(1.0 - Params[pnFeedback]);
  block.WetL = 0.0f;
  block.WetR = 0.0f;
  for (int32_t n = 0; n < frames; ++n) ProcessFrame(block, input[n], left[n], right[n], replace);
}

// A read between two samples at i = Round(m - 0.5), the floor of an m that is
// not whole. Dual's mirrored position ModDepth - m can round to a whole
// number although m is not; the tie then goes to even, and an odd one is read
// as the sample below it plus the whole difference, which need not round to
// the sample itself when the two differ greatly in size.
float TReferenceChorus::InterpolatedTap(const std::vector<float>& line, int64_t base, float m) const {
  const int32_t i = Round(static_cast<double>(m) - 0.5);
  const size_t j = Wrap(base + i);
  const size_t j1 = Wrap(static_cast<int64_t>(j) + 1);
  const float tap =
      static_cast<float>(line[j] + (static_cast<double>(m) - i) * (static_cast<double>(line[j1]) - line[j]));
  return tap;
}

void TReferenceChorus::ProcessFrame(Block& block, float in, float& left, float& right, bool replace) {
  const float x = static_cast<float>(in + kDenormalOffset);

  float low = 0.0f;
  float high = x;
  if (BassMode) {
    low = LowPass.Process(x);
    high = HighPass.Process(x);
  }

  WritePos = static_cast<int32_t>(Wrap(static_cast<int64_t>(WritePos) - 1));

  // A half period of no samples has no triangle to run: the position rests
  // at 0 and the delay at its base, as the plug-in chose.
  float m = 0.0f;
  if (LfoHalfPeriod > 0) {
    LfoPos = LfoPos + LfoStep;
    if (LfoPos <= 0) {
      LfoStep = -LfoStep;
      LfoPos = 0;
    } else if (LfoPos >= LfoHalfPeriod - 1) {
      LfoStep = -LfoStep;
      LfoPos = LfoHalfPeriod - 1;
    }
    m = static_cast<float>(static_cast<double>(LfoPos) / LfoHalfPeriod * ModDepth);
  } else {
    LfoPos = 0;
  }

  // Element (base + k) of a line holds the sample written BaseDelay + k
  // frames ago.
  const int64_t base = static_cast<int64_t>(WritePos) + BaseDelay;
  float tapA;
  float tapB;
  if (AntiAlias && std::floor(m) != m) {
    tapA = InterpolatedTap(DelayLineA, base, m);
    const float mB = ChannelMode == cmDual ? static_cast<float>(ModDepth - static_cast<double>(m)) : m;
    tapB = InterpolatedTap(DelayLineB, base, mB);
  } else {
    const int32_t r = Round(m);
    tapA = DelayLineA[Wrap(base + r)];
    tapB = ChannelMode == cmDual ? DelayLineB[Wrap(base + ModDepth - r)] : DelayLineB[Wrap(base + r)];
  }

  const double F = Params[pnFeedback];
  const double through = block.Through;
  float& wetL = block.WetL;
  float& wetR = block.WetR;
  float& writeA = DelayLineA[static_cast<size_t>(WritePos)];
  float& writeB = DelayLineB[static_cast<size_t>(WritePos)];
  switch (ChannelMode) {
    case cmMono:
      wetL = static_cast<float>(static_cast<double>(high) + tapA);
      wetR = wetL;
      writeA = static_cast<float>(through * high + F * wetL - kDenormalOffset);
      writeB = static_cast<float>(writeA - kDenormalOffset);
      break;
    case cmStereo:
      wetL = static_cast<float>(static_cast<double>(high) + tapA);
      wetR = static_cast<float>(static_cast<double>(high) - tapB);
      writeA = static_cast<float>(through * high + F * wetL - kDenormalOffset);
      writeB = static_cast<float>(through * high + F * wetR - kDenormalOffset);
      break;
    case cmDual:
      wetL = static_cast<float>(static_cast<double>(high) + tapA);
      wetR = static_cast<float>(static_cast<double>(high) + tapB);
      writeA = static_cast<float>(through * high + F * wetL - kDenormalOffset);
      writeB = static_cast<float>(through * high + F * wetR - kDenormalOffset);
      break;
    case cmHaas:
      wetL = high;
      wetR = tapA;
      writeA = static_cast<float>(through * high + F * wetL - kDenormalOffset);
      writeB = static_cast<float>(through * high + F * wetR - kDenormalOffset);
      break;
    default:  // no such mode: neither line is written, the wet signals hold
      break;
  }

  const double wet = block.Wet;
  const double dry = block.Dry;
  if (replace) {
    left = static_cast<float>(wet * wetL + low + dry * high);
    right = static_cast<float>(wet * wetR + low + dry * high);
  } else {
    left = static_cast<float>(left + static_cast<double>(low) + wet * wetL + dry * high);
    right = static_cast<float>(right + static_cast<double>(low) + wet * wetR + dry * high);
  }
}

}  // namespace reference
