// Display texts must be byte-exact: hosts show them as they are.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "host/TextFormat.h"

namespace {

std::string Float(float v, char separator = '.') {
  char text[16];
  std::memset(text, 0x7F, sizeof text);
  TextFormat::FormatFloat(v, text, separator);
  return text;
}

}  // namespace

TEST(FloatText, GeneralFormatCutToEightCharacters) {
  EXPECT_EQ(Float(0.25f), "0.25");
  EXPECT_EQ(Float(100.0f), "100");
  EXPECT_EQ(Float(0.1f), "0.100000");
  EXPECT_EQ(Float(1.0f / 3.0f), "0.333333");
  EXPECT_EQ(Float(12345.678f), "12345.67");
  EXPECT_EQ(Float(141.42136f), "141.4213");
  EXPECT_EQ(Float(-3.5f), "-3.5");
  EXPECT_EQ(Float(9999999.0f), "9999999");
  EXPECT_EQ(Float(-999999.0f), "-999999");
  EXPECT_EQ(Float(0.0f), "0.000000");
  EXPECT_EQ(Float(-0.0f), "0.000000");
  EXPECT_EQ(Float(2e-5f), "0.000019");  // 1.99999994947575E-5, cut, not rounded
}

TEST(FloatText, SmallMagnitudesUseScientificNotation) {
  // The text before the cut is 9.99999997475243E-7.
  EXPECT_EQ(Float(0.000001f), "9.999999");
  EXPECT_EQ(Float(-0.000001f), "-9.99999");
  EXPECT_EQ(Float(1e-30f), "1.000000");
  EXPECT_EQ(Float(std::numeric_limits<float>::denorm_min()), "1.401298");
}

TEST(FloatText, HugeAndNotANumber) {
  EXPECT_EQ(Float(10000000.0f), "  Huge! ");
  EXPECT_EQ(Float(-1000000.0f), "  Huge! ");
  EXPECT_EQ(Float(std::numeric_limits<float>::infinity()), "  Huge! ");
  EXPECT_EQ(Float(-std::numeric_limits<float>::infinity()), "  Huge! ");
  EXPECT_EQ(Float(std::numeric_limits<float>::quiet_NaN()), "  Huge! ");
  EXPECT_EQ(Float(3.4e38f), "  Huge! ");
}

TEST(FloatText, LocaleSeparatorIsUsed) {
  EXPECT_EQ(Float(2.5f, ','), "2,5");
  EXPECT_EQ(Float(0.1f, ','), "0,100000");
  EXPECT_EQ(Float(100.0f, ','), "100");
  const char separator = TextFormat::LocaleDecimalSeparator();
  EXPECT_NE(separator, '\0');
}

TEST(CopyText, CutsAndTerminates) {
  char buffer[8] = "xxxxxxx";
  TextFormat::CopyText(buffer, "abcdefghij", 4);
  EXPECT_STREQ(buffer, "abcd");
  TextFormat::CopyText(buffer, nullptr, 4);
  EXPECT_STREQ(buffer, "");
  TextFormat::CopyText(nullptr, "abc", 4);  // nothing to write into: no crash
}
