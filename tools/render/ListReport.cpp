#include "ListReport.h"

#include <cmath>
#include <cstdio>

#include "tools/render/ParameterNames.h"
#include "tools/render/PluginSession.h"
#include "tools/render/RecordText.h"

namespace render {
namespace {

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
  return text;
}

}  // namespace

std::string ListReport(PluginSession& session) {
  const AEffect& record = session.record();
  std::vector<std::vector<std::string>> head = {
      {"Plug-in", session.path() + " (entry " + session.entryName() + ")"},
      {"Unique id", FourCharText(record.uniqueID) + " (" + Hex(record.uniqueID) + ")"},
      {"Version", std::to_string(record.version)},
      {"Inputs", std::to_string(record.numInputs)},
      {"Outputs", std::to_string(record.numOutputs)},
      {"Flags", DescribeFlags(record.flags)},
      {"Programs", std::to_string(record.numPrograms) + " (current: \"" + Trim(session.ProgramName()) + "\")"},
      {"Parameters", std::to_string(record.numParams)},
  };
  if (record.initialDelay != 0) head.push_back({"Latency", std::to_string(record.initialDelay) + " frames"});
  std::string text = FormatTable(head);

  if (session.parameterCount() > 0) {
    std::vector<std::vector<std::string>> rows = {{"#", "Name", "Value", "Display", "Label"}};
    for (int i = 0; i < session.parameterCount(); ++i) {
      rows.push_back({std::to_string(i), Trim(session.ParameterName(i)), Number(session.GetParameter(i)),
                      Trim(session.ParameterDisplay(i)), Trim(session.ParameterLabel(i))});
    }
    text += "\n" + FormatTable(rows);
  }
  return text;
}

}  // namespace render
