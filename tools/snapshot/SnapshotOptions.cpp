#include "SnapshotOptions.h"

namespace snapshot {

namespace {
bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  options = Options();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    }
    if (arg == "--version") {
      options.version = true;
      return true;
    }
    if (arg == "--set") {
      if (i + 1 >= args.size()) {
        error = "--set needs NAME=VALUE";
        return false;
      }
      const std::string& assignment = args[++i];
      render::ParameterSetting setting;
      if (!render::SplitSetting(assignment, setting)) {
        error = "--set needs NAME=VALUE, not '" + assignment + "'";
        return false;
      }
      options.settings.push_back(setting);
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (options.output.empty()) {
      options.output = arg;
    } else {
      error = "only one output file, not also " + arg;
      return false;
    }
  }
  if (options.output.empty()) {
    error = "no output file given";
    return false;
  }
  if (!EndsWith(options.output, ".png") && !EndsWith(options.output, ".PNG")) {
    error = "the output is a PNG picture: its name must end in .png, not '" + options.output + "'";
    return false;
  }
  return true;
}

std::string Usage() {
  return "usage: ondrel-snapshot OUT.png [--set NAME=VALUE ...]\n"
         "       ondrel-snapshot --version\n"
         "  Writes the plug-in's editor as a host shows it, 560 by 291 pixels.\n"
         "  --set NAME=VALUE  a parameter by name or index, a value from 0 to 1 or a\n"
         "                    word the plug-in shows (--set \"Stereo Mode\"=Haas)\n";
}

}  // namespace snapshot
