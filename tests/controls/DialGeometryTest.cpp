// The scale's geometry on a 104 by 104 knob: centre (52, 52), wedge 1/7,
// no angle offset.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/DialGeometry.h"

namespace {

constexpr float kWedge = 1.0f / 7.0f;

TDialPointer Dial(bool quantise = false, int32_t ticks = 11) { return {52, 52, 0.0f, kWedge, quantise, ticks}; }

struct TExpectedPoint {
  int32_t x, y, degrees;
};

void ExpectScale(int32_t count, float radius, bool stretch, const std::vector<TExpectedPoint>& expected) {
  ASSERT_EQ(static_cast<size_t>(count), expected.size());
  for (int32_t i = 0; i < count; ++i) {
    const TDialPoint p = DialPoint(52, 52, static_cast<float>(i), count, 0.0f, kWedge, radius, stretch);
    const TExpectedPoint& want = expected[static_cast<size_t>(i)];
    EXPECT_EQ(p.Point.X, want.x) << "index " << i;
    EXPECT_EQ(p.Point.Y, want.y) << "index " << i;
    if (want.degrees != 999) {
      EXPECT_EQ((p.Degrees + 360) % 360, want.degrees) << "index " << i;
    }
  }
}

}  // namespace

TEST(PointerToValue, CompassPoints) {
  EXPECT_FLOAT_EQ(PointerToValue(Dial(), 52, 10, 0.3f), 0.5f);           // above
  EXPECT_NEAR(PointerToValue(Dial(), 90, 52, 0.3f), 19.0 / 24.0, 1e-6);  // right
  EXPECT_NEAR(PointerToValue(Dial(), 14, 52, 0.3f), 5.0 / 24.0, 1e-6);   // left
  EXPECT_EQ(PointerToValue(Dial(), 52, 90, 0.3f), 0.0f);                 // below
}

TEST(PointerToValue, TheOpenWedgeGivesTheNearerEnd) {
  EXPECT_EQ(PointerToValue(Dial(), 53, 104, 0.3f), 1.0f);
  EXPECT_EQ(PointerToValue(Dial(), 51, 104, 0.3f), 0.0f);
  EXPECT_EQ(PointerToValue(Dial(), 60, 103, 0.3f), 1.0f);
}

TEST(PointerToValue, TheCentreKeepsTheCurrentValue) { EXPECT_EQ(PointerToValue(Dial(), 52, 52, 0.3f), 0.3f); }

TEST(PointerToValue, QuantiseSnapsToTicks) {
  EXPECT_FLOAT_EQ(PointerToValue(Dial(true), 90, 52, 0.0f), 0.8f);
  EXPECT_FLOAT_EQ(PointerToValue(Dial(true), 80, 80, 0.0f), 0.9f);
  // Without quantising the same point lies between ticks.
  EXPECT_NEAR(PointerToValue(Dial(false), 80, 80, 0.0f), 0.9375, 1e-6);
}

TEST(PointerToValue, OneTickDoesNotSnap) {
  EXPECT_NEAR(PointerToValue(Dial(true, 1), 90, 52, 0.0f), 19.0 / 24.0, 1e-6);
}

TEST(PointerToValue, DegenerateWedgesKeepTheCurrentValue) {
  TDialPointer dial = Dial(true);
  dial.Wedge = 1.0f;  // no scale left at all
  EXPECT_EQ(PointerToValue(dial, 90, 52, 0.25f), 0.25f);
  dial.Wedge = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(PointerToValue(dial, 90, 52, 0.25f), 0.25f);
  dial.Wedge = std::numeric_limits<float>::infinity();
  EXPECT_EQ(PointerToValue(dial, 90, 52, 0.25f), 0.25f);
  dial.Wedge = 1.0f - 1e-7f;  // a sliver of scale: huge but finite values
  const float v = PointerToValue(dial, 90, 52, 0.25f);
  EXPECT_FALSE(std::isnan(v));
}

TEST(PointerToValue, ExtremePointerPositions) {
  EXPECT_EQ(PointerToValue(Dial(), INT32_MIN, 52, 0.3f), PointerToValue(Dial(), 0, 52, 0.3f));
  EXPECT_EQ(PointerToValue(Dial(), 52, INT32_MAX, 0.3f), 0.0f);
}

TEST(DialPoint, ElevenTicks) {
  ExpectScale(11, 30.0f, false,
              {{39, 79, 244},
               {27, 69, 213},
               {22, 53, 183},
               {26, 38, 152},
               {37, 26, 121},
               {52, 22, 90},
               {67, 26, 59},
               {78, 38, 28},
               {82, 53, 357},
               {77, 69, 327},
               {65, 79, 296}});
}

TEST(DialPoint, FiveTicks) {
  ExpectScale(5, 30.0f, false, {{39, 79, 244}, {23, 45, 167}, {52, 22, 90}, {81, 45, 13}, {65, 79, 296}});
}

TEST(DialPoint, LabelAnchorsAreStretchedSideways) {
  ExpectScale(2, 39.0f, true, {{35, 87, 999}, {69, 87, 999}});
  ExpectScale(5, 39.0f, true, {{35, 87, 999}, {13, 43, 999}, {52, 13, 999}, {91, 43, 999}, {69, 87, 999}});
}

TEST(DialPoint, DotCentresForValues) {
  // The dot's index is (Ticks - 1) * Value on a scale of Ticks steps.
  const auto dot = [](float value) { return DialPoint(52, 52, 10.0f * value, 11, 0.0f, kWedge, 12.0f, false).Point; };
  EXPECT_EQ(dot(0.0f), (TPoint{47, 63}));
  EXPECT_EQ(dot(0.5f), (TPoint{52, 40}));
  EXPECT_EQ(dot(1.0f), (TPoint{57, 63}));
}

TEST(DialPoint, OneStepSitsAtTheStartOfTheScale) {
  const TDialPoint one = DialPoint(52, 52, 0.0f, 1, 0.0f, kWedge, 30.0f, false);
  EXPECT_EQ(one.Point, (TPoint{39, 79}));
  EXPECT_EQ(one.Degrees, 244);
}

TEST(DialPoint, DegenerateInputStaysFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Any result will do as long as it is reached without undefined behaviour.
  DialPoint(52, 52, nan, 11, 0.0f, kWedge, 30.0f, false);
  DialPoint(52, 52, 0.0f, 11, inf, kWedge, 30.0f, false);
  DialPoint(INT32_MAX, INT32_MIN, 3.4e38f, INT32_MIN, 0.0f, kWedge, 3.4e38f, true);
  const TDialPoint far = DialPoint(INT32_MAX, INT32_MAX, 0.0f, 11, 0.0f, kWedge, 1e30f, false);
  EXPECT_LE(far.Point.X, kCoordinateLimit);
}
