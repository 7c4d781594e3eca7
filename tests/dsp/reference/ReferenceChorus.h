// The chorus written the slow, plain way: the working values from the nine
// parameters and the sample rate, and the signal path one frame at a time.
// It shares no code with the plug-in; a test drives both the same way and
// compares every output sample and every piece of state bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/dsp/reference/ReferenceFilter.h"

namespace reference {

enum ParameterNumber : int32_t {
  pnBassMode,
  pnCutoff,
  pnDelay,
  pnWidth,
  pnRate,
  pnFeedback,
  pnStereoMode,
  pnAntiAlias,
  pnMix,
  pnCount
};

enum ChannelModeNumber : uint8_t { cmMono = 0, cmStereo = 1, cmDual = 2, cmHaas = 3 };

constexpr int32_t kLineLength = 65536;

class TReferenceChorus {
 public:
  TReferenceChorus();

  // As the host's parameter entry: stores indices 0 to 8, recomputes always.
  void SetParameter(int32_t index, float value);
  // The plug-in recomputes its working values when the rate changes; so
  // does the model.
  void SetSampleRate(float rate);
  // Replace overwrites the outputs, otherwise the result is added to them.
  void ProcessBlock(const float* input, float* left, float* right, int32_t frames, bool replace);

  // Everything is open: the comparison reads it, and may seed it.
  float Params[pnCount];
  float SampleRate = 44100.0f;

  std::vector<float> DelayLineA;
  std::vector<float> DelayLineB;
  tReferenceFilter HighPass;
  tReferenceFilter LowPass;
  int32_t WritePos = 0;
  int32_t LfoStep = 1;
  int32_t LfoPos = 0;

  float CutoffHz = 0.0f;
  bool BassMode = false;
  uint8_t ChannelMode = 0;
  bool AntiAlias = false;
  int32_t BaseDelay = 0;
  int32_t ModDepth = 0;
  float LfoRate = 0.0f;
  int32_t LfoPeriod = 0;
  int32_t LfoHalfPeriod = 0;

 private:
  // What a block fixes at its start; the wet signals carry over from frame
  // to frame within it.
  struct Block {
    float Wet, Dry, Through;
    float WetL, WetR;
  };

  void UpdateCoefficients();
  void ProcessFrame(Block& block, float in, float& left, float& right, bool replace);
  float InterpolatedTap(const std::vector<float>& line, int64_t base, float m) const;
};

}  // namespace reference
