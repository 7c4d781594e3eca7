// The VST 2 wire structures shared with every host: the effect record, the
// editor rectangle, the callback signatures and the opcode numbers.
//
// On 32-bit x86 every integer, pointer and callback value is 32 bits wide and
// the record is 144 bytes. On 64-bit the pointers, and the dispatcher's and host
// callback's value and result, are pointer-sized (intptr_t), as 64-bit hosts
// expect; the record is then 192 bytes. The layout is asserted below for both.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

// Packs four characters big-endian: first character in the most significant byte.
constexpr int32_t FourCharCode(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}

struct AEffect;

extern "C" {
typedef intptr_t(VSTCALLBACK* audioMasterCallback)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                   void* ptr, float opt);
typedef intptr_t(VSTCALLBACK* AEffectDispatcherProc)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                     void* ptr, float opt);
typedef void(VSTCALLBACK* AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
typedef void(VSTCALLBACK* AEffectProcessDoubleProc)(AEffect* effect, double** inputs, double** outputs,
                                                    int32_t sampleFrames);
typedef void(VSTCALLBACK* AEffectSetParameterProc)(AEffect* effect, int32_t index, float value);
typedef float(VSTCALLBACK* AEffectGetParameterProc)(AEffect* effect, int32_t index);
}

struct AEffect {
  int32_t magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  intptr_t resvd1;
  intptr_t resvd2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  int32_t uniqueID;
  int32_t version;
  AEffectProcessProc processReplacing;
#if INTPTR_MAX == INT32_MAX
  char future[60];
#else
  AEffectProcessDoubleProc processDoubleReplacing;  // stays null: no double-precision path
  char future[56];
#endif
};

struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(AEffect) == 144, "32-bit effect record is 144 bytes");
static_assert(offsetof(AEffect, magic) == 0 && offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, process) == 8 &&
                  offsetof(AEffect, setParameter) == 12 && offsetof(AEffect, getParameter) == 16 &&
                  offsetof(AEffect, numPrograms) == 20 && offsetof(AEffect, numParams) == 24 &&
                  offsetof(AEffect, numInputs) == 28 && offsetof(AEffect, numOutputs) == 32 &&
                  offsetof(AEffect, flags) == 36 && offsetof(AEffect, resvd1) == 40 &&
                  offsetof(AEffect, resvd2) == 44 && offsetof(AEffect, initialDelay) == 48 &&
                  offsetof(AEffect, realQualities) == 52 && offsetof(AEffect, offQualities) == 56 &&
                  offsetof(AEffect, ioRatio) == 60 && offsetof(AEffect, object) == 64 &&
                  offsetof(AEffect, user) == 68 && offsetof(AEffect, uniqueID) == 72 &&
                  offsetof(AEffect, version) == 76 && offsetof(AEffect, processReplacing) == 80 &&
                  offsetof(AEffect, future) == 84,
              "32-bit effect record layout");
#else
static_assert(sizeof(AEffect) == 192, "64-bit effect record is 192 bytes");
static_assert(offsetof(AEffect, magic) == 0 && offsetof(AEffect, dispatcher) == 8 && offsetof(AEffect, process) == 16 &&
                  offsetof(AEffect, setParameter) == 24 && offsetof(AEffect, getParameter) == 32 &&
                  offsetof(AEffect, numPrograms) == 40 && offsetof(AEffect, numParams) == 44 &&
                  offsetof(AEffect, numInputs) == 48 && offsetof(AEffect, numOutputs) == 52 &&
                  offsetof(AEffect, flags) == 56 && offsetof(AEffect, resvd1) == 64 &&
                  offsetof(AEffect, resvd2) == 72 && offsetof(AEffect, initialDelay) == 80 &&
                  offsetof(AEffect, realQualities) == 84 && offsetof(AEffect, offQualities) == 88 &&
                  offsetof(AEffect, ioRatio) == 92 && offsetof(AEffect, object) == 96 &&
                  offsetof(AEffect, user) == 104 && offsetof(AEffect, uniqueID) == 112 &&
                  offsetof(AEffect, version) == 116 && offsetof(AEffect, processReplacing) == 120 &&
                  offsetof(AEffect, processDoubleReplacing) == 128 && offsetof(AEffect, future) == 136,
              "64-bit effect record layout");
#endif
static_assert(sizeof(ERect) == 8, "ERect is four 16-bit values");

constexpr int32_t kEffectMagic = FourCharCode("VstP");
constexpr int32_t kEffectIdentify = FourCharCode("NvEf");
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxProgNameLen = 24;

enum VstEffectFlags : int32_t {
  effFlagsHasEditor = 1,
  effFlagsHasClip = 2,
  effFlagsHasVu = 4,
  effFlagsCanMono = 8,
  effFlagsCanReplacing = 16,
};

enum VstEffectOpcodes : int32_t {
  effOpen = 0,
  effClose,
  effSetProgram,
  effGetProgram,
  effSetProgramName,
  effGetProgramName,
  effGetParamLabel,
  effGetParamDisplay,
  effGetParamName,
  effGetVu,
  effSetSampleRate,
  effSetBlockSize,
  effMainsChanged,
  effEditGetRect,
  effEditOpen,
  effEditClose,
  effEditDraw,
  effEditMouse,
  effEditKey,
  effEditIdle,
  effEditTop,
  effEditSleep,
  effIdentify,
  // 23 to 25 are not handled; 26 is the one later opcode hosts need answered.
  effCanBeAutomated = 26,
};

enum VstHostOpcodes : int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterPinConnected = 4,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
};
