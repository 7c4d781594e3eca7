// Brushed metal and painted panel: generation once, shading and noise bounds,
// shared gradients, and repaint by copy.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/BlendColour.h"
#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "tests/support/ControlsTestSupport.h"

namespace {

// The generator's recurrence, written out independently, to find states
// that make the next draws land where a test wants them.
uint32_t NextState(uint32_t s) { return s * 134775813u + 1u; }
int32_t Draw(uint32_t s, int32_t n) { return static_cast<int32_t>((uint64_t{s} * static_cast<uint32_t>(n)) >> 32); }

// A state from which a 1 by 1 surface's one pixel draws r (1 .. 101).
uint32_t StateGivingStreakDraw(int32_t r) {
  for (uint32_t s = 0;; ++s) {
    const uint32_t afterQ = NextState(s);
    if (Draw(NextState(afterQ), 101) + 1 == r) return s;
  }
}

constexpr TColour kLight = 0x0000F0, kMedLight = 0x00F000, kMedDark = 0xF00000, kDark = 0x707070;

class BrushedMetalTest : public ::testing::Test {
 protected:
  BrushedMetalTest() : ui(100, 60) {
    metal = new TBrushedMetal(&ui.form);
    metal->SetParent(&ui.form);
    metal->SetBounds(0, 0, 40, 20);
    metal->SetLight(kLight);
    metal->SetMedLight(kMedLight);
    metal->SetMedDark(kMedDark);
    metal->SetDark(kDark);
  }
  TTestForm ui;
  TBrushedMetal* metal;
};

TEST_F(BrushedMetalTest, StreakColourThresholds) {
  metal->SetBounds(0, 0, 1, 1);
  metal->SetQuantise(0);
  const std::vector<std::pair<int32_t, TColour>> cases = {{1, kLight},  // keeps the starting colour
                                                          {2, kLight},     {10, kLight},   {11, kMedLight},
                                                          {53, kMedLight}, {54, kMedDark}, {96, kMedDark},
                                                          {97, kDark},     {101, kDark}};
  for (const auto& [r, colour] : cases) {
    ui.form.RandomState() = StateGivingStreakDraw(r);
    metal->Generate();
    EXPECT_EQ(metal->Surface().Pixel(0, 0), colour) << "r = " << r;
  }
}

TEST_F(BrushedMetalTest, ShadingDarkensFromNoneToTwiceQuantiseSteps) {
  metal->SetLight(0xC8C8C8);
  metal->SetMedLight(0xC8C8C8);
  metal->SetMedDark(0xC8C8C8);
  metal->SetDark(0xC8C8C8);
  metal->Generate();
  const TBitmap& s = metal->Surface();
  EXPECT_EQ(s.Pixel(0, 0), 0xC8C8C8u);
  // round((39/40 + 19/20) * 10) = 19 steps of 4.
  EXPECT_EQ(s.Pixel(39, 19), MakeColour(200 - 76, 200 - 76, 200 - 76));
  EXPECT_EQ(s.Pixel(20, 0), MakeColour(200 - 20, 200 - 20, 200 - 20));
}

TEST_F(BrushedMetalTest, NoShadingWithoutStepsOrStepSize) {
  metal->SetShading(0);
  metal->Generate();
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const TColour c = metal->Surface().Pixel(x, y);
      EXPECT_TRUE(c == kLight || c == kMedLight || c == kMedDark || c == kDark) << x << "," << y;
    }
  }
}

TEST_F(BrushedMetalTest, AChannelAtOrBelowTheShadeBecomesZero) {
  metal->SetShading(100);
  metal->Generate();
  EXPECT_EQ(metal->Surface().Pixel(39, 19), 0u);
  // Top left: shade 0.
  const TColour c = metal->Surface().Pixel(0, 0);
  EXPECT_TRUE(c == kLight || c == kMedLight || c == kMedDark || c == kDark);
}

TEST_F(BrushedMetalTest, NegativeShadingSaturatesAtWhite) {
  metal->SetShading(-100);
  metal->Generate();
  EXPECT_EQ(metal->Surface().Pixel(39, 19), 0xFFFFFFu);
}

TEST_F(BrushedMetalTest, GeneratedOnceAndRepaintedByCopy) {
  ui.window->ProcessPaint();
  EXPECT_FALSE(metal->Dirty());
  const TBitmap first = metal->Surface();
  ui.form.InvalidateAll();
  ui.window->ProcessPaint();
  EXPECT_EQ(metal->Surface(), first);
  metal->SetShading(3);
  EXPECT_TRUE(metal->Dirty());
  ui.window->ProcessPaint();
  EXPECT_FALSE(metal->Surface() == first);  // new streaks
}

TEST_F(BrushedMetalTest, ResizingKeepsTheOldPicture) {
  ui.window->ProcessPaint();
  metal->SetBounds(0, 0, 60, 30);
  ui.window->ProcessPaint();
  EXPECT_EQ(metal->Surface().Width(), 40);
  EXPECT_EQ(ui.window->Screen().Pixel(50, 25), ColourToRGB(0x202020));
}

class PaintedPanelTest : public ::testing::Test {
 protected:
  PaintedPanelTest() : ui(100, 40) {}
  TPaintedPanel* Panel(int32_t left, int32_t top, int32_t width, int32_t height) {
    auto* panel = new TPaintedPanel(&ui.form);
    panel->SetParent(&ui.form);
    panel->SetBounds(left, top, width, height);
    panel->SetFill1(0x00F000);
    panel->SetFill2(0x300030);
    panel->SetBorder1(0x808080);
    panel->SetBorder2(0xE0E0E0);
    return panel;
  }
  TTestForm ui;
};

TEST_F(PaintedPanelTest, RoundingZeroIsAPlainRectangleOutlinedInBorder1) {
  TPaintedPanel* panel = Panel(0, 0, 30, 20);
  panel->SetRounding(0);
  panel->Generate();
  const TBitmap& s = panel->Surface();
  for (int32_t x = 0; x < 30; ++x) {
    EXPECT_EQ(s.Pixel(x, 0), 0x808080u);
    EXPECT_EQ(s.Pixel(x, 19), 0x808080u);
  }
  for (int32_t y = 0; y < 20; ++y) {
    EXPECT_EQ(s.Pixel(0, y), 0x808080u);
    EXPECT_EQ(s.Pixel(29, y), 0x808080u);
  }
  EXPECT_NE(s.Pixel(1, 1), 0x808080u);
}

TEST_F(PaintedPanelTest, RoundedCornersShowTheParentAndTheLowerRightUsesBorder2) {
  TPaintedPanel* panel = Panel(0, 0, 40, 30);
  ui.window->ProcessPaint();
  const TBitmap& s = panel->Surface();
  EXPECT_EQ(s.Pixel(0, 0), clWhite);
  EXPECT_EQ(ui.window->Screen().Pixel(0, 0), ColourToRGB(0x202020));
  EXPECT_EQ(s.Pixel(20, 0), 0x808080u);   // top edge
  EXPECT_EQ(s.Pixel(0, 15), 0x808080u);   // left edge
  EXPECT_EQ(s.Pixel(20, 29), 0xE0E0E0u);  // bottom edge, below Height - Rounding / 2
  EXPECT_EQ(s.Pixel(39, 15), 0xE0E0E0u);  // right edge
  // The outline is one pixel wide and closed: every row has exactly two ends.
  for (int32_t y = 5; y < 25; ++y) {
    EXPECT_NE(s.Pixel(1, y), 0x808080u);
    EXPECT_NE(s.Pixel(1, y), 0xE0E0E0u);
  }
}

TEST_F(PaintedPanelTest, TextureZeroGivesTheExactGradient) {
  TPaintedPanel* panel = Panel(0, 0, 40, 20);
  panel->SetTexture(0);
  panel->Generate();
  for (int32_t y = 1; y < 19; ++y) {
    const double position = 20.0 / 40 + static_cast<double>(y) / 20;
    EXPECT_EQ(panel->Surface().Pixel(20, y), BlendColour(0x00F000, 0x300030, position, 2.0, 0.0));
  }
}

TEST_F(PaintedPanelTest, NoiseNeverLeavesTheByteRange) {
  TPaintedPanel* panel = Panel(0, 0, 40, 20);
  panel->SetFill1(0x00FF00);  // channels at both ends of the range
  panel->SetFill2(0x00FF00);
  for (int32_t texture : {4, 9, -7, INT32_MIN, INT32_MAX}) {
    panel->SetTexture(texture);
    panel->Generate();
    for (int32_t y = 2; y < 18; ++y) {
      for (int32_t x = 2; x < 38; ++x) {
        const TColour c = panel->Surface().Pixel(x, y);
        // A wrapped channel would show as a value near the other end.
        EXPECT_LT(RedOf(c), 128) << texture;
        EXPECT_GE(GreenOf(c), 128) << texture;
        EXPECT_LT(BlueOf(c), 128) << texture;
      }
    }
  }
}

TEST_F(PaintedPanelTest, TextureOneAddsNoNoise) {
  TPaintedPanel* panel = Panel(0, 0, 40, 20);
  panel->SetTexture(1);
  panel->SetFill2(0x00F000);
  panel->Generate();
  EXPECT_EQ(panel->Surface().Pixel(20, 10), 0x00F000u);
}

TEST_F(PaintedPanelTest, PanelsShadedInTheirParentShareOneGradient) {
  TPaintedPanel* left = Panel(0, 0, 50, 40);
  TPaintedPanel* right = Panel(50, 0, 50, 40);
  TPaintedPanel* whole = Panel(0, 0, 100, 40);  // its own area is the parent's
  for (TPaintedPanel* p : {left, right, whole}) {
    p->SetTexture(0);
    p->SetRounding(0);
  }
  left->SetShadeInParent(true);
  right->SetShadeInParent(true);
  for (TPaintedPanel* p : {left, right, whole}) p->Generate();
  for (int32_t y = 1; y < 39; y += 5) {
    for (int32_t x = 1; x < 49; x += 3) {
      EXPECT_EQ(left->Surface().Pixel(x, y), whole->Surface().Pixel(x, y));
      EXPECT_EQ(right->Surface().Pixel(x, y), whole->Surface().Pixel(50 + x, y));
    }
  }
  // Without sharing, each panel runs the full gradient over itself.
  TPaintedPanel* alone = Panel(0, 0, 50, 40);
  alone->SetTexture(0);
  alone->SetRounding(0);
  alone->Generate();
  right->SetShadeInParent(false);
  right->Generate();
  EXPECT_EQ(right->Surface(), alone->Surface());
}

TEST_F(PaintedPanelTest, AnEmptyParentDoesNotBreakTheGradient) {
  TPaintedPanel* panel = Panel(0, 0, 20, 10);
  panel->SetShadeInParent(true);
  ui.form.SetClientSize(0, 0);
  panel->Generate();
  const TColour c = panel->Surface().Pixel(10, 5);
  EXPECT_EQ(c & 0xFF000000u, 0u);
}

TEST_F(PaintedPanelTest, ResizingKeepsTheOldPicture) {
  TPaintedPanel* panel = Panel(0, 0, 30, 20);
  ui.window->ProcessPaint();
  const TBitmap first = panel->Surface();
  panel->SetBounds(0, 0, 60, 30);
  ui.window->ProcessPaint();
  EXPECT_EQ(panel->Surface(), first);
  panel->SetRounding(4);
  ui.window->ProcessPaint();
  EXPECT_EQ(panel->Surface().Width(), 60);
}

}  // namespace
