#include <gtest/gtest.h>

#include <cmath>

#include "tools/render/RecordText.h"
#include "tools/render/Summary.h"

namespace render {
namespace {

TEST(RenderReportText, RecordIdentifierAndFlags) {
  EXPECT_EQ(FourCharText(0x4F64726C), "Odrl");
  EXPECT_EQ(FourCharText(0x00410A42), "?A?B");
  EXPECT_EQ(DescribeFlags(17), "17 (editor, replacing)");
  EXPECT_EQ(DescribeFlags(16 | 256), "272 (replacing, bit 8)");
}

TEST(RenderReportText, TableColumnsLineUp) {
  EXPECT_EQ(FormatTable({{"#", "Name", "Label"}, {"10", "Mix", ""}, {"2", "Stereo Mode", "x"}}),
            "#   Name         Label\n"
            "10  Mix\n"
            "2   Stereo Mode  x\n");
}

TEST(RenderReportText, MeterCountsNonFiniteSamplesAndKeepsThemOutOfThePeak) {
  OutputMeter meter(2);
  const float left[] = {0.25f, -0.5f, NAN, 0.1f};
  const float right[] = {INFINITY, 0.0f, -INFINITY, 0.0f};
  meter.Add(0, left, 4);
  meter.Add(1, right, 4);
  EXPECT_EQ(meter.peaks()[0], 0.5f);
  EXPECT_EQ(meter.peaks()[1], 0.0f);
  EXPECT_EQ(meter.nonFinite(), 3);
}

TEST(RenderReportText, SummaryLine) {
  EXPECT_EQ(FormatLevel(0.5f), "-6.0 dBFS");
  EXPECT_EQ(FormatLevel(1.0f), "0.0 dBFS");
  EXPECT_EQ(FormatLevel(2.0f), "+6.0 dBFS");
  EXPECT_EQ(FormatLevel(0.0f), "silent");

  OutputMeter meter(2);
  const float left[] = {0.5f};
  meter.Add(0, left, 1);
  EXPECT_EQ(FormatSummary(463050, 44100, 0.25, meter),
            "463050 frames (10.50 s at 44100 Hz) in 0.25 s, 42x real time; peak L -6.0 dBFS, R silent");
  EXPECT_NE(FormatSummary(10, 44100, 0.0, meter).find("not measurable"), std::string::npos);
}

}  // namespace
}  // namespace render
