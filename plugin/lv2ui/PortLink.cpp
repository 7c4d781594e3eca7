#include "PortLink.h"

#include "dsp/Parameters.h"

TPortLink::TPortLink() {
  for (int32_t index = 0; index < kNumParameters; ++index) {
    values_[index].store(kParameters[index].defaultValue, std::memory_order_relaxed);
    hostValues_[index] = kParameters[index].defaultValue;
  }
}

bool TPortLink::HostValue(int32_t index, float value) {
  if (!Valid(index)) return false;
  // The host's word is the newest: a write of ours not sent yet now equals
  // what the host holds, so Flush drops it.
  hostValues_[index] = value;
  // An echo of what the editor shows already changes nothing on the form.
  if (values_[index].load(std::memory_order_relaxed) == value) return false;
  values_[index].store(value, std::memory_order_relaxed);
  return true;
}

float TPortLink::Value(int32_t index) const {
  return Valid(index) ? values_[index].load(std::memory_order_relaxed) : 0.0f;
}

void TPortLink::Store(int32_t index, float value) {
  if (!Valid(index)) return;
  values_[index].store(value, std::memory_order_relaxed);
  stored_.fetch_or(1u << index, std::memory_order_release);
}
