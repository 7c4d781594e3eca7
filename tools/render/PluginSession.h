// One instance of a VST 2 plug-in, driven as a host drives it: only through
// the library's entry point and the effect record it returns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/VstAbi.h"
#include "tools/hostkit/PluginLibrary.h"

namespace render {

class PluginSession {
 public:
  // Loads the library, calls its entry point and opens the effect (effOpen).
  // On failure returns null and a one-line reason.
  static std::unique_ptr<PluginSession> Load(const std::string& path, std::string& error);
  // The same for a plug-in built into this program: entry is called as a
  // library's entry point would be, and name stands for the path in
  // messages. The effect's effClose ends it, as for a loaded one.
  static std::unique_ptr<PluginSession> Adopt(hostkit::PluginEntryProc entry, const std::string& name,
                                              std::string& error);
  ~PluginSession();  // stops processing if needed, then effClose

  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  const AEffect& record() const { return *effect_; }
  // For what a host does beyond rendering, such as opening the editor.
  AEffect* effect() const { return effect_; }
  const std::string& path() const { return path_; }
  const std::string& entryName() const { return entryName_; }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

  int parameterCount() const;
  std::vector<std::string> ParameterNames();
  std::string ParameterName(int index);
  std::string ParameterDisplay(int index);
  std::string ParameterLabel(int index);
  std::string ProgramName();
  float GetParameter(int index);
  void SetParameter(int index, float value);
  // What the plug-in shows for value, leaving the parameter as it was.
  std::string DisplayAt(int index, float value);

  // Checks that the record can be rendered with (one input channel is fed to
  // every input; the first two outputs are kept) and chooses the process
  // entry. A plug-in without the replacing entry falls back to accumulating.
  bool PrepareToRender(bool accumulate, std::string& error, std::string& note);

  // effSetSampleRate, effSetBlockSize, effMainsChanged(1).
  void Start(float sampleRate, int32_t blockSize);
  // One process call of count frames, at most the announced block size.
  void Process(const float* mono, float* left, float* right, int32_t count);
  // effMainsChanged(0).
  void Stop();

 private:
  PluginSession() = default;
  bool Open(hostkit::PluginEntryProc entry, std::string& error);
  std::string Text(int32_t opcode, int32_t index);

  std::unique_ptr<hostkit::PluginLibrary> library_;  // null for a built-in plug-in
  std::string path_;
  std::string entryName_;
  AEffect* effect_ = nullptr;
  bool running_ = false;
  bool accumulate_ = false;
  std::vector<std::vector<float>> inputs_;
  std::vector<std::vector<float>> outputs_;
  std::vector<float*> inputPointers_;
  std::vector<float*> outputPointers_;
};

}  // namespace render
