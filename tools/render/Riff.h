// The built-in demo signal, so that a first render needs no audio file: a
// plucked bass line between E1 (41 Hz) and A2 (110 Hz) whose harmonics reach
// into the kilohertz range, so that both the dry low band and the chorused
// high band are heard.
#pragma once

#include <vector>

namespace render {

constexpr int kRiffSampleRate = 44100;
constexpr double kRiffSeconds = 10.0;

// Mono samples at sampleRate, peaking at half of full scale. The same
// arguments always give the same samples.
std::vector<float> SynthesizeRiff(int sampleRate = kRiffSampleRate, double seconds = kRiffSeconds);

}  // namespace render
