// The command line of ondrel-render: what the user asked for, checked for
// form only. Nothing here touches files or the plug-in.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace render {

enum class OutputFormat { Float32, Pcm16, Pcm24, Flac };

// One --set: the parameter as typed (name or index) and the value as typed
// (a number or a display word), resolved later against the plug-in.
struct ParameterSetting {
  std::string parameter;
  std::string value;
};

struct Options {
  bool help = false;
  bool version = false;
  bool list = false;
  bool accumulate = false;
  std::string input;   // empty: the built-in riff
  std::string output;  // empty: named after the input
  std::optional<OutputFormat> format;
  std::vector<ParameterSetting> settings;
  std::string automationFile;
  double tailSeconds = 0.5;
  int blockSize = 512;
  std::string pluginPath;  // empty: the plug-in beside the program
};

constexpr int kMaxBlockSize = 65536;
constexpr double kMaxTailSeconds = 3600.0;

// Parses the arguments after the program name. On failure returns false with
// a one-line reason.
bool ParseArguments(const std::vector<std::string>& args, Options& options, std::string& error);

std::string UsageText(const std::string& program);

bool ParseFormatName(const std::string& name, OutputFormat& format);

// A --set's NAME=VALUE, split at the last '=': a value never contains one, a
// name might. False for text without '=' or without a name.
bool SplitSetting(const std::string& text, ParameterSetting& setting);
const char* FormatName(OutputFormat format);

struct OutputChoice {
  std::string path;
  OutputFormat format = OutputFormat::Float32;
};

// Settles where the output goes and in which format. Without -o the file is
// STEM-ondrel.wav beside the input (ondrel-demo.wav here for the built-in
// riff); with -o the name's extension must agree with the format, and picks
// it when --format is not given.
bool ChooseOutput(const Options& options, OutputChoice& choice, std::string& error);

}  // namespace render
