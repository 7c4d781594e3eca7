// What a finished render reports: the peak level of each output channel, how
// many samples were not finite, and the one-line summary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

class OutputMeter {
 public:
  explicit OutputMeter(int channels) : peaks_(static_cast<size_t>(channels), 0.0f) {}

  void Add(int channel, const float* samples, int32_t count);

  const std::vector<float>& peaks() const { return peaks_; }
  int64_t nonFinite() const { return nonFinite_; }

 private:
  std::vector<float> peaks_;
  int64_t nonFinite_ = 0;
};

// "-6.0 dBFS", "+1.5 dBFS", or "silent" for a peak of 0.
std::string FormatLevel(float peak);

// "463050 frames (10.50 s at 44100 Hz) in 0.21 s, 50x real time; peak L -4.1 dBFS, R -3.9 dBFS"
std::string FormatSummary(int64_t frames, int sampleRate, double wallSeconds, const OutputMeter& meter);

// "[########............]  40%  4.2 / 10.5 s" for a progress line.
std::string FormatProgress(double fraction, double doneSeconds, double totalSeconds, int barWidth);

}  // namespace render
