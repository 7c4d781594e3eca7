// The parameter values a render applies: the --set values before the first
// block, and the automation changes at their frames. Names, indices and
// display words are checked against the plug-in before any audio is made, so
// a typo costs nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/Automation.h"
#include "tools/render/Options.h"

namespace render {

class PluginSession;

struct ParameterChange {
  int64_t frame = 0;
  int index = 0;
  float value = 0.0f;
};

// Resolves every --set; values outside 0 to 1 are kept with a warning. On
// failure returns false with a one-line reason.
bool ResolveSettings(PluginSession& session, const std::vector<ParameterSetting>& settings,
                     std::vector<ParameterChange>& changes, std::vector<std::string>& warnings, std::string& error);

// Resolves the automation events of file (named in messages) to frames of a
// render of totalFrames at sampleRate. Changes past the end are left out
// with a warning each.
bool ResolveAutomation(PluginSession& session, const std::vector<AutomationEvent>& events, const std::string& file,
                       double sampleRate, int64_t totalFrames, std::vector<ParameterChange>& changes,
                       std::vector<std::string>& warnings, std::string& error);

}  // namespace render
