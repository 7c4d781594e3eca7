#include "ParameterNames.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace render {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += ", ";
    list += Trim(name);
  }
  return list;
}

}  // namespace

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool NamesMatch(const std::string& typed, const std::string& pluginName) {
  const std::string wanted = Trim(typed);
  return !wanted.empty() && EqualNoCase(wanted, Trim(pluginName));
}

int FindParameter(const std::vector<std::string>& names, const std::string& typed, std::string& error) {
  const std::string wanted = Trim(typed);
  if (AllDigits(wanted)) {
    // Long digit strings would overflow; anything that long is out of range.
    if (wanted.size() <= 9) {
      const long index = std::strtol(wanted.c_str(), nullptr, 10);
      if (index < static_cast<long>(names.size())) return static_cast<int>(index);
    }
    error = "no parameter " + wanted + ": the plug-in has " + std::to_string(names.size()) + " (" +
            (names.empty() ? std::string("none") : "0 to " + std::to_string(names.size() - 1)) + ")";
    return -1;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (NamesMatch(wanted, names[i])) return static_cast<int>(i);
  }
  error = "unknown parameter \"" + wanted + "\" (the plug-in has: " + JoinNames(names) + ")";
  return -1;
}

bool ParseNumber(const std::string& text, float& value) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  const double parsed = std::strtod(trimmed.c_str(), &end);
  // Beyond float's range the plug-in would receive an infinity.
  if (*end != '\0' || !std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX) return false;
  value = static_cast<float>(parsed);
  return true;
}

std::vector<float> ProbeValues() {
  std::vector<float> values;
  values.reserve(kProbeSteps + 1);
  for (int i = 0; i <= kProbeSteps; ++i) values.push_back(static_cast<float>(static_cast<double>(i) / kProbeSteps));
  return values;
}

std::optional<float> ValueForWord(const std::vector<std::string>& displays, const std::string& word) {
  const std::string wanted = Trim(word);
  if (wanted.empty() || displays.empty()) return std::nullopt;
  const int last = static_cast<int>(displays.size()) - 1;
  // The first stretch of probe points that show the word.
  int first = -1;
  int end = -1;
  for (int i = 0; i <= last; ++i) {
    const bool shows = EqualNoCase(Trim(displays[static_cast<size_t>(i)]), wanted);
    if (shows && first < 0) first = i;
    if (!shows && first >= 0) break;
    if (shows) end = i;
  }
  if (first < 0) return std::nullopt;
  const auto at = [last](double i) { return static_cast<float>(i / last); };
  if (first == 0) return 0.0f;
  if (end == last) return 1.0f;
  return at((first + end) / 2.0);
}

std::vector<std::string> DisplayWords(const std::vector<std::string>& displays) {
  std::vector<std::string> words;
  for (const std::string& display : displays) {
    const std::string word = Trim(display);
    float number;
    if (word.empty() || ParseNumber(word, number)) continue;
    bool seen = false;
    for (const std::string& known : words) seen = seen || known == word;
    if (!seen) words.push_back(word);
  }
  return words;
}

bool ResolveValue(const std::string& parameterName, const std::string& text,
                  const std::function<std::string(float)>& displayAt, float& value, std::string& error) {
  if (ParseNumber(text, value)) return true;
  const std::string name = Trim(parameterName);
  std::vector<std::string> displays;
  for (float probe : ProbeValues()) displays.push_back(displayAt(probe));
  if (const std::optional<float> found = ValueForWord(displays, text)) {
    value = *found;
    return true;
  }
  const std::vector<std::string> words = DisplayWords(displays);
  if (words.empty()) {
    error = "value \"" + Trim(text) + "\" for " + name + " is not a number";
  } else {
    error = "value \"" + Trim(text) + "\" for " + name + " is neither a number nor one of: " + JoinNames(words);
  }
  return false;
}

}  // namespace render
