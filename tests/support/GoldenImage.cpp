#include "GoldenImage.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/BmpReader.h"
#include "platform/BmpWriter.h"

namespace {

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

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

::testing::AssertionResult MatchesGolden(const TBitmap& picture, const std::string& path) {
  if (std::getenv("ONDREL_UPDATE_GOLDEN") != nullptr) {
    if (!WriteFile(path, WriteBmp24(picture))) return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess() << "recorded " << path;
  }
  std::vector<uint8_t> bytes;
  TBitmap expected;
  if (!ReadFile(path, bytes)) return ::testing::AssertionFailure() << "no recorded picture " << path;
  std::string error;
  if (!ReadBmp(bytes.data(), bytes.size(), expected, &error)) {
    return ::testing::AssertionFailure() << path << ": " << error;
  }
  if (expected.Width() != picture.Width() || expected.Height() != picture.Height()) {
    return ::testing::AssertionFailure() << "the picture is " << picture.Width() << " by " << picture.Height()
                                         << ", the recording " << expected.Width() << " by " << expected.Height();
  }
  int32_t differing = 0;
  TPoint first{-1, -1};
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      if (picture.Pixel(x, y) == expected.Pixel(x, y)) continue;
      if (differing++ == 0) first = TPoint{x, y};
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  const std::string actual = ::testing::TempDir() + "actual-" + BaseName(path);
  WriteFile(actual, WriteBmp24(picture));
  return ::testing::AssertionFailure() << differing << " pixels differ from " << path << ", the first at " << first.X
                                       << ", " << first.Y << "; this run's picture is " << actual;
}
