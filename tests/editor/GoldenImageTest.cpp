// The editor as a host shows it, pixel for pixel, with the built-in font: a
// fault in drawing, layout, pictures or the values shown fails here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/editor/EditorTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace {

struct TGoldenCase {
  const char* name;
  std::vector<std::pair<int32_t, float>> values;
};

std::string GoldenPath(const std::string& name) { return std::string(ONDREL_GOLDEN_DIR) + "/" + name + ".bmp"; }

class GoldenImage : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(GoldenImage, EditorLooksAsRecorded) {
  const TGoldenCase& golden = GetParam();
  TEditorHost host;
  for (const auto& [index, value] : golden.values) host.Set(index, value);
  ASSERT_NE(host.GetRect(), nullptr);
  ASSERT_EQ(host.Open(), 1);
  host.Paint();
  const TBitmap& screen = host.Window()->Screen();
  ASSERT_EQ(screen.Width(), 560);
  ASSERT_EQ(screen.Height(), 291);

  EXPECT_TRUE(MatchesGolden(screen, GoldenPath(golden.name)));
}

// clang-format off
const TGoldenCase kGoldenCases[] = {
    {"default", {}},
    {"haas", {{kStereoMode, 1.0f}}},
    {"bass-mode-off", {{kBassMode, 0.0f}, {kAntiAlias, 0.0f}}},
    {"knobs-low", {{kCutoff, 0.2f}, {kDelay, 0.2f}, {kWidth, 0.2f}, {kRate, 0.2f}, {kFeedback, 0.2f}, {kMix, 0.2f},
                   {kStereoMode, 0.0f}}},
    {"knobs-high", {{kCutoff, 0.8f}, {kDelay, 0.8f}, {kWidth, 0.8f}, {kRate, 0.8f}, {kFeedback, 0.8f}, {kMix, 0.8f},
                    {kStereoMode, 0.33333334f}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Editor, GoldenImage, ::testing::ValuesIn(kGoldenCases),
                         [](const ::testing::TestParamInfo<TGoldenCase>& param) {
                           std::string name = param.param.name;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
