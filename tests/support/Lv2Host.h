// A small LV2 host for tests: loads the bundle's Ondrel_dsp.so (once per
// program) and wraps one instance, its control ports wired to an array of
// its own and its audio ports to whatever buffers each run names.
#pragma once

#include <lv2/core/lv2.h>

#include <cstdint>

namespace lv2host {

constexpr uint32_t kControls = 9;
constexpr uint32_t kFirstControlPort = 3;

// The plug-in's defaults, as the bundle's Turtle gives them to a host.
constexpr float kDefaults[kControls] = {1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, 0.6f, 1.0f, 1.0f};

// lv2_descriptor of the built library; aborts the program if it will not load.
const LV2_Descriptor* Descriptor(uint32_t index);

class Instance {
 public:
  // Instantiates at rate and, unless told not to, activates. ok() tells
  // whether the plug-in built an instance.
  explicit Instance(double rate, bool activate = true);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool ok() const { return handle_ != nullptr; }
  void Activate();
  void Deactivate();
  void Run(float* in, float* left, float* right, uint32_t frames);
  void Connect(uint32_t port, void* data);

  // What the control ports read; a host writes here between runs.
  float control[kControls];

 private:
  const LV2_Descriptor* descriptor_;
  LV2_Handle handle_ = nullptr;
  bool active_ = false;
};

}  // namespace lv2host
