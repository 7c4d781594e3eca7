// The LV2 face of the sound: one plug-in, urn:ondrel-audio:ondrel, built on
// the very effect object the VST 2 library hands its hosts, without an editor.
// Every call goes through the effect record's own entries (parameter set,
// replacing process, dispatcher), so the float guard, the working-value
// update and every mend behind them apply here as they do there, and the
// same values give the same samples.
#include <lv2/core/lv2.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "core/FloatGuard.h"
#include "host/AudioEffect.h"
#include "host/QuietHost.h"
#include "plugin/lv2/Lv2Ports.h"

namespace {

using namespace ondrel_lv2;

struct Instance {
  AEffect* effect = nullptr;
  float* input = nullptr;
  float* outputs[kAudioOutputs] = {};
  const float* controls[kControlPorts] = {};
  // The bits of the value each control last handed to the effect. Bits, not
  // floats: a port holding NaN is handed over once, not on every block.
  uint32_t sent[kControlPorts] = {};
};

uint32_t BitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float FloatOf(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The VST 2 rate is a float: the host's double as a VST 2 host would pass
// it, with the doubles beyond the float range (whose conversion C++ leaves
// undefined) taken to the infinities they round to.
float RateAsFloat(double rate) {
  if (std::isnan(rate)) return std::numeric_limits<float>::quiet_NaN();
  if (rate > static_cast<double>(FLT_MAX)) return std::numeric_limits<float>::infinity();
  if (rate < -static_cast<double>(FLT_MAX)) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(rate);
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, intptr_t value = 0, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
}

LV2_Handle Instantiate(const LV2_Descriptor* /*descriptor*/, double rate, const char* /*bundlePath*/,
                       const LV2_Feature* const* /*features*/) {
  FloatGuard::Apply();
  try {
    std::unique_ptr<Instance> self(new Instance());
    TAudioEffect* object = createEffectInstance(QuietHost);
    if (!object) return nullptr;
    AEffect* effect = object->getAeffect();
    // From here the effect's own close frees it.
    if (effect->numInputs != kAudioInputs || effect->numOutputs != kAudioOutputs ||
        effect->numParams != static_cast<int32_t>(kControlPorts) || !effect->processReplacing) {
      Dispatch(effect, effClose);
      return nullptr;
    }
    self->effect = effect;
    Dispatch(effect, effOpen);
    Dispatch(effect, effSetSampleRate, 0, RateAsFloat(rate));
    for (uint32_t i = 0; i < kControlPorts; ++i)
      self->sent[i] = BitsOf(effect->getParameter(effect, static_cast<int32_t>(i)));
    return self.release();
  } catch (...) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) {
  Instance* self = static_cast<Instance*>(handle);
  float* samples = static_cast<float*>(data);
  if (port == kPortIn) {
    self->input = samples;
  } else if (port >= kPortOutLeft && port < kPortOutLeft + kAudioOutputs) {
    self->outputs[port - kPortOutLeft] = samples;
  } else if (port >= kFirstControlPort && port < kPortCount) {
    self->controls[port - kFirstControlPort] = samples;
  }
}

void Activate(LV2_Handle handle) {
  FloatGuard::Apply();
  Dispatch(static_cast<Instance*>(handle)->effect, effMainsChanged, 1);
}

void Run(LV2_Handle handle, uint32_t sampleCount) {
  FloatGuard::Apply();
  Instance* self = static_cast<Instance*>(handle);
  AEffect* effect = self->effect;
  // Only the controls that moved: each set redesigns the band split.
  for (uint32_t i = 0; i < kControlPorts; ++i) {
    if (!self->controls[i]) continue;
    uint32_t bits;
    std::memcpy(&bits, self->controls[i], sizeof bits);
    if (bits == self->sent[i]) continue;
    self->sent[i] = bits;
    effect->setParameter(effect, static_cast<int32_t>(i), FloatOf(bits));
  }

  float* inputs[kAudioInputs] = {self->input};
  float* outputs[kAudioOutputs] = {self->outputs[0], self->outputs[1]};
  // The VST 2 entry counts frames in an int32; LV2's count may be larger.
  while (sampleCount > 0) {
    const uint32_t frames = sampleCount < INT32_MAX ? sampleCount : static_cast<uint32_t>(INT32_MAX);
    effect->processReplacing(effect, inputs, outputs, static_cast<int32_t>(frames));
    sampleCount -= frames;
    if (sampleCount == 0) break;
    if (inputs[0]) inputs[0] += frames;
    for (float*& output : outputs) {
      if (output) output += frames;
    }
  }
}

void Deactivate(LV2_Handle handle) {
  FloatGuard::Apply();
  Dispatch(static_cast<Instance*>(handle)->effect, effMainsChanged, 0);
}

void Cleanup(LV2_Handle handle) {
  FloatGuard::Apply();
  Instance* self = static_cast<Instance*>(handle);
  Dispatch(self->effect, effClose);
  delete self;
}

const void* ExtensionData(const char* /*uri*/) { return nullptr; }

const LV2_Descriptor kDescriptor = {kPluginUri, Instantiate, ConnectPort, Activate,
                                    Run,        Deactivate,  Cleanup,     ExtensionData};

// As in the VST 2 library: the process default is established at load.
__attribute__((constructor)) void OndrelLv2StartUp() { FloatGuard::EstablishProcessDefault(); }

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
