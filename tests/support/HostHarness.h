// A small host for tests: loads the built plug-in through its exported entry
// point, records every call the plug-in makes back, and wraps an instance.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "host/VstAbi.h"
#include "tools/hostkit/PluginLibrary.h"

namespace harness {

struct HostCall {
  AEffect* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

// What the recording host answers to audioMasterVersion; other requests get 0.
extern intptr_t versionAnswer;
extern std::vector<HostCall> hostCalls;

intptr_t VSTCALLBACK RecordingHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt);

// The plug-in library, loaded once for the whole test program.
const hostkit::PluginLibrary& Plugin();

// One instance of the plug-in, closed with effClose when it goes.
class Instance {
 public:
  Instance();
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* record() const { return effect_; }
  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  void setParameter(int32_t index, float value) { effect_->setParameter(effect_, index, value); }
  float getParameter(int32_t index) { return effect_->getParameter(effect_, index); }
  // The zero-terminated text an opcode writes into a fresh buffer.
  std::string text(int32_t opcode, int32_t index = 0);
  // Closes now; the destructor then does nothing.
  intptr_t close();

 private:
  AEffect* effect_ = nullptr;
};

}  // namespace harness
