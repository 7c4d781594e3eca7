// Drives the plug-in's host entries with whatever a fuzzer makes up: opcodes,
// indices, values, raw float bits (NaN, infinities, huge), block sizes and
// sample rates, in any order, across instance lifetimes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "AudioEffect.h"

namespace {

intptr_t VSTCALLBACK Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  template <typename T>
  T take() {
    T value{};
    uint8_t raw[sizeof(T)] = {};
    for (size_t i = 0; i < sizeof(T) && pos_ < size_; ++i) raw[i] = data_[pos_++];
    std::memcpy(&value, raw, sizeof(T));
    return value;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes(data, size);
  TAudioEffect* object = createEffectInstance(Host);
  AEffect* e = object->getAeffect();
  std::vector<float> in(4096), left(4096), right(4096);
  char text[256];

  while (!bytes.empty()) {
    const uint8_t action = bytes.take<uint8_t>() % 6;
    switch (action) {
      case 0: {
        const int32_t index = bytes.take<int8_t>();
        e->setParameter(e, index, bytes.take<float>());
        break;
      }
      case 1:
        (void)e->getParameter(e, bytes.take<int8_t>());
        break;
      case 2: {
        int32_t opcode = bytes.take<uint8_t>() % 26;
        const int32_t index = bytes.take<int16_t>();
        const intptr_t value = bytes.take<int32_t>();
        const float opt = bytes.take<float>();
        // A parent window or rectangle pointer would have to be real; the
        // text opcodes get a real buffer or none.
        void* ptr = nullptr;
        if (opcode >= effSetProgramName && opcode <= effGetParamName && (value & 1)) {
          std::memset(text, 'x', sizeof text);
          text[sizeof text - 1] = '\0';
          ptr = text;
        }
        if (opcode == effClose) {
          e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
          object = createEffectInstance(Host);
          e = object->getAeffect();
          break;
        }
        e->dispatcher(e, opcode, index, value, ptr, opt);
        break;
      }
      case 3:
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, bytes.take<float>());
        break;
      case 4:
      case 5: {
        const int32_t frames = bytes.take<int16_t>() % 4097;
        for (int32_t n = 0; n < frames; ++n) in[static_cast<size_t>(n)] = bytes.empty() ? 0.0f : bytes.take<float>();
        float* inputs[1] = {in.data()};
        float* outputs[2] = {left.data(), right.data()};
        if (action == 4)
          e->processReplacing(e, inputs, outputs, frames);
        else
          e->process(e, inputs, outputs, frames);
        break;
      }
    }
  }
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
