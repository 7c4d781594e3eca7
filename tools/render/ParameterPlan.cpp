#include "ParameterPlan.h"

#include <cstdio>

#include "tools/render/BlockPlan.h"
#include "tools/render/ParameterNames.h"
#include "tools/render/PluginSession.h"

namespace render {
namespace {

bool Resolve(PluginSession& session, const std::vector<std::string>& names, const std::string& parameter,
             const std::string& text, ParameterChange& change, std::vector<std::string>& warnings, std::string& error) {
  const int index = FindParameter(names, parameter, error);
  if (index < 0) return false;
  float value = 0.0f;
  const auto displayAt = [&session, index](float probe) { return session.DisplayAt(index, probe); };
  if (!ResolveValue(names[static_cast<size_t>(index)], text, displayAt, value, error)) return false;
  change.index = index;
  change.value = value;
  // VST 2 values live in 0 to 1; "Cutoff=100" is more likely meant as hertz
  // than as a value a hundred times the top of the range.
  if (value < 0.0f || value > 1.0f) {
    warnings.push_back(Trim(names[static_cast<size_t>(index)]) + "=" + Trim(text) +
                       " lies outside 0 to 1; the plug-in receives it unchanged");
  }
  return true;
}

}  // namespace

bool ResolveSettings(PluginSession& session, const std::vector<ParameterSetting>& settings,
                     std::vector<ParameterChange>& changes, std::vector<std::string>& warnings, std::string& error) {
  const std::vector<std::string> names = session.ParameterNames();
  for (const ParameterSetting& setting : settings) {
    ParameterChange change;
    if (!Resolve(session, names, setting.parameter, setting.value, change, warnings, error)) {
      error = "--set " + setting.parameter + "=" + setting.value + ": " + error;
      return false;
    }
    changes.push_back(change);
  }
  return true;
}

bool ResolveAutomation(PluginSession& session, const std::vector<AutomationEvent>& events, const std::string& file,
                       double sampleRate, int64_t totalFrames, std::vector<ParameterChange>& changes,
                       std::vector<std::string>& warnings, std::string& error) {
  const std::vector<std::string> names = session.ParameterNames();
  for (const AutomationEvent& event : events) {
    const std::string where = file + ":" + std::to_string(event.line) + ": ";
    ParameterChange change;
    std::vector<std::string> notes;
    if (!Resolve(session, names, event.parameter, event.value, change, notes, error)) {
      error = where + error;
      return false;
    }
    for (const std::string& note : notes) warnings.push_back(where + note);
    change.frame = FrameAt(event.seconds, sampleRate, totalFrames);
    if (change.frame >= totalFrames && totalFrames > 0) {
      char text[160];
      std::snprintf(text, sizeof text, "%g s is after the end of the render (%.3f s); the change is ignored",
                    event.seconds, static_cast<double>(totalFrames) / sampleRate);
      warnings.push_back(where + text);
      continue;
    }
    changes.push_back(change);
  }
  return true;
}

}  // namespace render
