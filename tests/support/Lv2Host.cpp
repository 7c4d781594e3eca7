#include "Lv2Host.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lv2host {

const LV2_Descriptor* Descriptor(uint32_t index) {
  static LV2_Descriptor_Function entry = [] {
    const char* path = ONDREL_LV2_BUNDLE "/Ondrel_dsp.so";
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    void* symbol = library ? dlsym(library, "lv2_descriptor") : nullptr;
    if (!symbol) {
      std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
      std::abort();
    }
    LV2_Descriptor_Function function;
    std::memcpy(&function, &symbol, sizeof function);
    return function;
  }();
  return entry(index);
}

Instance::Instance(double rate, bool activate) : descriptor_(Descriptor(0)) {
  std::memcpy(control, kDefaults, sizeof control);
  const LV2_Feature* const noFeatures[] = {nullptr};
  handle_ = descriptor_->instantiate(descriptor_, rate, ONDREL_LV2_BUNDLE "/", noFeatures);
  if (!handle_) return;
  for (uint32_t i = 0; i < kControls; ++i) Connect(kFirstControlPort + i, &control[i]);
  if (activate) Activate();
}

Instance::~Instance() {
  if (!handle_) return;
  if (active_) Deactivate();
  descriptor_->cleanup(handle_);
}

void Instance::Activate() {
  descriptor_->activate(handle_);
  active_ = true;
}

void Instance::Deactivate() {
  descriptor_->deactivate(handle_);
  active_ = false;
}

void Instance::Connect(uint32_t port, void* data) { descriptor_->connect_port(handle_, port, data); }

void Instance::Run(float* in, float* left, float* right, uint32_t frames) {
  Connect(0, in);
  Connect(1, left);
  Connect(2, right);
  descriptor_->run(handle_, frames);
}

}  // namespace lv2host
