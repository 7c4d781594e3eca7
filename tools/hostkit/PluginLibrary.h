// Host side: loads a VST 2 plug-in library and finds its entry point, as a
// host does (VSTPluginMain first, then main).
#pragma once

#include <memory>
#include <string>

#include "host/VstAbi.h"

namespace hostkit {

typedef AEffect*(VSTCALLBACK* PluginEntryProc)(audioMasterCallback audioMaster);

class PluginLibrary {
 public:
  // Loads the library at path. On failure returns null and a one-line reason.
  static std::unique_ptr<PluginLibrary> Open(const std::string& path, std::string& error);
  ~PluginLibrary();

  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  PluginEntryProc entry() const { return entry_; }
  const std::string& entryName() const { return entryName_; }
  const std::string& path() const { return path_; }

 private:
  PluginLibrary() = default;
  void* handle_ = nullptr;
  PluginEntryProc entry_ = nullptr;
  std::string entryName_;
  std::string path_;
};

// The folder of the running program, with a trailing separator.
std::string ExecutableDirectory();

// The Ondrel plug-in built beside the running program.
std::string DefaultPluginPath();

}  // namespace hostkit
