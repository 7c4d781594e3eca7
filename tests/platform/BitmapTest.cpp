// Bitmap drawing: clipping, rounded rectangles, transparency, text in the
// built-in font.
#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/FontEngine.h"

namespace {

int32_t Count(const TBitmap& b, TColour c) {
  int32_t n = 0;
  for (int32_t y = 0; y < b.Height(); ++y) {
    for (int32_t x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c ? 1 : 0;
  }
  return n;
}

TEST(Bitmap, PixelsOutsideAreIgnoredOrAbsent) {
  TBitmap b(4, 3, 0x123456);
  b.SetPixel(-1, 0, 0);
  b.SetPixel(4, 0, 0);
  b.SetPixel(0, 3, 0);
  EXPECT_EQ(Count(b, 0x123456), 12);
  EXPECT_EQ(b.Pixel(-1, 0), kNoPixel);
  EXPECT_EQ(b.Pixel(0, 3), kNoPixel);
  b.SetPixel(3, 2, 0x000001);
  EXPECT_EQ(b.Pixel(3, 2), 0x000001u);
}

TEST(Bitmap, ResizingKeepsThePixelsThatFitAndLimitsTheSize) {
  TBitmap b(2, 2, 0x111111);
  b.SetSize(3, 1);
  EXPECT_EQ(b.Pixel(1, 0), 0x111111u);
  EXPECT_EQ(b.Pixel(2, 0), clWhite);
  b.SetSize(-5, INT32_MAX);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), kMaxBitmapSide);
}

TEST(Bitmap, RoundRectWithoutRoundingIsAnOutlinedRectangle) {
  TBitmap b(8, 6, clWhite);
  b.RoundRect(TRect{1, 1, 7, 5}, 0, 0, 0xFF0000, 0x0000FF);
  // Outline on x 1..6, y 1..4; right and bottom edges exclusive.
  EXPECT_EQ(Count(b, 0xFF0000), 2 * 6 + 2 * 2);
  EXPECT_EQ(Count(b, 0x0000FF), 4 * 2);
  EXPECT_EQ(b.Pixel(7, 3), clWhite);
  EXPECT_EQ(b.Pixel(6, 4), 0xFF0000u);
}

TEST(Bitmap, RoundRectCornersAreCutSymmetrically) {
  TBitmap b(20, 14, clWhite);
  b.RoundRect(b.BoundsRect(), 10, 10, 0xFF0000, 0x0000FF);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
  EXPECT_EQ(b.Pixel(19, 13), clWhite);
  EXPECT_EQ(b.Pixel(10, 0), 0xFF0000u);
  EXPECT_EQ(b.Pixel(0, 7), 0xFF0000u);
  EXPECT_EQ(b.Pixel(10, 7), 0x0000FFu);
  for (int32_t y = 0; y < 14; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      EXPECT_EQ(b.Pixel(x, y), b.Pixel(19 - x, y)) << x << "," << y;
      EXPECT_EQ(b.Pixel(x, y), b.Pixel(x, 13 - y)) << x << "," << y;
    }
  }
  // Every interior pixel is enclosed: its four neighbours are shape pixels.
  for (int32_t y = 0; y < 14; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      if (b.Pixel(x, y) != 0x0000FFu) continue;
      for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
        EXPECT_NE(b.Pixel(x + dx, y + dy), clWhite) << x << "," << y;
      }
    }
  }
}

TEST(Bitmap, RoundRectWithHugeCornersOrExtentsStaysInside) {
  TBitmap b(10, 10, clWhite);
  b.RoundRect(TRect{-kCoordinateLimit, -kCoordinateLimit, kCoordinateLimit, kCoordinateLimit}, INT32_MAX, INT32_MIN,
              0xFF0000, 0x0000FF);
  EXPECT_EQ(Count(b, 0x0000FF), 100);
}

TEST(Bitmap, DrawTransparentLeavesOutTheKeyColour) {
  TBitmap dest(4, 4, 0x111111);
  TBitmap source(2, 2, 0x222222);
  source.SetPixel(0, 0, 0x00FF00);
  dest.DrawTransparent(3, 3, source, 0x00FF00);  // only one pixel lands
  EXPECT_EQ(dest.Pixel(3, 3), 0x111111u);
  dest.DrawTransparent(1, 1, source, 0x00FF00);
  EXPECT_EQ(dest.Pixel(1, 1), 0x111111u);
  EXPECT_EQ(dest.Pixel(2, 1), 0x222222u);
  EXPECT_EQ(dest.Pixel(2, 2), 0x222222u);
  dest.Draw(-1, -1, source);
  EXPECT_EQ(dest.Pixel(0, 0), 0x222222u);
}

TEST(Bitmap, DottedPolylineAlternatesAndSkipsSegmentEnds) {
  TBitmap b(5, 3, clWhite);
  const TPoint points[] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}};
  b.DottedPolyline(points, 5, clBlack);
  EXPECT_EQ(b.Pixel(0, 0), clBlack);
  EXPECT_EQ(b.Pixel(1, 0), clWhite);
  EXPECT_EQ(b.Pixel(2, 0), clBlack);
  EXPECT_EQ(b.Pixel(4, 0), clBlack);  // the pattern runs on round the corner
  EXPECT_EQ(b.Pixel(4, 1), clWhite);
  EXPECT_EQ(b.Pixel(4, 2), clBlack);
}

TEST(Canvas, OriginAndClipConfineDrawing) {
  TBitmap b(10, 10, 0);
  TCanvas canvas(b, TPoint{2, 3}, TRect{2, 3, 6, 6});
  canvas.FillRect(TRect{-5, -5, 50, 50}, 0xAA);
  EXPECT_EQ(Count(b, 0xAA), 4 * 3);
  EXPECT_EQ(b.Pixel(2, 3), 0xAAu);
  canvas.SetPixel(0, 0, 0xBB);
  EXPECT_EQ(b.Pixel(2, 3), 0xBBu);
  EXPECT_EQ(canvas.Pixel(0, 0), 0xBBu);
  EXPECT_EQ(canvas.Pixel(4, 0), kNoPixel);  // outside the clip
  EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 4, 3}));
}

class BuiltinTextTest : public ::testing::Test {
 protected:
  BuiltinTextTest() { SetFontEngine(BuiltinFontEngine()); }
  TFont font{"MS Sans Serif", -11, 0x0000FF, false};
};

TEST_F(BuiltinTextTest, FixedMetrics) {
  TBitmap b;
  EXPECT_EQ(b.TextWidth(font, "Max"), 18);
  EXPECT_EQ(b.TextHeight(font, "Max"), 13);
  EXPECT_EQ(b.TextWidth(font, ""), 0);
  font.Bold = true;
  EXPECT_EQ(b.TextWidth(font, "Off"), 21);
  font.Height = 40;  // the built-in font has one size
  EXPECT_EQ(b.TextHeight(font, "x"), 13);
}

TEST_F(BuiltinTextTest, TextHasNoBackgroundAndStartsAtTheTopLeft) {
  TBitmap b(20, 15, 0x00FF00);
  b.TextOut(2, 1, "I", font);
  // 'I' is a vertical bar in the middle column with serifs, rows 3 .. 9 of the cell.
  EXPECT_EQ(b.Pixel(2 + 2, 1 + 3), 0x0000FFu);
  EXPECT_EQ(b.Pixel(2 + 2, 1 + 9), 0x0000FFu);
  EXPECT_EQ(b.Pixel(2 + 2, 1 + 2), 0x00FF00u);
  EXPECT_EQ(b.Pixel(2 + 2, 1 + 10), 0x00FF00u);
  EXPECT_EQ(Count(b, 0x0000FF), 7 + 4);
}

TEST(NativeFont, MeasuresAndDrawsSomething) {
  TFontEngine& engine = NativeFontEngine();
  const TFont font{"Arial", -11, clBlack, false};
  const TTextExtent extent = engine.Measure(font, "Cutoff");
  EXPECT_GT(extent.Width, 10);
  EXPECT_GE(extent.Height, 11);
  EXPECT_LE(extent.Height, 20);
  int32_t pixels = 0;
  engine.Rasterise(font, "Cutoff", [&](int32_t x, int32_t y) {
    ++pixels;
    EXPECT_GE(x, -2);
    EXPECT_LT(x, extent.Width + 2);
    EXPECT_GE(y, 0);
    EXPECT_LT(y, extent.Height);
  });
  EXPECT_GT(pixels, 20);
  TFont bold = font;
  bold.Bold = true;
  EXPECT_GE(engine.Measure(bold, "Cutoff").Width, extent.Width);
}

}  // namespace
