// The least work one frame of any chorus of this shape must do: two biquads
// in float, a triangle LFO step, two linearly interpolated reads from
// 65536-sample float lines, two writes and two output stores. The plug-in's
// figures are quoted as multiples of this floor, measured in the same run,
// because absolute times on shared machines drift.
#pragma once

#include <cstdint>
#include <vector>

class FloorLoop {
 public:
  FloorLoop() : lineA_(65536, 0.0f), lineB_(65536, 0.0f) {}

  __attribute__((noinline)) void Run(const float* in, float* left, float* right, int32_t frames) {
    for (int32_t n = 0; n < frames; ++n) {
      const float x = in[n];
      const float low = lp_.Step(x);
      const float high = hp_.Step(x);
      write_ = (write_ - 1) & 65535;
      lfo_ += step_;
      if (lfo_ <= 0 || lfo_ >= half_ - 1) step_ = -step_;
      const float m = static_cast<float>(lfo_) * depthPerStep_;
      const int32_t i = static_cast<int32_t>(m);
      const float frac = m - static_cast<float>(i);
      const uint32_t j = static_cast<uint32_t>(write_ + base_ + i) & 65535;
      const uint32_t j1 = (j + 1) & 65535;
      const float tapA = lineA_[j] + frac * (lineA_[j1] - lineA_[j]);
      const float tapB = lineB_[j] + frac * (lineB_[j1] - lineB_[j]);
      lineA_[static_cast<size_t>(write_)] = high + 0.25f * tapA;
      lineB_[static_cast<size_t>(write_)] = high + 0.25f * tapB;
      left[n] = low + high + tapA;
      right[n] = low + high + tapB;
    }
  }

 private:
  struct Biquad {
    float b0 = 0.0001f, b1 = 0.0002f, b2 = 0.0001f, a1 = -1.97f, a2 = 0.97f;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    float Step(float x) {
      const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
      return y;
    }
  };
  Biquad lp_, hp_;
  std::vector<float> lineA_, lineB_;
  int32_t write_ = 0, lfo_ = 0, step_ = 1, half_ = 22050, base_ = 495;
  float depthPerStep_ = 165.0f / 22050.0f;
};
