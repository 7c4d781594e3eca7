// The knob's picture on a 104 by 104 knob (centre (52, 52), wedge 1/7), with
// the built-in font: labels, body, ticks and shimmer, pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "controls/BlendColour.h"
#include "controls/RubberKnob.h"
#include "tests/support/ControlsTestSupport.h"

namespace {

constexpr TColour kColour = 0x303030;
constexpr TColour kShadow = 0xF8F0F8;
constexpr TColour kHilight = 0x0000C0;
constexpr TColour kTrans = 0xFFFFFF;

struct TLabelAt {
  int32_t x, y;
  std::string text;
  bool bold;
};

class KnobRenderingTest : public ::testing::Test {
 protected:
  KnobRenderingTest() : ui(200, 200) {
    knob = new TRubberKnob(&ui.form);
    knob->SetBounds(0, 0, 104, 104);
    knob->SetFont(TFont{"MS Sans Serif", -11, clBlack, false});
  }

  // Paints the knob into a bitmap of the parent's colour; composes the cache.
  TBitmap Paint() {
    TBitmap out(knob->Width(), knob->Height(), kParent);
    TCanvas canvas(out);
    knob->Paint(canvas);
    return out;
  }

  const TBitmap& Cache() {
    Paint();
    return knob->ImageCache();
  }

  void LabelsOnly(std::vector<std::string> labels) {
    knob->SetTicks(0);
    TStringList list;
    list.SetStrings(std::move(labels));
    knob->SetLabels(&list);
  }

  // What the cache must hold for these labels, drawn as the knob draws them.
  TBitmap ExpectedLabels(const std::vector<TLabelAt>& labels, bool shadow = true, bool hilight = false) {
    TBitmap expected(104, 104, kTrans);
    for (const TLabelAt& label : labels) {
      TFont font{"MS Sans Serif", -11, kHilight, label.bold};
      if (hilight) expected.TextOut(label.x - 1, label.y - 1, label.text, font);
      font.Colour = kShadow;
      if (shadow) expected.TextOut(label.x + 1, label.y + 1, label.text, font);
      font.Colour = kColour;
      expected.TextOut(label.x, label.y, label.text, font);
    }
    return expected;
  }

  static constexpr TColour kParent = 0x555555;
  TTestForm ui;
  TRubberKnob* knob;
};

TEST_F(KnobRenderingTest, TwoLongLabelsAlignToTheirSides) {
  LabelsOnly({"Min", "Max"});
  EXPECT_EQ(Cache(), ExpectedLabels({{20, 81, "Min", false}, {66, 81, "Max", false}}));
}

TEST_F(KnobRenderingTest, TwoShortLabelsAreCentred) {
  LabelsOnly({"Lo", "Hi"});
  EXPECT_EQ(Cache(), ExpectedLabels({{29, 81, "Lo", false}, {63, 81, "Hi", false}}));
}

TEST_F(KnobRenderingTest, FiveLabelsSideAlignedExceptTheMiddle) {
  LabelsOnly({"50", "100", "200", "400", "800"});
  EXPECT_EQ(Cache(), ExpectedLabels({{26, 81, "50", false},
                                     {1, 37, "100", false},
                                     {43, 7, "200", false},
                                     {85, 37, "400", false},
                                     {66, 81, "800", false}}));
}

TEST_F(KnobRenderingTest, WordLabelsAtTheEndsAreNudgedTowardEachOther) {
  LabelsOnly({"Flanger", "Chorus"});
  knob->SetBotLabNudge(0.5f);  // half of the wider label, 42 pixels
  EXPECT_EQ(Cache(), ExpectedLabels({{-4 + 21, 81, "Flanger", false}, {66 - 21, 81, "Chorus", false}}));
}

TEST_F(KnobRenderingTest, NumericEndLabelsAreNeverNudged) {
  LabelsOnly({"50", "100", "200", "400", "800"});
  const TBitmap plain = Cache();
  knob->SetBotLabNudge(0.5f);
  knob->SetColour(kColour);  // rebuild
  EXPECT_EQ(Cache(), plain);
}

TEST_F(KnobRenderingTest, OffIsBoldAndTheNextLabelPlain) {
  LabelsOnly({"Off", "On"});
  EXPECT_EQ(Cache(), ExpectedLabels({{20, 81, "Off", true}, {63, 81, "On", false}}));
}

TEST_F(KnobRenderingTest, AfterOffTheStyleIsPlainEvenForABoldFont) {
  knob->SetFont(TFont{"MS Sans Serif", -11, clBlack, true});
  LabelsOnly({"Off", "On"});
  // "Off" measures 21 pixels bold, so its mean character width is 7.
  EXPECT_EQ(Cache(), ExpectedLabels({{35 - 21 + 3, 81, "Off", true}, {63, 81, "On", false}}));
}

TEST_F(KnobRenderingTest, ASingleLabelSitsAtTheStartOfTheScale) {
  LabelsOnly({"Solo"});
  EXPECT_EQ(Cache(), ExpectedLabels({{35 - 24 + 3, 81, "Solo", false}}));
}

TEST_F(KnobRenderingTest, NoLabelListDrawsNoLabels) {
  knob->SetTicks(0);
  knob->SetLabels(nullptr);
  EXPECT_EQ(Cache(), TBitmap(104, 104, kTrans));
  EXPECT_EQ(knob->Labels(), nullptr);
}

class TickTest : public KnobRenderingTest {
 protected:
  TickTest() {
    knob->SetLabels(nullptr);
    knob->SetColour(0xFBFBFB);
    knob->SetShadow(0x505050);
  }
  static constexpr TColour C = 0xFBFBFB;
  static constexpr TColour S = 0x505050;
  static constexpr TColour e = 0x838383;

  // Shadow on, hilight off: the tick block sits one pixel up and left of P,
  // the shadow's L to the lower right.
  void ExpectTick(const TBitmap& cache, TPoint p, std::array<TColour, 4> pattern) {
    EXPECT_EQ(cache.Pixel(p.X - 1, p.Y - 1), pattern[0]) << p.X << "," << p.Y;
    EXPECT_EQ(cache.Pixel(p.X, p.Y - 1), pattern[1]) << p.X << "," << p.Y;
    EXPECT_EQ(cache.Pixel(p.X - 1, p.Y), pattern[2]) << p.X << "," << p.Y;
    EXPECT_EQ(cache.Pixel(p.X, p.Y), pattern[3]) << p.X << "," << p.Y;
    EXPECT_EQ(cache.Pixel(p.X + 1, p.Y), S);
    EXPECT_EQ(cache.Pixel(p.X, p.Y + 1), S);
    EXPECT_EQ(cache.Pixel(p.X + 1, p.Y + 1), S);
  }
};

TEST_F(TickTest, TheShadingColourIsThirtyPercentFromShadowToColour) { EXPECT_EQ(BlendColour(S, C, 0.3, 1.0, 0.0), e); }

TEST_F(TickTest, ElevenTicksShadeOnlyTheLowerRight) {
  const TBitmap& cache = Cache();
  const std::array<TColour, 4> solid{C, C, C, C};
  for (TPoint p : {TPoint{39, 79}, TPoint{27, 69}, TPoint{22, 53}, TPoint{26, 38}, TPoint{37, 26}, TPoint{52, 22},
                   TPoint{67, 26}, TPoint{78, 38}}) {
    ExpectTick(cache, p, solid);
  }
  ExpectTick(cache, {82, 53}, {e, C, e, C});  // 357 degrees
  ExpectTick(cache, {77, 69}, {e, e, e, C});  // 327
  ExpectTick(cache, {65, 79}, {e, e, C, C});  // 296
  EXPECT_EQ(CountPixels(cache, S), 11 * 3);
}

TEST_F(TickTest, FiveTicksShadeOnlyTheLast) {
  knob->SetTicks(5);
  const TBitmap& cache = Cache();
  for (TPoint p : {TPoint{39, 79}, TPoint{23, 45}, TPoint{52, 22}, TPoint{81, 45}}) ExpectTick(cache, p, {C, C, C, C});
  ExpectTick(cache, {65, 79}, {e, e, C, C});
}

TEST_F(TickTest, ASpaceInShowTicksLeavesASinglePixel) {
  knob->SetShowTicks(" x ");
  const TBitmap& cache = Cache();
  EXPECT_EQ(cache.Pixel(39, 79), C);
  EXPECT_EQ(cache.Pixel(38, 78), kTrans);
  EXPECT_EQ(cache.Pixel(40, 80), kTrans);
  ExpectTick(cache, {27, 69}, {C, C, C, C});
  EXPECT_EQ(cache.Pixel(22, 53), C);
  EXPECT_EQ(cache.Pixel(23, 54), kTrans);
  ExpectTick(cache, {26, 38}, {C, C, C, C});  // past the end of the string: full
}

TEST_F(TickTest, WithHilightTheBlockSitsOnTheTickPoint) {
  knob->SetHilight(kHilight);
  knob->SetDoHilight(true);
  const TBitmap& cache = Cache();
  const TPoint p{52, 22};
  EXPECT_EQ(cache.Pixel(p.X - 1, p.Y - 1), kHilight);
  EXPECT_EQ(cache.Pixel(p.X, p.Y - 1), kHilight);
  EXPECT_EQ(cache.Pixel(p.X - 1, p.Y), kHilight);
  for (int dy = 0; dy < 2; ++dy) {
    for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(cache.Pixel(p.X + dx, p.Y + dy), C);
  }
  EXPECT_EQ(cache.Pixel(p.X + 2, p.Y + 1), S);
  EXPECT_EQ(cache.Pixel(p.X + 1, p.Y + 2), S);
  EXPECT_EQ(cache.Pixel(p.X + 2, p.Y + 2), S);
}

TEST_F(TickTest, OneTickSitsAtTheStartOfTheScale) {
  knob->SetTicks(1);
  const TBitmap& cache = Cache();
  ExpectTick(cache, {39, 79}, {C, C, C, C});
  EXPECT_EQ(CountPixels(cache, C), 4);
}

TEST_F(TickTest, AbsurdTickCountsStillPaint) {
  knob->SetTicks(INT32_MAX);
  knob->SetTickRadius(INT32_MIN);
  knob->SetWedge(-1e30f);
  const int32_t before = knob->CompositionCount();
  Paint();
  // Composed once, in bounded time (the tick count is capped), and every
  // tick that landed on the cache stayed inside it.
  EXPECT_TRUE(knob->ImageValid());
  EXPECT_EQ(knob->CompositionCount(), before + 1);
  EXPECT_EQ(knob->ImageCache().Width(), knob->Width());
  EXPECT_EQ(knob->ImageCache().Height(), knob->Height());
}

class BodyTest : public KnobRenderingTest {
 protected:
  BodyTest() {
    knob->SetLabels(nullptr);
    knob->SetTicks(0);
    knob->SetDiameter(52);
    knob->SetTransColour(kCacheBackground);
    // Each pixel names its source position; (10, 10) is white.
    TBitmap main(56, 56);
    for (int32_t j = 0; j < 56; ++j) {
      for (int32_t i = 0; i < 56; ++i)
        main.SetPixel(i, j, MakeColour(static_cast<uint32_t>(i), static_cast<uint32_t>(j), 7));
    }
    main.SetPixel(10, 10, 0xFFFFFF);
    knob->SetMainImage(MakeImage(ui.form, main));
    knob->SetDisabledImage(MakeImage(ui.form, SolidBitmap(30, 30, 0x999999)));
  }
  static constexpr TColour kCacheBackground = 0x010203;
};

TEST_F(BodyTest, TheBodyIsCentredByHalfTheDiameter) {
  const TBitmap& cache = Cache();
  EXPECT_EQ(cache.Pixel(26, 26), MakeColour(0, 0, 7));
  EXPECT_EQ(cache.Pixel(81, 81), MakeColour(55, 55, 7));
  EXPECT_EQ(cache.Pixel(25, 26), kCacheBackground);
}

TEST_F(BodyTest, WhiteBodyPixelsNeverReachTheCache) { EXPECT_EQ(Cache().Pixel(36, 36), kCacheBackground); }

TEST_F(BodyTest, PixelsOutsideTheCacheAreDropped) {
  knob->SetBounds(0, 0, 40, 40);  // centre (20, 20): the body starts at -6
  knob->SetColour(kColour);
  const TBitmap& cache = Cache();
  ASSERT_EQ(cache.Width(), 40);
  EXPECT_EQ(cache.Pixel(0, 0), MakeColour(6, 6, 7));
  EXPECT_EQ(cache.Pixel(39, 39), MakeColour(45, 45, 7));
}

TEST_F(BodyTest, ADisabledKnobDrawsItsDisabledImageWithinTheMainImagesBounds) {
  knob->SetEnabled(false);
  const TBitmap& cache = Cache();
  EXPECT_EQ(cache.Pixel(26, 26), 0x999999u);
  EXPECT_EQ(cache.Pixel(55, 55), 0x999999u);
  // The disabled picture is smaller: nothing is read past its edge.
  EXPECT_EQ(cache.Pixel(56, 56), kCacheBackground);
}

TEST_F(BodyTest, WithoutBothImagesNoBodyIsDrawn) {
  knob->SetDisabledImage(nullptr);
  EXPECT_EQ(Cache(), TBitmap(104, 104, kCacheBackground));
}

TEST_F(BodyTest, NearTheDiagonalsTheBodySparesTextPixels) {
  knob->SetMainImage(MakeImage(ui.form, SolidBitmap(56, 56, 0x123456)));
  knob->SetDoShadow(false);
  // Five labels on a full circle turned by 1/8: the last, "I", sits at 315
  // degrees with its top-left corner at (72, 68); its bar is column 74.
  knob->SetWedge(0.0f);
  knob->SetAngleOffset(0.125f);
  knob->SetTextRadius(33);
  TStringList labels{"", "", "", "", "I"};
  knob->SetLabels(&labels);
  const TBitmap& cache = Cache();
  EXPECT_EQ(cache.Pixel(74, 74), kColour);  // 22 off on both axes, on the ring of radius 30
  EXPECT_EQ(cache.Pixel(74, 75), kColour);
  EXPECT_EQ(cache.Pixel(74, 71), 0x123456u);  // 19 off vertically: covered
  EXPECT_EQ(cache.Pixel(74, 77), 0x123456u);  // below the bar: plain body
}

class ShimmerTest : public KnobRenderingTest {
 protected:
  ShimmerTest() {
    knob->SetLabels(nullptr);
    knob->SetTicks(0);
    knob->SetMainImage(MakeImage(ui.form, SolidBitmap(56, 56, 0x404040)));
    knob->SetDisabledImage(MakeImage(ui.form, SolidBitmap(56, 56, 0x909090)));
    for (int32_t i = 0; i < 4; ++i) {
      TBitmap frame(36, 36, kFrameColours[i]);
      frame.SetPixel(0, 35, clWhite);  // the transparent colour
      frame.SetPixel(0, 0, clWhite);
      shimmers[i] = MakeImage(ui.form, frame, true);
    }
  }
  void SetAll() {
    for (int32_t i = 0; i < 4; ++i) knob->SetShimmer(i + 1, shimmers[i]);
  }
  static constexpr TColour kFrameColours[4] = {0x0000A0, 0x00A000, 0xA00000, 0xA0A000};
  TImage* shimmers[4] = {};
};

TEST_F(ShimmerTest, PositionFollowsTheDiameterParity) {
  SetAll();
  knob->SetDiameter(52);
  Paint();
  EXPECT_EQ(knob->ShimmerCount(), 4);
  EXPECT_EQ(knob->ShimmerX(), 34);
  EXPECT_EQ(knob->ShimmerY(), 34);
  knob->SetDiameter(53);
  Paint();
  EXPECT_EQ(knob->ShimmerX(), 35);
  EXPECT_EQ(knob->ShimmerY(), 35);
}

TEST_F(ShimmerTest, WithoutShimmer1TheFirstFrameSetGivesThePosition) {
  TBitmap small(20, 20, 0x0000A0);
  knob->SetDiameter(52);
  knob->SetShimmer3(MakeImage(ui.form, small, true));
  Paint();
  EXPECT_EQ(knob->ShimmerCount(), 1);
  EXPECT_EQ(knob->ShimmerX(), 42);
  EXPECT_EQ(knob->ShimmerIndex(), 0);
}

TEST_F(ShimmerTest, TheCurrentFrameIsDrawnOverTheBodyWithItsTransparency) {
  SetAll();
  knob->SetDiameter(52);
  const TBitmap out = Paint();
  ASSERT_GE(knob->ShimmerIndex(), 0);
  ASSERT_LT(knob->ShimmerIndex(), 4);
  EXPECT_EQ(out.Pixel(34 + 10, 34 + 10), kFrameColours[knob->ShimmerIndex()]);
  EXPECT_EQ(out.Pixel(34, 34), 0x404040u);  // the frame's transparent corner
  EXPECT_EQ(out.Pixel(0, 0), kParent);      // the cache's background is left out
}

TEST_F(ShimmerTest, ADisabledKnobShowsItsDisabledBodyAndNoShimmer) {
  SetAll();
  knob->SetDiameter(52);
  knob->SetEnabled(false);
  const TBitmap out = Paint();
  EXPECT_EQ(out.Pixel(34 + 10, 34 + 10), 0x909090u);
}

TEST_F(ShimmerTest, DesignModeAddsADottedFrame) {
  ui.form.SetDesigning(true);
  const TBitmap out = Paint();
  EXPECT_EQ(out.Pixel(0, 0), clBlack);
  EXPECT_EQ(out.Pixel(1, 0), kParent);
  EXPECT_EQ(out.Pixel(2, 0), clBlack);
  EXPECT_EQ(out.Pixel(103, 103) == clBlack || out.Pixel(103, 102) == clBlack, true);
}

}  // namespace
