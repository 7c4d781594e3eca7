// The plug-in: nine automatable parameters, one program, and the chorus.
#pragma once

#include <atomic>
#include <cstdint>

#include "AudioEffect.h"
#include "Parameters.h"

class TOndrel : public TAudioEffect {
 public:
  explicit TOndrel(audioMasterCallback audioMaster);
  ~TOndrel() override;

  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void getParameterName(int32_t index, char* text) override;
  void getParameterDisplay(int32_t index, char* text) override;
  void getParameterLabel(int32_t index, char* label) override;
  void setProgramName(const char* name) override;
  void getProgramName(char* name) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

  // Turns the stored parameters and the sample rate into working values.
  void UpdateCoefficients();

  static constexpr int kPresetNameChars = 24;

 protected:
  void ProcessBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replace);

  // Name of the one program: a length and at most 24 characters.
  struct {
    uint8_t length = 0;
    char text[kPresetNameChars] = {};
  } PresetName;

  // Written by the host's or the editor's thread, read by the audio thread.
  std::atomic<float> Params[kNumParameters];

  std::atomic<bool> Busy{false};
};
