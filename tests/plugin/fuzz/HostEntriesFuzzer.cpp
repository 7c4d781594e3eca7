// Drives the plug-in's host entries with whatever a fuzzer makes up: opcodes,
// indices, values, raw float bits (NaN, infinities, huge), block sizes and
// sample rates, in any order, across instance lifetimes. Text buffers are as
// small as a host may make them, so that a text one byte too long is caught.
// Then the host behaves again, and the sound must come back at once.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "host/AudioEffect.h"
#include "host/QuietHost.h"

namespace {

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

// What a host offers for each text opcode: the 9 bytes the VST 2 interface
// promises for displays and labels (kVstMaxParamStrLen 8 and the zero), the
// 12 the plug-in's names take, 25 for the program name.
size_t TextBufferSize(int32_t opcode) {
  switch (opcode) {
    case effGetParamLabel:
    case effGetParamDisplay: return 9;
    case effGetParamName: return 12;
    case effGetProgramName: return 25;
    default: return 0;
  }
}

// A host that behaves again: in-range parameters (bass mode on, so that the
// band split runs), a common rate, a resume, and a block of a plain bass
// line. Every sample must be finite.
void RequireSoundAgain(AEffect* e) {
  const float settings[] = {1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, 0.6f, 1.0f, 1.0f};
  for (int32_t index = 0; index < 9; ++index) e->setParameter(e, index, settings[index]);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  std::vector<float> in(1024), left(1024), right(1024);
  for (size_t n = 0; n < in.size(); ++n) in[n] = static_cast<float>(0.5 * std::sin(0.01 * static_cast<double>(n)));
  float* inputs[1] = {in.data()};
  float* outputs[2] = {left.data(), right.data()};
  e->processReplacing(e, inputs, outputs, static_cast<int32_t>(in.size()));
  for (size_t n = 0; n < in.size(); ++n) {
    if (!std::isfinite(left[n]) || !std::isfinite(right[n])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes(data, size);
  TAudioEffect* object = createEffectInstance(QuietHost);
  AEffect* e = object->getAeffect();
  std::vector<float> in(4096), left(4096), right(4096);

  while (!bytes.empty()) {
    const uint8_t action = bytes.take<uint8_t>() % 6;
    switch (action) {
      case 0: {
        const int32_t index = bytes.take<int8_t>();
        e->setParameter(e, index, bytes.take<float>());
        break;
      }
      case 1: (void)e->getParameter(e, bytes.take<int8_t>()); break;
      case 2: {
        int32_t opcode = bytes.take<uint8_t>() % 26;
        const int32_t index = bytes.take<int16_t>();
        const intptr_t value = bytes.take<int32_t>();
        const float opt = bytes.take<float>();
        // A parent window or rectangle pointer would have to be real; the
        // text opcodes get a buffer of the host's size or none. A buffer of
        // its own on the heap, so that one byte past its end is caught.
        std::unique_ptr<char[]> text;
        if (opcode == effSetProgramName && (value & 1)) {
          const size_t length = bytes.take<uint8_t>();
          text.reset(new char[length + 1]);
          for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(bytes.take<uint8_t>() | 1);
          text[length] = '\0';
        } else if (const size_t capacity = TextBufferSize(opcode); capacity > 0 && (value & 1)) {
          text.reset(new char[capacity]);
          std::memset(text.get(), 'x', capacity);
        }
        if (opcode == effClose) {
          e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
          object = createEffectInstance(QuietHost);
          e = object->getAeffect();
          break;
        }
        e->dispatcher(e, opcode, index, value, text.get(), opt);
        break;
      }
      case 3: e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, bytes.take<float>()); break;
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
  RequireSoundAgain(e);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
