#include "tools/render/ParameterNames.h"

#include <gtest/gtest.h>

#include <cmath>

namespace render {
namespace {

// Padded as VST 2 plug-ins pad them.
const std::vector<std::string> kNames = {"Bass Mode? ", "Cutoff     ", "Stereo Mode", "Mix        "};

TEST(RenderParameterNames, FindsByNameWithoutCaseOrPaddingAndByIndex) {
  std::string error;
  EXPECT_EQ(FindParameter(kNames, "bass mode?", error), 0);
  EXPECT_EQ(FindParameter(kNames, "STEREO MODE  ", error), 2);
  EXPECT_EQ(FindParameter(kNames, " mix", error), 3);
  EXPECT_EQ(FindParameter(kNames, "1", error), 1);
  EXPECT_EQ(FindParameter(kNames, "03", error), 3);
}

TEST(RenderParameterNames, RefusesWhatIsNotThere) {
  std::string error;
  EXPECT_EQ(FindParameter(kNames, "Bass Mode", error), -1);  // the '?' belongs to the name
  EXPECT_NE(error.find("Bass Mode?, Cutoff, Stereo Mode, Mix"), std::string::npos) << error;
  EXPECT_EQ(FindParameter(kNames, "Stereo", error), -1);
  EXPECT_EQ(FindParameter(kNames, "", error), -1);
  EXPECT_EQ(FindParameter(kNames, "4", error), -1);
  EXPECT_NE(error.find("0 to 3"), std::string::npos) << error;
  EXPECT_EQ(FindParameter(kNames, "99999999999999999999999", error), -1);
  EXPECT_EQ(FindParameter({}, "0", error), -1);
}

TEST(RenderParameterNames, NumbersMustBeFiniteAndWhole) {
  float v = -1.0f;
  EXPECT_TRUE(ParseNumber(" 0.33 ", v));
  EXPECT_FLOAT_EQ(v, 0.33f);
  EXPECT_TRUE(ParseNumber("-2e-1", v));
  EXPECT_FLOAT_EQ(v, -0.2f);
  for (const char* text : {"", " ", "abc", "0.5x", "nan", "inf", "-infinity", "1e39", "0.5 0.6"}) {
    EXPECT_FALSE(ParseNumber(text, v)) << text;
  }
}

// Displays of a four-way switch that shows Round(3 v), and of a two-way one.
std::vector<std::string> FourWayDisplays() {
  static const char* const kModes[] = {"Mono    ", "Stereo  ", "Dual    ", "Haas    "};
  std::vector<std::string> displays;
  for (float v : ProbeValues()) displays.push_back(kModes[static_cast<int>(std::nearbyint(3.0 * v))]);
  return displays;
}

std::vector<std::string> YesNoDisplays() {
  std::vector<std::string> displays;
  for (float v : ProbeValues()) displays.push_back(v > 0.5f ? "Yes     " : "No      ");
  return displays;
}

TEST(RenderParameterNames, WordsPickTheValueAPersonWouldStore) {
  const auto modes = FourWayDisplays();
  EXPECT_EQ(ValueForWord(modes, "Mono"), 0.0f);
  EXPECT_NEAR(*ValueForWord(modes, "stereo"), 1.0f / 3.0f, 1e-6);
  EXPECT_NEAR(*ValueForWord(modes, "DUAL"), 2.0f / 3.0f, 1e-6);
  EXPECT_EQ(ValueForWord(modes, "Haas "), 1.0f);
  EXPECT_FALSE(ValueForWord(modes, "Quad").has_value());
  EXPECT_FALSE(ValueForWord(modes, "").has_value());

  const auto yesNo = YesNoDisplays();
  EXPECT_EQ(ValueForWord(yesNo, "No"), 0.0f);
  EXPECT_EQ(ValueForWord(yesNo, "yes"), 1.0f);
  EXPECT_EQ(DisplayWords(yesNo), (std::vector<std::string>{"No", "Yes"}));
}

TEST(RenderParameterNames, ResolveAsksThePluginOnlyForWords) {
  int asked = 0;
  const auto modes = [&asked](float v) {
    ++asked;
    static const char* const kModes[] = {"Mono", "Stereo", "Dual", "Haas"};
    return std::string(kModes[static_cast<int>(std::nearbyint(3.0 * v))]);
  };
  float value = -1.0f;
  std::string error;
  ASSERT_TRUE(ResolveValue("Stereo Mode", "0.6", modes, value, error));
  EXPECT_FLOAT_EQ(value, 0.6f);
  EXPECT_EQ(asked, 0);
  ASSERT_TRUE(ResolveValue("Stereo Mode", "haas", modes, value, error));
  EXPECT_EQ(value, 1.0f);

  EXPECT_FALSE(ResolveValue("Stereo Mode", "Wide", modes, value, error));
  EXPECT_NE(error.find("Mono, Stereo, Dual, Haas"), std::string::npos) << error;

  // A parameter that shows numbers only has no words to offer.
  const auto numbers = [](float v) { return std::to_string(20.0f * v); };
  EXPECT_FALSE(ResolveValue("Delay      ", "long", numbers, value, error));
  EXPECT_EQ(error, "value \"long\" for Delay is not a number");
}

}  // namespace
}  // namespace render
