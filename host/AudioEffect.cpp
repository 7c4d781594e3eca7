#include "AudioEffect.h"

#include <cstring>

#include "core/FloatGuard.h"
#include "core/Rounding.h"
#include "host/EffEditor.h"
#include "host/TextFormat.h"

TAudioEffect::TAudioEffect(audioMasterCallback master, int32_t programs, int32_t params)
    : audioMaster(master), numParams(params), numPrograms(programs) {
  // C++ reaches the base's own setProgramName here, not a subclass override;
  // a subclass that keeps its own name sets it in its constructor.
  setProgramName("Default");

  std::memset(&cEffect, 0, sizeof cEffect);
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = DispatcherEntry;
  cEffect.process = ProcessEntry;
  cEffect.setParameter = SetParameterEntry;
  cEffect.getParameter = GetParameterEntry;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.version = 1;
  cEffect.processReplacing = ProcessReplacingEntry;

  sampleRate.store(44100.0f, std::memory_order_relaxed);
  blockSize = 1024;
  maskFloatExceptions();
}

TAudioEffect::~TAudioEffect() {
  delete editor;
  editor = nullptr;
}

void TAudioEffect::close() {}
void TAudioEffect::open() {}
void TAudioEffect::resume() {}
void TAudioEffect::suspend() {}

void TAudioEffect::setUniqueID(int32_t id) { cEffect.uniqueID = id; }

void TAudioEffect::setUniqueID(const char* code) {
  if (!code) return;
  uint32_t packed = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t c = static_cast<uint8_t>(code[i]);
    packed = (packed << 8) | c;
    if (c == 0) {  // a shorter text packs as if padded with zeros
      packed <<= 8 * (3 - i);
      break;
    }
  }
  cEffect.uniqueID = static_cast<int32_t>(packed);
}

void TAudioEffect::setNumInputs(int32_t inputs) { cEffect.numInputs = inputs; }
void TAudioEffect::setNumOutputs(int32_t outputs) { cEffect.numOutputs = outputs; }

void TAudioEffect::setProgram(int32_t program) {
  FloatGuard::Apply();
  // There is one program; indices a host cannot mean are ignored.
  if (program >= 0 && program < numPrograms) curProgram = program;
}

void TAudioEffect::setProgramName(const char* name) {
  FloatGuard::Apply();
  if (!name) return;
  TextFormat::CopyText(programName, name, static_cast<int>(sizeof programName) - 1);
}

void TAudioEffect::setSampleRate(float newRate) { sampleRate.store(newRate, std::memory_order_relaxed); }
void TAudioEffect::setBlockSize(int32_t newSize) { blockSize = newSize; }

int32_t TAudioEffect::getProgram() {
  FloatGuard::Apply();
  return curProgram;
}

void TAudioEffect::getProgramName(char* name) {
  FloatGuard::Apply();
  TextFormat::CopyText(name, programName, static_cast<int>(sizeof programName) - 1);
}

void TAudioEffect::getParameterLabel(int32_t, char* label) { TextFormat::CopyText(label, "", 0); }
void TAudioEffect::getParameterDisplay(int32_t, char* text) { TextFormat::CopyText(text, "", 0); }
void TAudioEffect::getParameterName(int32_t, char* text) { TextFormat::CopyText(text, "", 0); }

float TAudioEffect::getVu() { return 0.0f; }
float TAudioEffect::getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
int32_t TAudioEffect::getBlockSize() { return blockSize; }

void TAudioEffect::setFlag(int32_t flag, bool state) {
  if (state)
    cEffect.flags |= flag;
  else
    cEffect.flags &= ~flag;
}

void TAudioEffect::canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }

intptr_t TAudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (!audioMaster) return 0;
  return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

int32_t TAudioEffect::getMasterVersion() { return static_cast<int32_t>(callHost(audioMasterVersion)); }
int32_t TAudioEffect::getCurrentUniqueId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }
void TAudioEffect::masterIdle() { callHost(audioMasterIdle); }

int32_t TAudioEffect::isInputConnected(int32_t input) {
  return static_cast<int32_t>(callHost(audioMasterPinConnected, input, 0));
}

int32_t TAudioEffect::isOutputConnected(int32_t output) {
  return static_cast<int32_t>(callHost(audioMasterPinConnected, output, 1));
}

void TAudioEffect::float2string(float value, char* text) {
  if (!text) return;
  TextFormat::FormatFloat(value, text, TextFormat::LocaleDecimalSeparator());
}

void TAudioEffect::maskFloatExceptions() { FloatGuard::MaskExceptions(); }

void TAudioEffect::processReplacing(float**, float**, int32_t) {}

intptr_t TAudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  // Text and rectangle opcodes need the host's buffer; without one they do nothing.
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effEditOpen:
      if (!ptr) return 0;
      break;
    default: break;
  }

  switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram: setProgram(static_cast<int32_t>(value)); return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(static_cast<const char*>(ptr)); return 0;
    case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 0;
    case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); return 0;
    case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); return 0;
    case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); return 0;
    case effGetVu: return Round(static_cast<double>(getVu()) * 32767.0);
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
    case effMainsChanged:
      if (value == 0)
        suspend();
      else
        resume();
      return 0;
    case effEditGetRect: return editor ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen: return editor ? editor->open(ptr) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify: return kEffectIdentify;
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    default:  // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and the unknown
      return 0;
  }
}

void TAudioEffect::setParameter(int32_t, float) {}
float TAudioEffect::getParameter(int32_t) { return 0.0f; }

// Every parameter is: the host sets them all through setParameter.
bool TAudioEffect::canParameterBeAutomated(int32_t index) { return index >= 0 && index < numParams; }

void TAudioEffect::setParameterAutomated(int32_t index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

AEffect* TAudioEffect::getAeffect() { return &cEffect; }

void TAudioEffect::setEditor(TEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

int32_t TAudioEffect::getHostVendorString(char* text) {
  return static_cast<int32_t>(callHost(audioMasterGetVendorString, 0, 0, text));
}

int32_t TAudioEffect::getHostProductString(char* text) {
  return static_cast<int32_t>(callHost(audioMasterGetProductString, 0, 0, text));
}

TAudioEffect* TAudioEffect::FromRecord(AEffect* effect) {
  return effect ? static_cast<TAudioEffect*>(effect->object) : nullptr;
}

// The static entries: the host's way in. Each reloads the floating-point
// guard first (the host may have unmasked exceptions) and lets no exception
// escape into the host.

intptr_t VSTCALLBACK TAudioEffect::DispatcherEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                   void* ptr, float opt) {
  FloatGuard::Apply();
  TAudioEffect* object = FromRecord(effect);
  if (!object) return 0;
  try {
    const intptr_t result = object->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
      delete object;
      return 1;
    }
    return result;
  } catch (...) {
    return 0;
  }
}

void VSTCALLBACK TAudioEffect::ProcessEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  FloatGuard::Apply();
  if (TAudioEffect* object = FromRecord(effect)) object->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK TAudioEffect::ProcessReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                     int32_t sampleFrames) {
  FloatGuard::Apply();
  if (TAudioEffect* object = FromRecord(effect)) object->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK TAudioEffect::SetParameterEntry(AEffect* effect, int32_t index, float value) {
  FloatGuard::Apply();
  if (TAudioEffect* object = FromRecord(effect)) object->setParameter(index, value);
}

float VSTCALLBACK TAudioEffect::GetParameterEntry(AEffect* effect, int32_t index) {
  FloatGuard::Apply();
  TAudioEffect* object = FromRecord(effect);
  return object ? object->getParameter(index) : 0.0f;
}
