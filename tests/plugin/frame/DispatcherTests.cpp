// The dispatcher opcodes as a host drives them through the record.
#include <gtest/gtest.h>

#include <climits>

#include "tests/support/HostHarness.h"

using harness::Instance;

TEST(Dispatcher, UnknownOpcodesAnswerZero) {
  Instance fx;
  for (int32_t opcode : {23, 24, 25, 27, 28, 100, -1, 0x7FFFFFFF})
    EXPECT_EQ(fx.dispatch(opcode, 1, 1, nullptr, 1.0f), 0) << opcode;
}

// Hosts that ask (Ardour does) offer an automation lane only where the
// answer is 1. Asking changes nothing and calls nothing back.
TEST(Dispatcher, CanBeAutomatedAnswersOneForTheNineParameters) {
  Instance fx;
  float before[9];
  for (int32_t i = 0; i < 9; ++i) before[i] = fx.getParameter(i);
  harness::hostCalls.clear();
  for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(fx.dispatch(effCanBeAutomated, i, 0, nullptr, 0.0f), 1) << i;
  for (int32_t i : {-1, 9, 10, 100, INT_MIN, INT_MAX}) EXPECT_EQ(fx.dispatch(effCanBeAutomated, i, 1), 0) << i;
  EXPECT_TRUE(harness::hostCalls.empty());
  for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(fx.getParameter(i), before[i]) << i;
}

TEST(Dispatcher, ProgramOpcodes) {
  Instance fx;
  EXPECT_EQ(fx.dispatch(effGetProgram), 0);
  fx.dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(fx.dispatch(effGetProgram), 0);
  // There is only program 0: other indices are not taken.
  fx.dispatch(effSetProgram, 0, 5);
  EXPECT_EQ(fx.dispatch(effGetProgram), 0);
  EXPECT_EQ(fx.text(effGetProgramName), "Default");
}

TEST(Dispatcher, ProgramNameIsCutTo24Characters) {
  Instance fx;
  char name[] = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
  EXPECT_EQ(fx.dispatch(effSetProgramName, 0, 0, name), 0);
  EXPECT_EQ(fx.text(effGetProgramName), "abcdefghijklmnopqrstuvwx");
  char shortName[] = "Bass";
  fx.dispatch(effSetProgramName, 0, 0, shortName);
  EXPECT_EQ(fx.text(effGetProgramName), "Bass");
  char empty[] = "";
  fx.dispatch(effSetProgramName, 0, 0, empty);
  EXPECT_EQ(fx.text(effGetProgramName), "");
}

TEST(Dispatcher, ProgramChangeTouchesNeitherNameNorParameters) {
  Instance fx;
  fx.setParameter(2, 0.3f);
  fx.dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(fx.getParameter(2), 0.3f);
  EXPECT_EQ(fx.text(effGetProgramName), "Default");
}

TEST(Dispatcher, IdentifyAnswersNvEf) {
  Instance fx;
  EXPECT_EQ(fx.dispatch(effIdentify), FourCharCode("NvEf"));
  EXPECT_EQ(fx.dispatch(effIdentify), 0x4E764566);
}

TEST(Dispatcher, SampleRateBlockSizeAndMainsAnswerZero) {
  Instance fx;
  EXPECT_EQ(fx.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  EXPECT_EQ(fx.dispatch(effSetBlockSize, 0, 256), 0);
  EXPECT_EQ(fx.dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(fx.dispatch(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(fx.dispatch(effMainsChanged, 0, 5), 0);
  EXPECT_EQ(fx.dispatch(effOpen), 0);
  EXPECT_EQ(fx.dispatch(effGetVu), 0);
}

TEST(Dispatcher, EditorOpcodesBeforeAnyWindowIsOpen) {
  Instance fx;
  ERect* rect = nullptr;
  EXPECT_EQ(fx.dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 291);
  EXPECT_EQ(rect->right, 560);
  for (int32_t opcode = effEditClose; opcode <= effEditSleep; ++opcode) EXPECT_EQ(fx.dispatch(opcode), 0);
}

TEST(Dispatcher, NullBuffersAreIgnored) {
  // A careless host must not crash the plug-in.
  Instance fx;
  for (int32_t opcode : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                         effEditGetRect, effEditOpen})
    EXPECT_EQ(fx.dispatch(opcode, 0, 0, nullptr), 0) << opcode;
  EXPECT_EQ(fx.text(effGetProgramName), "Default");
}

TEST(Dispatcher, CloseAnswersOne) {
  Instance fx;
  EXPECT_EQ(fx.close(), 1);
}
