// The LV2 editor's parameters: the host's nine control ports (port 3 + the
// parameter index), as the editor object sees them.
//
// Threads. The host's UI thread delivers port events and calls idle; the
// editor stores its own writes from the window thread. The values are single
// atomic fields; which values the editor stored since the last flush is one
// atomic bit set. The host hears of the editor's writes only from its own UI
// thread, in Flush, because hosts may do anything there (touch their
// toolkit, record automation) that is not safe on a thread of ours.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/ParameterRules.h"
#include "editor/ParameterAccess.h"
#include "plugin/lv2/Lv2Ports.h"

class TPortLink final : public TParameterAccess {
 public:
  // Every value at the plug-in's default, which is also what the host holds
  // until it says otherwise.
  TPortLink();

  // The host's value of a control, from its UI thread. True when the editor
  // does not show it yet (the caller then tells the editor).
  bool HostValue(int32_t index, float value);

  // Sends every control the editor stored since the last call and the host
  // does not hold yet, as one float through `write` each. Host's UI thread.
  template <typename Write>
  void Flush(Write&& write);

  float Value(int32_t index) const override;
  bool BassMode() const override { return IsSwitchOn(Value(kBassMode)); }
  bool AntiAlias() const override { return IsSwitchOn(Value(kAntiAlias)); }
  uint8_t ChannelMode() const override { return ChannelModeOf(Value(kStereoMode)); }
  void Store(int32_t index, float value) override;
  // The sound is the host's plug-in instance: it recomputes when the host
  // hands it the written values.
  void Recompute() override {}

 private:
  static bool Valid(int32_t index) { return index >= 0 && index < kNumParameters; }

  std::atomic<float> values_[kNumParameters];
  // What the host holds, as far as it told us or we told it. UI thread only.
  float hostValues_[kNumParameters];
  // Bit i: the editor stored parameter i since the last flush.
  std::atomic<uint32_t> stored_{0};
};

template <typename Write>
void TPortLink::Flush(Write&& write) {
  uint32_t stored = stored_.exchange(0, std::memory_order_acquire);
  for (int32_t index = 0; stored != 0; ++index, stored >>= 1) {
    if ((stored & 1u) == 0) continue;
    const float value = values_[index].load(std::memory_order_relaxed);
    if (value == hostValues_[index]) continue;
    hostValues_[index] = value;
    write(ondrel_lv2::kFirstControlPort + static_cast<uint32_t>(index), value);
  }
}
