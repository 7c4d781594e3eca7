// The one table of the plug-in's nine parameters, and the mappings from a
// stored value (meant to lie in 0 to 1) to what it drives. The display texts
// and the signal path both read these, so they can never drift apart.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/ParameterRules.h"

enum class DisplayRule : uint8_t {
  YesNo,       // "Yes     " above 0.5, else "No      "
  CutoffHz,    // the split frequency in Hz
  Scaled,      // the value times a factor
  ChannelMode  // the mode's name
};

struct ParameterInfo {
  const char* name;  // 11 characters, padded with spaces
  float defaultValue;
  DisplayRule display;
  float displayScale;  // for DisplayRule::Scaled
};

extern const ParameterInfo kParameters[kNumParameters];

// Every label: eight spaces.
extern const char kParameterLabel[];

// 8-character names of the channel modes 0 to 3.
extern const char* const kChannelModeNames[4];

// 50 Hz at 0 up to 800 Hz at 1, one octave per quarter.
inline float CutoffFrequency(float value) {
  return static_cast<float>(50.0 * std::pow(2.0, 4.0 * static_cast<double>(value)));
}
