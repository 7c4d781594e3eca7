// ondrel-lv2-turtle SOURCE_DIR BUNDLE_DIR [--with-ui]: writes the bundle's
// Ondrel.ttl and manifest.ttl from the templates in SOURCE_DIR. The control
// ports come from the plug-in itself, asked as a host asks it (names,
// defaults, mode texts), so the Turtle cannot drift from the VST 2 build.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "dsp/Parameters.h"
#include "host/AudioEffect.h"
#include "host/QuietHost.h"
#include "plugin/lv2/Lv2Ports.h"

namespace {

using namespace ondrel_lv2;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Turtle's string escapes for the few characters that need one.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// The shortest decimal that reads back as the same float, whether a host
// reads it as a float or as a double it then narrows (lilv does), always
// with a point or an exponent so that Turtle takes it for a number with a
// fraction.
std::string Number(float value) {
  char text[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value && static_cast<float>(std::strtod(text, nullptr)) == value) break;
  }
  std::string number = text;
  if (number.find_first_of(".e") == std::string::npos) number += ".0";
  return number;
}

class Effect {
 public:
  Effect() : effect_(createEffectInstance(QuietHost)->getAeffect()) {}
  ~Effect() { effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f); }
  int32_t count() const { return effect_->numParams; }
  float value(int32_t index) const { return effect_->getParameter(effect_, index); }
  void set(int32_t index, float value) { effect_->setParameter(effect_, index, value); }
  std::string text(int32_t opcode, int32_t index) {
    char buffer[256] = {};
    effect_->dispatcher(effect_, opcode, index, 0, buffer, 0.0f);
    buffer[sizeof buffer - 1] = '\0';
    return Trimmed(buffer);
  }

 private:
  AEffect* effect_;
};

// The nine control inputs, each opened with " , [" to follow the audio ports.
bool ControlPorts(std::string& turtle) {
  Effect effect;
  if (effect.count() != static_cast<int32_t>(kControlPorts)) {
    std::cerr << "ondrel-lv2-turtle: the plug-in has " << effect.count() << " parameters, the ports are for "
              << kControlPorts << "\n";
    return false;
  }
  std::ostringstream out;
  for (int32_t i = 0; i < effect.count(); ++i) {
    const float defaultValue = effect.value(i);
    out << "\t, [\n"
        << "\t\ta lv2:InputPort , lv2:ControlPort ;\n"
        << "\t\tlv2:index " << kFirstControlPort + static_cast<uint32_t>(i) << " ;\n"
        << "\t\tlv2:symbol " << Quoted(kControlSymbols[i]) << " ;\n"
        << "\t\tlv2:name " << Quoted(effect.text(effGetParamName, i)) << " ;\n"
        << "\t\tlv2:default " << Number(defaultValue) << " ;\n"
        << "\t\tlv2:minimum 0.0 ;\n"
        << "\t\tlv2:maximum 1.0";
    const std::string label = effect.text(effGetParamLabel, i);
    if (!label.empty()) out << " ;\n\t\trdfs:label " << Quoted(label);
    switch (kParameters[i].display) {
      case DisplayRule::YesNo: out << " ;\n\t\tlv2:portProperty lv2:toggled"; break;
      case DisplayRule::ChannelMode: {
        // Mode n at n / 3, as the editor stores it; the text is what the
        // plug-in shows at that value, so a value that missed its mode
        // would show up here as a wrong or repeated label.
        out << " ;\n\t\tlv2:portProperty lv2:enumeration ;\n\t\tlv2:scalePoint";
        for (int mode = 0; mode < 4; ++mode) {
          const float value = static_cast<float>(mode / 3.0);
          effect.set(i, value);
          if (ChannelModeOf(value) != mode) {
            std::cerr << "ondrel-lv2-turtle: " << value << " does not give mode " << mode << "\n";
            return false;
          }
          out << (mode == 0 ? " [\n" : " , [\n") << "\t\t\trdfs:label " << Quoted(effect.text(effGetParamDisplay, i))
              << " ;\n\t\t\trdf:value " << Number(value) << "\n\t\t]";
        }
        effect.set(i, defaultValue);
        break;
      }
      default: break;
    }
    out << "\n\t]\n";
  }
  turtle = out.str();
  return true;
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << "ondrel-lv2-turtle: cannot read " << path << "\n";
    return false;
  }
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return true;
}

// The template with its own heading comment replaced, the #@ui lines kept
// (unmarked) or dropped, and the control ports in place of their marker.
bool Expand(const std::string& source, const std::string& target, bool withUi, const std::string& controlPorts) {
  std::vector<std::string> lines;
  if (!ReadLines(source, lines)) return false;
  std::ofstream out(target, std::ios::trunc);
  out << "# Written by ondrel-lv2-turtle from plugin/lv2/" << source.substr(source.find_last_of('/') + 1)
      << (controlPorts.empty() ? "" : " and the plug-in's own parameters") << ": edit the source, not this file.\n";
  bool heading = true;
  for (const std::string& line : lines) {
    if (heading && line.rfind("#", 0) == 0) continue;
    heading = false;
    if (line == "#@control-ports") {
      out << controlPorts;
    } else if (line.rfind("#@ui", 0) == 0) {
      if (withUi) out << line.substr(4) << "\n";
    } else {
      out << line << "\n";
    }
  }
  out.close();
  if (!out) {
    std::cerr << "ondrel-lv2-turtle: cannot write " << target << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--with-ui")) {
    std::cerr << "Usage: ondrel-lv2-turtle SOURCE_DIR BUNDLE_DIR [--with-ui]\n";
    return 2;
  }
  const bool withUi = args.size() == 3;
  std::string controlPorts;
  if (!ControlPorts(controlPorts)) return 1;
  const bool written = Expand(args[0] + "/Ondrel.ttl.in", args[1] + "/Ondrel.ttl", withUi, controlPorts) &&
                       Expand(args[0] + "/manifest.ttl.in", args[1] + "/manifest.ttl", withUi, "");
  return written ? 0 : 1;
}
