// Turns what the user typed for a parameter (a name or an index, a number or
// a word the plug-in displays) into an index and a value. The plug-in is only
// reached through the callbacks, so the rules can be tested without one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace render {

// Leading and trailing spaces and tabs removed.
std::string Trim(const std::string& text);

// Names as the plug-in pads them ("Cutoff     ") and as a user types them
// ("cutoff"): equal without regard to case or surrounding spaces.
bool NamesMatch(const std::string& typed, const std::string& pluginName);

// The index of the parameter the user means: a text of digits is an index,
// anything else a name. On failure returns -1 and a one-line reason that
// lists the names.
int FindParameter(const std::vector<std::string>& names, const std::string& typed, std::string& error);

// A finite decimal number, the whole text (surrounding spaces allowed).
bool ParseNumber(const std::string& text, float& value);

// Values at which the display words are looked for: kProbeSteps + 1 points
// evenly spread over 0 to 1. An odd multiple of 3 keeps the switch points of
// the usual two-, three- and four-way switches (1/2, 1/4, 1/6, 5/6) between
// probe points, where float rounding cannot move them, and puts the middles
// of their stretches (1/3, 2/3, 1/2) on probe points or exactly between two.
constexpr int kProbeSteps = 99;
std::vector<float> ProbeValues();

// Given the plug-in's displays at ProbeValues(), the value that shows word.
// A word shown at an end of the range takes that end (No = 0, Yes = 1); a
// word shown only inside it takes the middle of its stretch (Stereo = 1/3 for
// a four-way switch). Nothing when no probe value shows the word.
std::optional<float> ValueForWord(const std::vector<std::string>& displays, const std::string& word);

// The distinct displays among those that are not numbers, in order.
std::vector<std::string> DisplayWords(const std::vector<std::string>& displays);

// The value for --set or an automation line. displayAt(value) answers what
// the plug-in shows for this parameter at value; it is asked only when the
// text is not a number.
bool ResolveValue(const std::string& parameterName, const std::string& text,
                  const std::function<std::string(float)>& displayAt, float& value, std::string& error);

}  // namespace render
