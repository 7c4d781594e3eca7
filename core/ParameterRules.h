// The nine parameters' indices and the rules that turn a stored value (meant
// to lie in 0 to 1) into a switch or a channel mode. The sound and every
// editor of it read a value through these, so they can never disagree on
// what a value means.
#pragma once

#include <cstdint>

#include "core/Rounding.h"

enum ParameterIndex : int32_t {
  kBassMode = 0,
  kCutoff,
  kDelay,
  kWidth,
  kRate,
  kFeedback,
  kStereoMode,
  kAntiAlias,
  kMix,
  kNumParameters
};

enum ChannelModeNumber : uint8_t { cmMono = 0, cmStereo = 1, cmDual = 2, cmHaas = 3 };

inline bool IsSwitchOn(float value) { return value > 0.5f; }

// The low 8 bits of Round(3 * value).
inline uint8_t ChannelModeOf(float value) {
  return static_cast<uint8_t>(static_cast<uint32_t>(Round(3.0 * static_cast<double>(value))) & 0xFFu);
}
