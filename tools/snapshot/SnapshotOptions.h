// The command line of ondrel-snapshot.
#pragma once

#include <string>
#include <vector>

#include "tools/render/Options.h"

namespace snapshot {

struct Options {
  std::string Output;
  std::vector<render::ParameterSetting> Settings;  // parsed as ondrel-render parses them
  bool Help = false;
  bool Version = false;
};

// False with a one-line reason for anything it cannot take whole.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string Usage();

}  // namespace snapshot
