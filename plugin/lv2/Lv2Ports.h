// The LV2 plug-in's identity and port layout, shared by the library, the
// Turtle writer and the editor. Port symbols are stored in hosts' sessions:
// never rename one.
#pragma once

#include <cstdint>

#include "core/ParameterRules.h"

namespace ondrel_lv2 {

constexpr const char* kPluginUri = "urn:ondrel-audio:ondrel";
constexpr const char* kUiUri = "urn:ondrel-audio:ondrel#ui";

constexpr uint32_t kAudioInputs = 1;
constexpr uint32_t kAudioOutputs = 2;
enum PortIndex : uint32_t { kPortIn = 0, kPortOutLeft = 1, kPortOutRight = 2, kFirstControlPort = 3 };
// One control input per VST 2 parameter, in the parameter order.
constexpr uint32_t kControlPorts = kNumParameters;
constexpr uint32_t kPortCount = kFirstControlPort + kControlPorts;

constexpr const char* kControlSymbols[] = {"bass_mode", "cutoff",      "delay",      "width", "rate",
                                           "feedback",  "stereo_mode", "anti_alias", "mix"};

static_assert(sizeof kControlSymbols / sizeof kControlSymbols[0] == kControlPorts, "a symbol for every control");

}  // namespace ondrel_lv2
