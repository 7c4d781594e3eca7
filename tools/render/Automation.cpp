#include "Automation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/render/ParameterNames.h"

namespace render {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool ParseAutomation(const std::string& text, const std::string& sourceName, std::vector<AutomationEvent>& events,
                     std::string& error) {
  events.clear();
  std::istringstream stream(text);
  std::string line;
  int number = 0;
  while (std::getline(stream, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string content = Trim(line);
    if (content.empty() || content[0] == '#') continue;
    const std::string where = sourceName + ":" + std::to_string(number) + ": ";

    // Time first, value last, and the name is everything between, so names
    // with spaces need no quotes.
    size_t timeEnd = 0;
    while (timeEnd < content.size() && !IsBlank(content[timeEnd])) ++timeEnd;
    size_t valueBegin = content.size();
    while (valueBegin > timeEnd && !IsBlank(content[valueBegin - 1])) --valueBegin;
    std::string name = valueBegin > timeEnd ? Trim(content.substr(timeEnd, valueBegin - timeEnd)) : "";
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = Trim(name.substr(1, name.size() - 2));
    if (name.empty()) {
      error = where + "expected SECONDS NAME VALUE, found \"" + content + "\"";
      return false;
    }

    const std::string time = content.substr(0, timeEnd);
    char* end = nullptr;
    const double seconds = std::strtod(time.c_str(), &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds < 0.0) {
      error = where + "the time \"" + time + "\" is not a number of seconds (0 or more)";
      return false;
    }

    AutomationEvent event;
    event.seconds = seconds;
    event.parameter = name;
    event.value = content.substr(valueBegin);
    event.line = number;
    events.push_back(event);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const AutomationEvent& a, const AutomationEvent& b) { return a.seconds < b.seconds; });
  return true;
}

}  // namespace render
