// The nine parameters as a host sees them: names, defaults, displays, labels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/HostHarness.h"

using harness::Instance;

namespace {

struct Expected {
  const char* name;
  float value;
  const char* display;
};

const Expected kFresh[9] = {
    {"Bass Mode? ", 1.0f, "Yes     "}, {"Cutoff     ", 0.25f, "100"},     {"Delay      ", 0.56f, "11.19999"},
    {"Width      ", 0.5f, "5"},        {"Rate       ", 0.5f, "5"},        {"Feedback   ", 0.25f, "0.25"},
    {"Stereo Mode", 0.6f, "Dual    "}, {"Anti-alias?", 1.0f, "Yes     "}, {"Mix        ", 1.0f, "1"},
};

std::string DisplayAt(Instance& fx, int32_t index, float value) {
  fx.setParameter(index, value);
  return fx.text(effGetParamDisplay, index);
}

}  // namespace

TEST(Parameters, FreshInstanceReportsTheTable) {
  Instance fx;
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fx.text(effGetParamName, i), kFresh[i].name);
    EXPECT_EQ(fx.getParameter(i), kFresh[i].value);
    EXPECT_EQ(fx.text(effGetParamDisplay, i), kFresh[i].display);
    EXPECT_EQ(fx.text(effGetParamLabel, i), "        ");
  }
}

TEST(Parameters, OutOfRangeIndicesLeaveBuffersAndValuesAlone) {
  Instance fx;
  for (int32_t index : {9, -1, 1000}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(fx.getParameter(index), 0.0f);
    for (int32_t opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel}) {
      char buffer[16] = "untouched";
      fx.dispatch(opcode, index, 0, buffer);
      EXPECT_STREQ(buffer, "untouched");
    }
    fx.setParameter(index, 0.0f);
  }
  for (int i = 0; i < 9; ++i) EXPECT_EQ(fx.getParameter(i), kFresh[i].value);
}

TEST(Parameters, ValuesAreStoredUnclamped) {
  Instance fx;
  for (float v : {-3.0f, 0.0f, 0.3f, 1.0f, 17.5f}) {
    fx.setParameter(5, v);
    EXPECT_EQ(fx.getParameter(5), v);
  }
}

TEST(ParameterDisplay, SwitchesAreYesOnlyAboveOneHalf) {
  Instance fx;
  for (int32_t index : {0, 7}) {
    EXPECT_EQ(DisplayAt(fx, index, 0.5f), "No      ");
    EXPECT_EQ(DisplayAt(fx, index, 0.51f), "Yes     ");
    EXPECT_EQ(DisplayAt(fx, index, 0.0f), "No      ");
  }
}

TEST(ParameterDisplay, NumbersOfTheDrivenQuantities) {
  Instance fx;
  EXPECT_EQ(DisplayAt(fx, 2, 0.0f), "0.000000");
  EXPECT_EQ(DisplayAt(fx, 2, 0.5f), "10");
  EXPECT_EQ(DisplayAt(fx, 2, 1.0f), "20");
  EXPECT_EQ(DisplayAt(fx, 1, 0.0f), "50");
  EXPECT_EQ(DisplayAt(fx, 1, 0.125f), "70.71067");
  EXPECT_EQ(DisplayAt(fx, 1, 0.5f), "200");
  EXPECT_EQ(DisplayAt(fx, 1, 1.0f), "800");
  EXPECT_EQ(DisplayAt(fx, 3, 0.25f), "2.5");
  EXPECT_EQ(DisplayAt(fx, 4, 1.0f), "10");
  EXPECT_EQ(DisplayAt(fx, 5, 0.3f), "0.300000");
  EXPECT_EQ(DisplayAt(fx, 8, 0.7f), "0.699999");
}

TEST(ParameterDisplay, StereoModeRoundsTiesToEven) {
  Instance fx;
  EXPECT_EQ(DisplayAt(fx, 6, 0.0f), "Mono    ");
  EXPECT_EQ(DisplayAt(fx, 6, 1.0f / 3.0f), "Stereo  ");
  EXPECT_EQ(DisplayAt(fx, 6, 0.5f), "Dual    ");  // 1.5 goes to 2
  EXPECT_EQ(DisplayAt(fx, 6, 2.0f / 3.0f), "Dual    ");
  EXPECT_EQ(DisplayAt(fx, 6, 1.0f), "Haas    ");
  EXPECT_EQ(DisplayAt(fx, 6, 1.0f / 6.0f - 0.001f), "Mono    ");
  EXPECT_EQ(DisplayAt(fx, 6, 5.0f / 6.0f + 0.001f), "Haas    ");
}

TEST(ParameterDisplay, StereoModeOutsideTheFourModesWritesNothing) {
  Instance fx;
  for (float v : {2.0f, -1.0f}) {
    fx.setParameter(6, v);
    char buffer[16] = "untouched";
    fx.dispatch(effGetParamDisplay, 6, 0, buffer);
    EXPECT_STREQ(buffer, "untouched") << v;
  }
  // 3 * 85.33 rounds to 256, whose low 8 bits are mode 0.
  EXPECT_EQ(DisplayAt(fx, 6, 85.33f), "Mono    ");
}

TEST(ParameterDisplay, NamesAreWrittenWhole) {
  Instance fx;
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  fx.dispatch(effGetParamName, 7, 0, buffer);
  EXPECT_EQ(std::string(buffer, 12), std::string("Anti-alias?\0", 12));
  EXPECT_EQ(buffer[12], '#');
}
