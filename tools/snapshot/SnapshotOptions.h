// The command line of ondrel-snapshot.
#pragma once

#include <string>
#include <vector>

namespace snapshot {

struct Setting {
  std::string Name;
  std::string Value;
};

struct Options {
  std::string Output;
  std::vector<Setting> Settings;
  bool Help = false;
};

// False with a one-line reason for anything it cannot take whole.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string Usage();

}  // namespace snapshot
