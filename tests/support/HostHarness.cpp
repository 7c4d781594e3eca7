#include "HostHarness.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "host/QuietHost.h"

namespace harness {

intptr_t versionAnswer = kQuietHostVersion;
std::vector<HostCall> hostCalls;

intptr_t VSTCALLBACK RecordingHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt) {
  hostCalls.push_back({effect, opcode, index, value, ptr, opt});
  return opcode == audioMasterVersion ? versionAnswer : 0;
}

const hostkit::PluginLibrary& Plugin() {
  static std::unique_ptr<hostkit::PluginLibrary> library = [] {
    std::string error;
    auto loaded = hostkit::PluginLibrary::Open(hostkit::DefaultPluginPath(), error);
    if (!loaded) {
      std::fprintf(stderr, "cannot load the plug-in: %s\n", error.c_str());
      std::abort();
    }
    return loaded;
  }();
  return *library;
}

Instance::Instance() {
  versionAnswer = kQuietHostVersion;
  effect_ = Plugin().entry()(RecordingHost);
  if (!effect_) {
    std::fprintf(stderr, "the plug-in returned no effect record\n");
    std::abort();
  }
}

Instance::~Instance() {
  if (effect_) close();
}

intptr_t Instance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string Instance::text(int32_t opcode, int32_t index) {
  char buffer[256];
  std::memset(buffer, 0x7F, sizeof buffer);
  buffer[sizeof buffer - 1] = '\0';
  dispatch(opcode, index, 0, buffer);
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

intptr_t Instance::close() {
  const intptr_t result = dispatch(effClose);
  effect_ = nullptr;
  return result;
}

}  // namespace harness
