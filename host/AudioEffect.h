// The reusable base of a VST 2 effect: owns the effect record the host sees,
// turns the host's calls on it into virtual operations, keeps sample rate,
// block size and program, and wraps the few requests an effect makes of the host.
#pragma once

#include <atomic>
#include <cstdint>

#include "host/VstAbi.h"

class TEffEditor;

class TAudioEffect {
 public:
  TAudioEffect(audioMasterCallback master, int32_t programs, int32_t params);
  virtual ~TAudioEffect();

  TAudioEffect(const TAudioEffect&) = delete;
  TAudioEffect& operator=(const TAudioEffect&) = delete;

  virtual void close();
  virtual void open();
  virtual void resume();
  virtual void suspend();
  virtual void setUniqueID(int32_t id);
  virtual void setUniqueID(const char* code);
  virtual void setNumInputs(int32_t inputs);
  virtual void setNumOutputs(int32_t outputs);
  virtual void setProgram(int32_t program);
  virtual void setProgramName(const char* name);
  virtual void setSampleRate(float newRate);
  virtual void setBlockSize(int32_t newSize);
  virtual int32_t getProgram();
  virtual void getProgramName(char* name);
  virtual void getParameterLabel(int32_t index, char* label);
  virtual void getParameterDisplay(int32_t index, char* text);
  virtual void getParameterName(int32_t index, char* text);
  virtual float getVu();
  virtual float getSampleRate();
  virtual int32_t getBlockSize();
  virtual void canProcessReplacing(bool state);
  virtual int32_t getMasterVersion();
  virtual int32_t getCurrentUniqueId();
  virtual void masterIdle();
  virtual int32_t isInputConnected(int32_t input);
  virtual int32_t isOutputConnected(int32_t output);
  virtual void float2string(float value, char* text);
  virtual void maskFloatExceptions();
  virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
  virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);
  virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  virtual void setParameter(int32_t index, float value);
  virtual float getParameter(int32_t index);
  // Hosts that ask offer automation only for parameters that answer true.
  virtual bool canParameterBeAutomated(int32_t index);
  virtual void setParameterAutomated(int32_t index, float value);
  virtual AEffect* getAeffect();
  virtual void setEditor(TEffEditor* newEditor);
  virtual int32_t getHostVendorString(char* text);
  virtual int32_t getHostProductString(char* text);

  TEffEditor* getEditor() const { return editor; }

  // The object behind a record that one of our entries handed out.
  static TAudioEffect* FromRecord(AEffect* effect);

 protected:
  // Read by the audio thread's coefficient update while the host may set it.
  std::atomic<float> sampleRate{44100.0f};
  TEffEditor* editor = nullptr;
  audioMasterCallback audioMaster = nullptr;
  int32_t numParams = 0;
  int32_t numPrograms = 0;
  int32_t curProgram = 0;
  char programName[32] = {};
  int32_t blockSize = 1024;
  AEffect cEffect{};

 private:
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  void setFlag(int32_t flag, bool state);

  static intptr_t VSTCALLBACK DispatcherEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                              float opt);
  static void VSTCALLBACK ProcessEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
  static void VSTCALLBACK ProcessReplacingEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
  static void VSTCALLBACK SetParameterEntry(AEffect* effect, int32_t index, float value);
  static float VSTCALLBACK GetParameterEntry(AEffect* effect, int32_t index);
};

// Builds the one effect class of this library. Defined by the plug-in.
TAudioEffect* createEffectInstance(audioMasterCallback audioMaster);
