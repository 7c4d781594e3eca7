#include "Summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace render {

void OutputMeter::Add(int channel, const float* samples, int32_t count) {
  float peak = peaks_[static_cast<size_t>(channel)];
  for (int32_t n = 0; n < count; ++n) {
    const float v = samples[n];
    if (!std::isfinite(v)) {
      ++nonFinite_;
      continue;
    }
    peak = std::max(peak, std::fabs(v));
  }
  peaks_[static_cast<size_t>(channel)] = peak;
}

std::string FormatLevel(float peak) {
  if (!(peak > 0.0f)) return "silent";
  const double db = 20.0 * std::log10(static_cast<double>(peak));
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f dBFS", db);
  std::string level = text;
  // A peak that rounds to 0.0 dB carries no sign.
  if (level.compare(1, 3, "0.0") == 0) level.erase(0, 1);
  return level;
}

std::string FormatSummary(int64_t frames, int sampleRate, double wallSeconds, const OutputMeter& meter) {
  const double audioSeconds = sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0;
  char text[256];
  std::snprintf(text, sizeof text, "%lld frames (%.2f s at %d Hz) in %.2f s, ", static_cast<long long>(frames),
                audioSeconds, sampleRate, wallSeconds);
  std::string line = text;
  if (wallSeconds > 0.0 && audioSeconds > 0.0) {
    const double factor = audioSeconds / wallSeconds;
    std::snprintf(text, sizeof text, factor >= 10.0 ? "%.0fx real time" : "%.1fx real time", factor);
    line += text;
  } else {
    line += "real-time factor not measurable";
  }
  const std::vector<float>& peaks = meter.peaks();
  static const char* const kChannelNames[] = {"L", "R"};
  line += "; peak ";
  for (size_t c = 0; c < peaks.size(); ++c) {
    if (c > 0) line += ", ";
    line += c < 2 ? kChannelNames[c] : std::to_string(c + 1);
    line += " " + FormatLevel(peaks[c]);
  }
  return line;
}

std::string FormatProgress(double fraction, double doneSeconds, double totalSeconds, int barWidth) {
  fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
  const int filled = static_cast<int>(fraction * barWidth);
  std::string bar = "[" + std::string(static_cast<size_t>(filled), '#') +
                    std::string(static_cast<size_t>(barWidth - filled), '.') + "]";
  char text[64];
  std::snprintf(text, sizeof text, " %3d%%  %.1f / %.1f s", static_cast<int>(fraction * 100.0), doneSeconds,
                totalSeconds);
  return bar + text;
}

}  // namespace render
