// The command line of ondrel-snapshot.
#pragma once

#include <string>
#include <vector>

#include "tools/render/Options.h"

namespace snapshot {

struct Options {
  std::string output;
  std::vector<render::ParameterSetting> settings;  // parsed as ondrel-render parses them
  bool help = false;
  bool version = false;
};

// False with a one-line reason for anything it cannot take whole.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string Usage();

}  // namespace snapshot
