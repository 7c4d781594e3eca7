// Automation files: one parameter change a line, "SECONDS NAME VALUE", as a
// host would replay recorded automation. The name may contain spaces
// ("2.5 Stereo Mode Haas") or be quoted; blank lines and lines starting with
// '#' are skipped.
#pragma once

#include <string>
#include <vector>

namespace render {

struct AutomationEvent {
  double seconds = 0.0;
  std::string parameter;  // as written: a name or an index
  std::string value;      // as written: a number or a display word
  int line = 0;
};

// Parses the whole text of a file called sourceName (used in messages). The
// events come back ordered by time; changes at the same time keep the file's
// order. On failure returns false with "FILE:LINE: reason".
bool ParseAutomation(const std::string& text, const std::string& sourceName, std::vector<AutomationEvent>& events,
                     std::string& error);

}  // namespace render
