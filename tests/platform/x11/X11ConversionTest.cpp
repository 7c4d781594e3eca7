// The X11 back end's translations that need no server: colour values to a
// visual's pixels, X's button state to the form's, and the screen density
// from the server's resources.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Screen.h"
#include "platform/x11/X11ImageFormat.h"
#include "platform/x11/X11Input.h"
#include "platform/x11/X11PixelFormat.h"
#include "platform/x11/X11Screen.h"

namespace {

constexpr TColour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

TEST(X11PixelFormatTest, PutsEachChannelWhereTheVisualsMasksSay) {
  const TX11PixelFormat rgb(0xFF0000, 0x00FF00, 0x0000FF, 24);
  ASSERT_TRUE(rgb.Usable());
  EXPECT_EQ(rgb.Pixel(0x332211), 0x112233u);  // red 0x11 in the colour's low byte
  EXPECT_EQ(rgb.Pixel(kRed), 0xFF0000u);
  EXPECT_EQ(rgb.Pixel(kBlue), 0x0000FFu);
  const TX11PixelFormat bgr(0x0000FF, 0x00FF00, 0xFF0000, 24);
  EXPECT_EQ(bgr.Pixel(0x332211), 0x332211u);

  // A 32-bit visual's spare byte is alpha: opaque, or the editor is invisible.
  const TX11PixelFormat argb(0xFF0000, 0x00FF00, 0x0000FF, 32);
  EXPECT_EQ(argb.Pixel(0x000000), 0xFF000000u);
  EXPECT_EQ(argb.Pixel(0x332211), 0xFF112233u);

  // 16-bit 5-6-5 and 30-bit 10-10-10: full levels stay full, black stays black.
  const TX11PixelFormat r5g6b5(0xF800, 0x07E0, 0x001F, 16);
  EXPECT_EQ(r5g6b5.Pixel(0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(r5g6b5.Pixel(kRed), 0xF800u);
  EXPECT_EQ(r5g6b5.Pixel(kGreen), 0x07E0u);
  EXPECT_EQ(r5g6b5.Pixel(0x000000), 0u);
  const TX11PixelFormat deep(0x3FF00000, 0x000FFC00, 0x000003FF, 30);
  EXPECT_EQ(deep.Pixel(0xFFFFFF), 0x3FFFFFFFu);
  EXPECT_EQ(deep.Pixel(0x000080), 0x20200000u);  // red 128 of 255 is 514 of 1023

  const TColour row[3] = {kRed, kGreen, kBlue};
  uint32_t out[3] = {};
  rgb.ConvertRow(row, out, 3);
  EXPECT_EQ(out[0], 0xFF0000u);
  EXPECT_EQ(out[1], 0x00FF00u);
  EXPECT_EQ(out[2], 0x0000FFu);
}

TEST(X11PixelFormatTest, RefusesMasksNoConversionServes) {
  EXPECT_FALSE(TX11PixelFormat(0, 0, 0, 24).Usable());                         // a palette visual
  EXPECT_FALSE(TX11PixelFormat(0xFF0000, 0xFFFF00, 0x0000FF, 24).Usable());    // overlapping
  EXPECT_FALSE(TX11PixelFormat(0xF0F000, 0x000F00, 0x0000FF, 24).Usable());    // split channel
  EXPECT_FALSE(TX11PixelFormat(0xFF000000, 0x00FF00, 0x0000FF, 24).Usable());  // beyond the depth
}

// XCB sends image bytes as they are: they must be in the server's layout.
TEST(X11ImageFormatTest, WritesPixelsInTheServersLayout) {
  const TX11PixelFormat rgb(0xFF0000, 0x00FF00, 0x0000FF, 24);
  const TColour row[2] = {0x332211, 0x665544};  // pixels 0x112233 and 0x445566
  uint8_t out[8] = {};
  TX11ImageFormat(32, 32, true).StoreRow(rgb, row, 2, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}));
  TX11ImageFormat(32, 32, false).StoreRow(rgb, row, 2, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{0, 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66}));
  uint8_t packed[7] = {};
  packed[6] = 0xEE;
  TX11ImageFormat(24, 32, true).StoreRow(rgb, row, 2, packed);
  EXPECT_EQ(std::vector<uint8_t>(packed, packed + 7), (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0xEE}));
  const TX11PixelFormat r5g6b5(0xF800, 0x07E0, 0x001F, 16);
  uint8_t wide[2] = {};
  TX11ImageFormat(16, 32, false).StoreRow(r5g6b5, row, 1, wide);  // red 0x11 -> 2, green 0x22 -> 8, blue 0x33 -> 6
  EXPECT_EQ(wide[0], 0x11);
  EXPECT_EQ(wide[1], 0x06);

  // Rows are padded to the format's scanline unit.
  EXPECT_EQ(TX11ImageFormat(24, 32, true).BytesPerLine(5), 16u);
  EXPECT_EQ(TX11ImageFormat(16, 32, true).BytesPerLine(3), 8u);
  EXPECT_EQ(TX11ImageFormat(8, 8, true).BytesPerLine(3), 3u);
  EXPECT_EQ(TX11ImageFormat(32, 32, true).BytesPerLine(560), 2240u);
  EXPECT_FALSE(TX11ImageFormat(1, 32, true).Usable());
  EXPECT_FALSE(TX11ImageFormat(4, 8, true).Usable());
  EXPECT_FALSE(TX11ImageFormat(32, 4, true).Usable());
}

TEST(X11ImageFormatTest, StripsFitTheServersLongestRequest) {
  // A server without BIG-REQUESTS takes 65535 four-byte units at most; a
  // request is 24 bytes before its pixels.
  EXPECT_EQ(RowsPerImageRequest(65535 * 4, 2240), 117);
  EXPECT_EQ(RowsPerImageRequest(24 + 2240, 2240), 1);
  EXPECT_EQ(RowsPerImageRequest(24 + 2239, 2240), 0);
  EXPECT_EQ(RowsPerImageRequest(16, 2240), 0);
  EXPECT_EQ(RowsPerImageRequest(65535 * 4, 0), 0);
}

TEST(X11InputTest, ButtonStateIsTheOneAfterTheEvent) {
  TMouseButton button = TMouseButton::Right;
  ASSERT_TRUE(x11input::ButtonFromX(XCB_BUTTON_INDEX_1, button));
  EXPECT_EQ(button, TMouseButton::Left);
  ASSERT_TRUE(x11input::ButtonFromX(XCB_BUTTON_INDEX_3, button));
  EXPECT_EQ(button, TMouseButton::Right);
  EXPECT_FALSE(x11input::ButtonFromX(XCB_BUTTON_INDEX_4, button));  // the wheel

  // X reports the state before the event.
  EXPECT_EQ(x11input::ShiftAtPress(XCB_MOD_MASK_SHIFT, TMouseButton::Left), ssShift | ssLeft);
  EXPECT_EQ(x11input::ShiftAtRelease(XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_3, TMouseButton::Left), ssRight);
  EXPECT_EQ(x11input::ShiftFromX(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_BUTTON_MASK_2), ssCtrl | ssAlt | ssMiddle);
}

TEST(X11ScreenTest, DensityFromXftDpiOrTheScreensSize) {
  EXPECT_EQ(XftDpiFromResources("Xft.antialias:\t1\nXft.dpi:\t120\nXft.hinting:\t1\n"), 120);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi: 96.6"), 97);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t96\nXft.dpi:\t144\n"), 144);  // the last one counts
  EXPECT_EQ(XftDpiFromResources("Xft.dpix:\t120\n*dpi:\t120\n"), 0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\tlarge\n"), 0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t120x\n"), 0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t0\n"), 0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t1e9\n"), 0);
  EXPECT_EQ(XftDpiFromResources(""), 0);

  EXPECT_EQ(PixelsPerInchFromSize(1024, 260), 100);
  EXPECT_EQ(PixelsPerInchFromSize(1080, 285), 96);
  EXPECT_EQ(PixelsPerInchFromSize(1080, 0), 0);  // servers that know no size
}

TEST(X11ScreenTest, ScreenDensityComesFromTheInstalledSource) {
  SetPixelsPerInchSource([] { return int32_t{144}; });
  EXPECT_EQ(ScreenPixelsPerInch(), 144);
  OverrideScreenPixelsPerInch(120);
  EXPECT_EQ(ScreenPixelsPerInch(), 120);
  OverrideScreenPixelsPerInch(0);
  SetPixelsPerInchSource([] { return int32_t{0}; });  // the source cannot tell
  EXPECT_EQ(ScreenPixelsPerInch(), 96);
  SetPixelsPerInchSource(nullptr);
  EXPECT_EQ(ScreenPixelsPerInch(), 96);
}

}  // namespace
