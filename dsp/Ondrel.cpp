#include "Ondrel.h"

#include <algorithm>
#include <cstring>

#include "core/FloatGuard.h"
#include "host/TextFormat.h"

TOndrel::TOndrel(audioMasterCallback master, TOndrelEditorFactory editorFactory)
    : TAudioEffect(master, 1, kNumParameters) {
  setNumInputs(1);
  setNumOutputs(2);
  setUniqueID("Odrl");
  canProcessReplacing(true);
  setProgramName("Default");

  // The delay lines start silent; the LFO starts rising from 0.
  DelayLineA.reset(new float[kDelayLineLength]());
  DelayLineB.reset(new float[kDelayLineLength]());
  WritePos = 0;
  LfoStep = 1;
  LfoPos = 0;
  Busy.store(false, std::memory_order_relaxed);

  for (int i = 0; i < kNumParameters; ++i) Params[i].store(kParameters[i].defaultValue, std::memory_order_relaxed);

  HighPass.reset(new tFilterSV());
  LowPass.reset(new tFilterSV());
  UpdateCoefficients();

  if (editorFactory != nullptr) EditorObject = editorFactory(this);
}

// The delay lines and filters go with the members, before the base frees
// the editor; the editor's window and timers stop first, so that nothing of
// it reaches a plug-in that is half gone.
TOndrel::~TOndrel() {
  if (EditorObject != nullptr) EditorObject->pluginClosing();
}

void TOndrel::setParameter(int32_t index, float value) {
  FloatGuard::Apply();
  if (index >= 0 && index < kNumParameters) {
    Params[index].store(value, std::memory_order_relaxed);
    InputsChanged();
  }
  UpdateCoefficients();
  if (EditorObject != nullptr) EditorObject->parameterChanged(static_cast<uint32_t>(index));
}

float TOndrel::getParameter(int32_t index) {
  FloatGuard::Apply();
  if (index < 0 || index >= kNumParameters) return 0.0f;
  return Params[index].load(std::memory_order_relaxed);
}

void TOndrel::getParameterName(int32_t index, char* text) {
  FloatGuard::Apply();
  if (!text || index < 0 || index >= kNumParameters) return;
  // The whole 11-character name: hosts offer more than the 9 bytes promised.
  std::memcpy(text, kParameters[index].name, 12);
}

void TOndrel::getParameterDisplay(int32_t index, char* text) {
  FloatGuard::Apply();
  if (!text || index < 0 || index >= kNumParameters) return;
  const ParameterInfo& info = kParameters[index];
  const float value = Params[index].load(std::memory_order_relaxed);
  switch (info.display) {
    case DisplayRule::YesNo:
      TextFormat::CopyText(text, IsSwitchOn(value) ? "Yes     " : "No      ", TextFormat::kDisplayChars);
      break;
    case DisplayRule::CutoffHz: float2string(CutoffFrequency(value), text); break;
    case DisplayRule::Scaled: {
      const float shown = static_cast<float>(static_cast<double>(info.displayScale) * value);
      float2string(shown, text);
      break;
    }
    case DisplayRule::ChannelMode: {
      const uint8_t mode = ChannelModeOf(value);
      if (mode <= cmHaas) TextFormat::CopyText(text, kChannelModeNames[mode], TextFormat::kDisplayChars);
      break;
    }
  }
}

void TOndrel::getParameterLabel(int32_t index, char* label) {
  FloatGuard::Apply();
  if (!label || index < 0 || index >= kNumParameters) return;
  TextFormat::CopyText(label, kParameterLabel, TextFormat::kDisplayChars);
}

void TOndrel::setProgramName(const char* name) {
  FloatGuard::Apply();
  if (!name) return;
  const size_t length = std::min<size_t>(std::strlen(name), kPresetNameChars);
  std::memcpy(PresetName.text, name, length);
  PresetName.length = static_cast<uint8_t>(length);
}

void TOndrel::getProgramName(char* name) {
  FloatGuard::Apply();
  if (!name) return;
  std::memcpy(name, PresetName.text, PresetName.length);
  name[PresetName.length] = '\0';
}

void TOndrel::setSampleRate(float newRate) {
  FloatGuard::Apply();
  TAudioEffect::setSampleRate(newRate);
  InputsChanged();
  // Delays, LFO period and split frequency are in samples: without this a
  // host that changes the rate and restores no parameter would hear them
  // at the old rate.
  UpdateCoefficients();
}

void TOndrel::process(float** inputs, float** outputs, int32_t sampleFrames) {
  ProcessBlock(inputs, outputs, sampleFrames, false);
}

void TOndrel::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  ProcessBlock(inputs, outputs, sampleFrames, true);
}
