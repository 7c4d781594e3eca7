// The editor as a host shows it, pixel for pixel, with the built-in font: a
// fault in drawing, layout, pictures or the values shown fails here. After
// an intended change of the picture, run with ONDREL_UPDATE_GOLDEN=1 and look
// at the new files before committing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BmpReader.h"
#include "BmpWriter.h"
#include "EditorTestSupport.h"

namespace {

struct TGoldenCase {
  const char* name;
  std::vector<std::pair<int32_t, float>> values;
};

std::string GoldenPath(const std::string& name) { return std::string(ONDREL_GOLDEN_DIR) + "/" + name + ".bmp"; }

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

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

  const std::string path = GoldenPath(golden.name);
  if (std::getenv("ONDREL_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(WriteFile(path, WriteBmp24(screen))) << path;
    return;
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFile(path, bytes)) << "no recorded picture " << path;
  TBitmap expected;
  ASSERT_TRUE(ReadBmp(bytes.data(), bytes.size(), expected)) << path;
  ASSERT_EQ(expected.Width(), screen.Width());
  ASSERT_EQ(expected.Height(), screen.Height());
  int32_t differing = 0;
  TPoint first{-1, -1};
  for (int32_t y = 0; y < screen.Height(); ++y) {
    for (int32_t x = 0; x < screen.Width(); ++x) {
      if (screen.Pixel(x, y) == expected.Pixel(x, y)) continue;
      if (differing++ == 0) first = TPoint{x, y};
    }
  }
  if (differing != 0) {
    const std::string actual = ::testing::TempDir() + "editor-" + golden.name + "-actual.bmp";
    WriteFile(actual, WriteBmp24(screen));
    FAIL() << differing << " pixels differ, the first at " << first.X << ", " << first.Y << "; this run's picture is "
           << actual;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, GoldenImage,
    ::testing::Values(TGoldenCase{"default", {}},
                      TGoldenCase{"haas", {{kStereoMode, 1.0f}}},
                      TGoldenCase{"bass-mode-off", {{kBassMode, 0.0f}, {kAntiAlias, 0.0f}}},
                      TGoldenCase{"knobs-low",
                                  {{kCutoff, 0.2f}, {kDelay, 0.2f}, {kWidth, 0.2f}, {kRate, 0.2f}, {kFeedback, 0.2f},
                                   {kMix, 0.2f}, {kStereoMode, 0.0f}}},
                      TGoldenCase{"knobs-high",
                                  {{kCutoff, 0.8f}, {kDelay, 0.8f}, {kWidth, 0.8f}, {kRate, 0.8f}, {kFeedback, 0.8f},
                                   {kMix, 0.8f}, {kStereoMode, 0.33333334f}}}),
    [](const ::testing::TestParamInfo<TGoldenCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == '-') c = '_';
      }
      return name;
    });

}  // namespace
