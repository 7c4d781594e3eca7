// The plug-in with its working state open to the tests.
#pragma once

#include <vector>

#include "dsp/Ondrel.h"

class ChorusProbe : public TOndrel {
 public:
  explicit ChorusProbe(audioMasterCallback host = nullptr) : TOndrel(host) {}

  using TOndrel::AntiAlias;
  using TOndrel::BaseDelay;
  using TOndrel::BassMode;
  using TOndrel::Busy;
  using TOndrel::ChannelMode;
  using TOndrel::DelayLineA;
  using TOndrel::DelayLineB;
  using TOndrel::HighPass;
  using TOndrel::LfoHalfPeriod;
  using TOndrel::LfoPos;
  using TOndrel::LfoStep;
  using TOndrel::LowPass;
  using TOndrel::ModDepth;
  using TOndrel::WritePos;

  struct Stereo {
    std::vector<float> left, right;
  };

  // Runs input through the replacing (or accumulating) entry in one block.
  Stereo Run(std::vector<float> input, bool replace = true, float preset = 0.0f) {
    Stereo out{std::vector<float>(input.size(), preset), std::vector<float>(input.size(), preset)};
    float* inputs[1] = {input.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    if (replace)
      processReplacing(inputs, outputs, static_cast<int32_t>(input.size()));
    else
      process(inputs, outputs, static_cast<int32_t>(input.size()));
    return out;
  }

  void SetAll(float bassMode, float cutoff, float delay, float width, float rate, float feedback, float stereoMode,
              float antiAlias, float mix) {
    const float values[9] = {bassMode, cutoff, delay, width, rate, feedback, stereoMode, antiAlias, mix};
    for (int i = 0; i < 9; ++i) setParameter(i, values[i]);
  }
};

inline std::vector<float> Impulse(size_t length) {
  std::vector<float> v(length, 0.0f);
  v[0] = 1.0f;
  return v;
}
