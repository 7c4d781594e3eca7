// The library's shared helpers: colour blending, noise, the numeric-label
// test and the random generator's recurrence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/AddNoise.h"
#include "controls/BlendColour.h"
#include "controls/NumericText.h"
#include "controls/Random.h"

TEST(BlendColour, TruncatesTowardZeroPerChannel) {
  // Red 200 -> 0 at 0.3: 200 + trunc(-60) = 140; green 100 -> 0 at 1/3:
  // 100 + trunc(-33.3) = 67 (flooring would give 66).
  EXPECT_EQ(BlendColour(MakeColour(200, 100, 0), MakeColour(0, 0, 0), 1.0, 3.0, 0.0), MakeColour(134, 67, 0));
  EXPECT_EQ(BlendColour(0x505050, 0xFBFBFB, 0.3, 1.0, 0.0), 0x838383u);
}

TEST(BlendColour, EqualBoundsMeanTheFirstColour) {
  EXPECT_EQ(BlendColour(0x102030, 0xFFFFFF, 5.0, 1.0, 1.0), 0x102030u);
}

TEST(BlendColour, PositionsOutsideTheRangeStayColours) {
  EXPECT_EQ(BlendColour(0x000000, 0x808080, 3.0, 1.0, 0.0), 0xFFFFFFu);
  EXPECT_EQ(BlendColour(0x808080, 0x000000, -3.0, 1.0, 0.0), 0xFFFFFFu);
  EXPECT_EQ(BlendColour(0x808080, 0x000000, 3.0, 1.0, 0.0), 0x000000u);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(BlendColour(0x102030, 0x102030, inf, 1.0, 0.0), 0x102030u);
  EXPECT_EQ(BlendColour(0x102030, 0xFFFFFF, std::nan(""), 1.0, 0.0), 0x102030u);
}

TEST(Random, TheFirstValuesFromStateZero) {
  uint32_t state = 0;
  EXPECT_EQ(Random(state, 1000), 0);
  EXPECT_EQ(state, 1u);
  EXPECT_EQ(Random(state, 1000), 31);
  EXPECT_EQ(state, 0x08088406u);
  EXPECT_EQ(Random(state, 1000), 861);
  EXPECT_EQ(state, 0xDC6DAC1Fu);
  EXPECT_EQ(Random(state, 1000), 202);
  EXPECT_EQ(Random(state, 1000), 272);
}

TEST(Random, StaysInRangeAndSurvivesNonPositiveRanges) {
  uint32_t state = 0xFFFFFFFFu;
  for (int i = 0; i < 1000; ++i) {
    const int32_t r = Random(state, 15);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 15);
  }
  const uint32_t before = state;
  EXPECT_EQ(Random(state, 0), 0);
  EXPECT_EQ(Random(state, -5), 0);
  EXPECT_NE(state, before);
  EXPECT_LT(Random(state, INT32_MAX), INT32_MAX);
}

TEST(AddNoise, DrawsOncePerChannelRedFirst) {
  uint32_t state = 0;
  // From state 0 the draws for n = 4 are 0, 0, 3: d = -2, -2, +1.
  EXPECT_EQ(AddNoise(MakeColour(100, 100, 100), 4, state), MakeColour(98, 98, 101));
  state = 0;
  // A step that would leave 0..255 is skipped.
  EXPECT_EQ(AddNoise(MakeColour(1, 255, 255), 4, state), MakeColour(1, 253, 255));
}

TEST(NumericText, WhatCountsAsANumber) {
  for (const char* text : {"0", "50", "800", "  12", "-3", "+4.5", "5.", ".5", "1e3", "2.5E-2"}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
  for (const char* text : {"", " ", "Off", "Min", "12 ", "1e", "1.2.3", "-", ".", "e5", "5x"}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
}
