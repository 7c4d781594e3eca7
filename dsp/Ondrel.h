// The plug-in: nine automatable parameters, one program, and the chorus.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "dsp/Filter.h"
#include "dsp/Parameters.h"
#include "host/AudioEffect.h"
#include "host/EditorLink.h"

class TOndrel;

// Builds the editor of a plug-in, which registers itself with it (setEditor).
using TOndrelEditorFactory = TOndrelEditorLink* (*)(TOndrel* plugin);

class TOndrel : public TAudioEffect {
 public:
  // Without a factory the plug-in has no editor (and reports none).
  explicit TOndrel(audioMasterCallback master, TOndrelEditorFactory editorFactory = nullptr);
  ~TOndrel() override;

  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void getParameterName(int32_t index, char* text) override;
  void getParameterDisplay(int32_t index, char* text) override;
  void getParameterLabel(int32_t index, char* label) override;
  void setProgramName(const char* name) override;
  void getProgramName(char* name) override;
  void setSampleRate(float newRate) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

  // Turns the stored parameters and the sample rate into the working values
  // below and redesigns both band-split filters. Any thread, any time.
  void UpdateCoefficients();

  // For the editor: the stored values and the switches derived from them.
  float ParameterValue(int32_t index) const {
    return index >= 0 && index < kNumParameters ? Params[index].load(std::memory_order_relaxed) : 0.0f;
  }
  // Stores without telling the editor: for the editor's own writes.
  void StoreParameter(int32_t index, float value) {
    if (index < 0 || index >= kNumParameters) return;
    Params[index].store(value, std::memory_order_relaxed);
    InputsChanged();
  }
  bool IsBassMode() const { return BassMode.load(std::memory_order_relaxed); }
  bool IsAntiAlias() const { return AntiAlias.load(std::memory_order_relaxed); }
  uint8_t ChannelModeNumber() const { return ChannelMode.load(std::memory_order_relaxed); }
  TOndrelEditorLink* Editor() const { return EditorObject; }

  static constexpr int kPresetNameChars = 24;
  static constexpr int32_t kDelayLineLength = 65536;  // a power of two: every wrap is a mask
  static constexpr uint32_t kDelayLineMask = kDelayLineLength - 1;

 protected:
  // Runs the signal path over one block; Replace chooses between overwriting
  // and adding to the outputs.
  void ProcessBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replace);

  // The band split's share of UpdateCoefficients: both filters designed for
  // the stored cutoff at the current rate, without waiting for any other
  // designer. DesignBandSplit is false when a design had to be dropped.
  void UpdateBandSplit();
  bool DesignBandSplit();
  // One pass of UpdateCoefficients: every working value from the stored
  // parameters and the rate as they are now.
  void ComputeWorkingValues();
  // After a parameter or the rate is stored, before the update it causes.
  void InputsChanged() { InputsVersion.fetch_add(1, std::memory_order_seq_cst); }

  // Name of the one program: a length and at most 24 characters.
  struct {
    uint8_t length = 0;
    char text[kPresetNameChars] = {};
  } PresetName;

  // The audio thread's own state: only ProcessBlock touches it, and Busy
  // keeps two blocks from running at once.
  std::unique_ptr<float[]> DelayLineA;
  std::unique_ptr<float[]> DelayLineB;
  std::unique_ptr<tFilterSV> HighPass;
  std::unique_ptr<tFilterSV> LowPass;
  int32_t WritePos = 0;  // moves downwards
  int32_t LfoStep = 1;
  int32_t LfoPos = 0;

  // Written by the host's or the editor's thread, read by the audio thread.
  std::atomic<float> Params[kNumParameters];

  // Working values: written by UpdateCoefficients on whichever thread
  // changes a parameter, read afresh by the audio thread on every frame.
  // Single fields, no ordering between them is relied on: every delay-line
  // index is masked whatever they hold.
  std::atomic<bool> BassMode{false};
  std::atomic<uint8_t> ChannelMode{0};
  std::atomic<bool> AntiAlias{false};
  std::atomic<int32_t> BaseDelay{0};
  std::atomic<int32_t> ModDepth{0};
  std::atomic<int32_t> LfoHalfPeriod{0};

  std::atomic<bool> Busy{false};
  // Counts the changes of what the working values are made from. Two threads
  // may update at once; the one that read the older values could publish
  // last and leave the sound disagreeing with the parameters. An update that
  // sees the count move while it worked computes again.
  std::atomic<uint32_t> InputsVersion{0};
  // A band-split design was dropped: the next designer to finish designs again.
  std::atomic<bool> BandSplitPending{false};

  // Owned by the effect base once it registered itself; null without one.
  TOndrelEditorLink* EditorObject = nullptr;
};
