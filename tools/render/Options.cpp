#include "Options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace render {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParseSeconds(const std::string& text, double& seconds) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return false;
  seconds = value;
  return true;
}

bool ParseCount(const std::string& text, long& count) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  count = value;
  return true;
}

// The file name part of a path, and the folder part with its trailing slash.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  const size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".wav" of "take.1.WAV"; empty when there is none. A leading dot names a
// hidden file, not an extension.
std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return "";
  return Lower(name.substr(dot));
}

const char* ExtensionFor(OutputFormat format) { return format == OutputFormat::Flac ? ".flac" : ".wav"; }

}  // namespace

bool ParseFormatName(const std::string& name, OutputFormat& format) {
  const std::string key = Lower(name);
  if (key == "float32" || key == "float") {
    format = OutputFormat::Float32;
  } else if (key == "pcm16") {
    format = OutputFormat::Pcm16;
  } else if (key == "pcm24") {
    format = OutputFormat::Pcm24;
  } else if (key == "flac") {
    format = OutputFormat::Flac;
  } else {
    return false;
  }
  return true;
}

const char* FormatName(OutputFormat format) {
  switch (format) {
    case OutputFormat::Float32: return "float32";
    case OutputFormat::Pcm16: return "pcm16";
    case OutputFormat::Pcm24: return "pcm24";
    case OutputFormat::Flac: return "flac";
  }
  return "float32";
}

bool SplitSetting(const std::string& text, ParameterSetting& setting) {
  const size_t split = text.rfind('=');
  if (split == std::string::npos || split == 0) return false;
  setting = {text.substr(0, split), text.substr(split + 1)};
  return true;
}

namespace {

// One option word with the means to take its value: both "--tail 2" and
// "--tail=2"; "-o" takes its value from the next word.
class OptionWord {
 public:
  OptionWord(const std::vector<std::string>& args, size_t& at, std::string& error)
      : args_(args), at_(at), error_(error), name_(args[at]) {
    const size_t equals = name_.find('=');
    if (name_.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      inlineValue_ = name_.substr(equals + 1);
      name_.resize(equals);
    }
  }

  const std::string& name() const { return name_; }

  bool TakeValue(std::string& value) {
    if (inlineValue_) {
      value = *inlineValue_;
      return true;
    }
    if (at_ + 1 >= args_.size()) return Fail("option " + name_ + " needs a value");
    value = args_[++at_];
    return true;
  }

  bool TakeFileName(std::string& path) {
    std::string value;
    if (!TakeValue(value)) return false;
    if (value.empty()) return Fail("option " + name_ + " needs a file name");
    path = value;
    return true;
  }

  bool TakeNoValue() { return !inlineValue_ || Fail("option " + name_ + " takes no value"); }

  bool Fail(const std::string& reason) {
    error_ = reason;
    return false;
  }

 private:
  const std::vector<std::string>& args_;
  size_t& at_;
  std::string& error_;
  std::string name_;
  std::optional<std::string> inlineValue_;
};

// Each option group answers whether the word was one of its options, and if
// so whether it was taken.
enum class Outcome { NotMine, Taken, Failed };

Outcome OutcomeOf(bool taken) { return taken ? Outcome::Taken : Outcome::Failed; }

Outcome Refuse(OptionWord& word, const std::string& reason) {
  word.Fail(reason);
  return Outcome::Failed;
}

// What to do instead of rendering, and how to call the plug-in.
Outcome ParseSwitch(OptionWord& word, Options& options) {
  const std::string& name = word.name();
  bool* flag = nullptr;
  if (name == "-h" || name == "--help") {
    flag = &options.help;
  } else if (name == "--version") {
    flag = &options.version;
  } else if (name == "--list") {
    flag = &options.list;
  } else if (name == "--accumulate") {
    flag = &options.accumulate;
  } else {
    return Outcome::NotMine;
  }
  if (!word.TakeNoValue()) return Outcome::Failed;
  *flag = true;
  return Outcome::Taken;
}

Outcome ParseFileOption(OptionWord& word, Options& options) {
  const std::string& name = word.name();
  if (name == "-o" || name == "--output") return OutcomeOf(word.TakeFileName(options.output));
  if (name == "--plugin") return OutcomeOf(word.TakeFileName(options.pluginPath));
  if (name == "--automate") return OutcomeOf(word.TakeFileName(options.automationFile));
  return Outcome::NotMine;
}

// The shape of the render: output format, tail and block size.
Outcome ParseRenderOption(OptionWord& word, Options& options) {
  const std::string& name = word.name();
  if (name != "--format" && name != "--tail" && name != "--block") return Outcome::NotMine;
  std::string value;
  if (!word.TakeValue(value)) return Outcome::Failed;
  if (name == "--format") {
    OutputFormat format;
    if (!ParseFormatName(value, format)) {
      return Refuse(word, "unsupported format \"" + value + "\" (choose float32, pcm16, pcm24 or flac)");
    }
    options.format = format;
  } else if (name == "--tail") {
    double seconds = 0.0;
    if (!ParseSeconds(value, seconds) || seconds < 0.0 || seconds > kMaxTailSeconds) {
      return Refuse(word, "--tail needs a number of seconds from 0 to 3600, not \"" + value + "\"");
    }
    options.tailSeconds = seconds;
  } else {
    long frames = 0;
    if (!ParseCount(value, frames) || frames < 1 || frames > kMaxBlockSize) {
      return Refuse(word, "--block needs a number of frames from 1 to " + std::to_string(kMaxBlockSize) + ", not \"" +
                              value + "\"");
    }
    options.blockSize = static_cast<int>(frames);
  }
  return Outcome::Taken;
}

Outcome ParseParameterOption(OptionWord& word, Options& options) {
  if (word.name() != "--set") return Outcome::NotMine;
  std::string value;
  if (!word.TakeValue(value)) return Outcome::Failed;
  ParameterSetting setting;
  if (!SplitSetting(value, setting)) return Refuse(word, "--set needs NAME=VALUE, not \"" + value + "\"");
  options.settings.push_back(setting);
  return Outcome::Taken;
}

// Anything not starting with '-' (and "-" alone, or all after "--").
bool TakeInput(const std::string& arg, Options& options, std::string& error) {
  if (!options.input.empty()) {
    error = "more than one input file (" + options.input + ", " + arg + ")";
    return false;
  }
  options.input = arg;
  return true;
}

bool TakeOption(const std::vector<std::string>& args, size_t& at, Options& options, std::string& error) {
  OptionWord word(args, at, error);
  for (auto parse : {ParseSwitch, ParseFileOption, ParseRenderOption, ParseParameterOption}) {
    const Outcome outcome = parse(word, options);
    if (outcome != Outcome::NotMine) return outcome == Outcome::Taken;
  }
  return word.Fail("unknown option " + word.name() + " (see --help)");
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, Options& options, std::string& error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (!TakeInput(arg, options, error)) return false;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (!TakeOption(args, i, options, error)) {
      return false;
    }
  }
  return true;
}

bool ChooseOutput(const Options& options, OutputChoice& choice, std::string& error) {
  if (options.output.empty()) {
    choice.format = options.format.value_or(OutputFormat::Float32);
    if (options.input.empty()) {
      choice.path = std::string("ondrel-demo") + ExtensionFor(choice.format);
      return true;
    }
    std::string folder, name;
    SplitPath(options.input, folder, name);
    const size_t dot = name.rfind('.');
    const std::string stem = (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
    choice.path = folder + stem + "-ondrel" + ExtensionFor(choice.format);
    return true;
  }

  std::string folder, name;
  SplitPath(options.output, folder, name);
  if (name.empty()) {
    error = "output " + options.output + " names a folder, not a file";
    return false;
  }
  const std::string extension = ExtensionOf(name);
  if (extension != ".wav" && extension != ".flac") {
    error =
        "unsupported output format \"" + (extension.empty() ? name : extension) + "\": name the output .wav or .flac";
    return false;
  }
  if (options.format) {
    if (extension != ExtensionFor(*options.format)) {
      error = "output " + options.output + " does not match --format " + FormatName(*options.format) + " (name it " +
              ExtensionFor(*options.format) + ")";
      return false;
    }
    choice.format = *options.format;
  } else {
    choice.format = extension == ".flac" ? OutputFormat::Flac : OutputFormat::Float32;
  }
  choice.path = options.output;
  return true;
}

std::string UsageText(const std::string& program) {
  return "Usage: " + program +
         " [INPUT] [-o OUTPUT] [options]\n"
         "\n"
         "Renders an audio file through the Ondrel chorus (or another VST 2 plug-in)\n"
         "and writes a stereo file at the input's sample rate.\n"
         "\n"
         "INPUT is a WAV, FLAC, AIFF or OGG file. The plug-in has one input, so a file\n"
         "with several channels is mixed down to mono first. Without INPUT a built-in\n"
         "10-second bass riff is rendered.\n"
         "\n"
         "Options:\n"
         "  -o, --output FILE     where to write (default: INPUT's name with -ondrel\n"
         "                        added, beside it; ondrel-demo.wav here for the riff);\n"
         "                        the file appears only when the render is complete\n"
         "  --format FORMAT       float32 (32-bit float WAV, default), pcm16, pcm24\n"
         "                        (WAV) or flac; an output named .flac picks flac\n"
         "  --set NAME=VALUE      set a parameter before rendering, by name (any case)\n"
         "                        or index; VALUE is 0 to 1 or a word the plug-in\n"
         "                        shows, e.g. --set Rate=0.3 --set \"Stereo Mode\"=Haas\n"
         "                        --set \"Bass Mode?\"=No --set 5=0.8 (repeatable)\n"
         "  --automate FILE       change parameters while rendering: one change a line,\n"
         "                        SECONDS NAME VALUE, e.g. \"2.5 Stereo Mode Mono\";\n"
         "                        lines starting with # are comments\n"
         "  --tail SECONDS        silence appended so the echoes ring out (default 0.5)\n"
         "  --block FRAMES        frames per process call (default 512)\n"
         "  --accumulate          use the accumulating process entry instead of the\n"
         "                        replacing one\n"
         "  --plugin PATH         load this VST 2 plug-in instead of the Ondrel built\n"
         "                        beside this program\n"
         "  --list                show the plug-in's record and parameters (after any\n"
         "                        --set), then stop\n"
         "  --version             show the program's version\n"
         "  -h, --help            show this help\n";
}

}  // namespace render
