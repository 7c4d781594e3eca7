#include <gtest/gtest.h>

#include <limits>

#include "core/Rounding.h"

TEST(Round, TiesGoToEven) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.4999999), 2);
  EXPECT_EQ(Round(2.5000001), 3);
  EXPECT_EQ(Round(-0.0), 0);
  EXPECT_EQ(Round(1e-300), 0);
}

TEST(Round, EdgesOfTheInt32Range) {
  EXPECT_EQ(Round(2147483647.0), INT32_MAX);
  EXPECT_EQ(Round(2147483647.4), INT32_MAX);
  EXPECT_EQ(Round(2147483647.5), kRoundInvalid);  // would be 2^31
  EXPECT_EQ(Round(-2147483648.0), INT32_MIN);
  EXPECT_EQ(Round(-2147483648.5), INT32_MIN);  // tie to the even -2^31
  EXPECT_EQ(Round(-2147483648.6), kRoundInvalid);
}

TEST(Round, EveryNonFiniteOrHugeValueGivesTheFixedResult) {
  EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), kRoundInvalid);
  EXPECT_EQ(Round(-std::numeric_limits<double>::quiet_NaN()), kRoundInvalid);
  EXPECT_EQ(Round(std::numeric_limits<double>::infinity()), kRoundInvalid);
  EXPECT_EQ(Round(-std::numeric_limits<double>::infinity()), kRoundInvalid);
  EXPECT_EQ(Round(1e30), kRoundInvalid);
  EXPECT_EQ(Round(-1e30), kRoundInvalid);
  EXPECT_EQ(kRoundInvalid, INT32_MIN);
}

TEST(Rounding, FloatNarrowingAndRatiosAreDefinedForEveryInput) {
  EXPECT_EQ(NarrowToFloat(1e300), HUGE_VALF);
  EXPECT_EQ(NarrowToFloat(-1e300), -HUGE_VALF);
  EXPECT_EQ(NarrowToFloat(3.4028235e38), 3.4028234663852886e38f) << "just above the largest float rounds to it";
  EXPECT_TRUE(std::isnan(Ratio(0.0, 0.0)));
  EXPECT_EQ(Ratio(-1.0, 0.0), -HUGE_VAL);
  EXPECT_EQ(Ratio(1.0, 0.0), HUGE_VAL);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
  EXPECT_EQ(RoundHalfEven(1e300), 1e300);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(3e9), kRoundInvalid);
}
