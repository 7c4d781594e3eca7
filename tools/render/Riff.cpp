#include "Riff.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace render {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEighth = 0.25;  // seconds: eighth notes at 120 beats per minute
constexpr int kRest = -1;

// Five bars of eighth notes (MIDI note numbers); the last note is held and
// faded out before the end.
constexpr int kRiff[] = {
    28, 28,    40, 28, 31, 33, 35, 38,  //
    28, 28,    40, 28, 43, 40, 38, 35,  //
    33, 33,    45, 33, 31, 31, 43, 31,  //
    28, 28,    40, 28, 31, 33, 35, 38,  //
    28, kRest, 40, 38, 35, 33, 28,      //
};

double NoteFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Adds one plucked note. Each partial is a rotating phasor with its own
// exponential decay: higher partials die faster, as on a real string, which
// gives the bright attack and the round sustain.
void AddPluck(std::vector<double>& out, int sampleRate, double start, double gate, double frequency, double level) {
  const double fs = sampleRate;
  const int64_t first = static_cast<int64_t>(std::llround(start * fs));
  const double release = 0.015;
  const int64_t length = static_cast<int64_t>(std::llround((gate + 6.0 * release) * fs));
  const int64_t gateEnd = static_cast<int64_t>(std::llround(gate * fs));
  const int64_t attack = std::max<int64_t>(1, static_cast<int64_t>(std::llround(0.003 * fs)));
  const int64_t last = std::min<int64_t>(first + length, static_cast<int64_t>(out.size()));
  if (first >= last) return;

  const double releaseStep = std::exp(-1.0 / (release * fs));
  const double ceiling = std::min(5000.0, 0.45 * fs);
  const double pluckPoint = 0.18;   // fraction of the string: near the bridge, bright
  const double stiffness = 0.0002;  // slight inharmonicity of a wound string
  for (int k = 1; k <= 60; ++k) {
    const double partial = k * frequency * std::sqrt(1.0 + stiffness * k * k);
    if (partial >= ceiling) break;
    const double amplitude = level * std::fabs(std::sin(kPi * k * pluckPoint)) / std::pow(k, 0.9);
    const double decayPerSample = std::exp(-(2.0 + 0.8 * k) / fs);
    const double step = 2.0 * kPi * partial / fs;
    const double stepCos = std::cos(step);
    const double stepSin = std::sin(step);
    double re = 1.0;  // sine phase starts at zero: no click at the onset
    double im = 0.0;
    double envelope = amplitude;
    double releaseGain = 1.0;  // exp(-(t - gateEnd) / (release * fs)), one factor a sample
    for (int64_t n = first; n < last; ++n) {
      const int64_t t = n - first;
      double shape = t < attack ? static_cast<double>(t) / static_cast<double>(attack) : 1.0;
      if (t > gateEnd) {
        releaseGain *= releaseStep;
        shape *= releaseGain;
      }
      out[static_cast<size_t>(n)] += envelope * shape * im;
      const double nextRe = re * stepCos - im * stepSin;
      im = re * stepSin + im * stepCos;
      re = nextRe;
      envelope *= decayPerSample;
    }
  }
}

}  // namespace

std::vector<float> SynthesizeRiff(int sampleRate, double seconds) {
  if (sampleRate <= 0 || !(seconds > 0.0)) return {};
  const double frames = std::min(std::nearbyint(seconds * sampleRate), 1e9);
  std::vector<double> mix(static_cast<size_t>(frames), 0.0);

  const int count = static_cast<int>(sizeof kRiff / sizeof kRiff[0]);
  for (int i = 0; i < count; ++i) {
    if (kRiff[i] == kRest) continue;
    const bool last = i == count - 1;
    const double gate = last ? 6.0 * kEighth : 0.9 * kEighth;
    const double accent = i % 2 == 0 ? 1.0 : 0.75;  // the down-beats dig in
    AddPluck(mix, sampleRate, i * kEighth, gate, NoteFrequency(kRiff[i]), accent);
  }

  // A fade over the last quarter second, so the riff ends without a click
  // when it is cut at any length.
  const size_t fade = std::min(mix.size(), static_cast<size_t>(0.25 * sampleRate));
  for (size_t i = 0; i < fade; ++i) {
    mix[mix.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(fade));
  }

  double peak = 0.0;
  for (double v : mix) peak = std::max(peak, std::fabs(v));
  const double gain = peak > 0.0 ? 0.5 / peak : 0.0;
  std::vector<float> riff(mix.size());
  for (size_t n = 0; n < mix.size(); ++n) riff[n] = static_cast<float>(mix[n] * gain);
  return riff;
}

}  // namespace render
