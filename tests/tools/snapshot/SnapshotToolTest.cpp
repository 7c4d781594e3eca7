// ondrel-snapshot run as a person runs it: a picture of the editor for good
// input; for anything else a clear message, a non-zero exit and no file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "generated/OndrelVersion.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class SnapshotTool : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ondrel-snapshot-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  TRun Run(const std::string& args) {
    const std::string errPath = (folder / "stderr.txt").string();
    const std::string outPath = (folder / "stdout.txt").string();
    std::string command = "cd '" + folder.string() + "' && ";
#ifdef SNAPSHOT_TOOL_EMULATOR
    command += std::string(SNAPSHOT_TOOL_EMULATOR) + " ";
#endif
    command += std::string(SNAPSHOT_TOOL) + " " + args + " >'" + outPath + "' 2>'" + errPath + "'";
    TRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::getline(err, run.err, '\0');
    fs::remove(errPath);
    std::ifstream out(outPath);
    std::getline(out, run.out, '\0');
    out.close();
    fs::remove(outPath);
    return run;
  }

  bool Empty() const { return fs::is_empty(folder); }

  fs::path folder;
};

// Width and height from the PNG header.
bool PngSize(const fs::path& path, uint32_t& width, uint32_t& height) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return false;
  width = (uint32_t{header[16]} << 24) | (uint32_t{header[17]} << 16) | (uint32_t{header[18]} << 8) | header[19];
  height = (uint32_t{header[20]} << 24) | (uint32_t{header[21]} << 16) | (uint32_t{header[22]} << 8) | header[23];
  return true;
}

TEST_F(SnapshotTool, WritesTheEditorWithTheGivenSettings) {
  const TRun plain = Run("plain.png");
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  const TRun haas = Run("haas.png --set 'Stereo Mode=Haas' --set rate=0.9 --set 0=No");
  ASSERT_EQ(haas.exitCode, 0) << haas.err;
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(PngSize(folder / "haas.png", width, height));
  EXPECT_EQ(width, 560u);
  EXPECT_EQ(height, 291u);
  EXPECT_NE(fs::file_size(folder / "plain.png"), 0u);
  std::ifstream a(folder / "plain.png", std::ios::binary), b(folder / "haas.png", std::ios::binary);
  const std::string plainBytes((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
  const std::string haasBytes((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
  EXPECT_NE(plainBytes, haasBytes) << "the settings did not show";
}

// A value outside 0 to 1 is more likely a slip (hertz for Cutoff) than meant:
// it is passed on, as the renderer passes it, with the renderer's warning.
TEST_F(SnapshotTool, WarnsLikeTheRendererAboutValuesOutsideTheRange) {
  const TRun run = Run("out.png --set Rate=2 --set Width=0.5");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "ondrel-snapshot: warning: Rate=2 lies outside 0 to 1; the plug-in receives it unchanged\n");
  EXPECT_TRUE(fs::exists(folder / "out.png"));
}

TEST_F(SnapshotTool, TellsItsVersionAndWritesNothing) {
  const TRun run = Run("--version");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string("ondrel-snapshot ") + ONDREL_VERSION + "\n");
  EXPECT_TRUE(Empty());
}

TEST_F(SnapshotTool, RefusesBadInputWithAReasonAndWritesNothing) {
  const struct {
    const char* args;
    const char* says;
  } cases[] = {
      {"", "no output file"},
      {"out.png --bogus", "unknown option"},
      {"out.png --set", "--set needs"},
      {"out.png --set Rate", "--set needs"},
      {"out.png --set Wobble=0.5", "Wobble"},
      {"out.png --set Rate=loud", "loud"},
      {"out.png other.png", "only one output"},
      {"out.jpg", ".png"},
      {"no/such/folder/out.png", "cannot write"},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_NE(run.exitCode, 0) << c.args;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << " said: " << run.err;
    EXPECT_TRUE(Empty()) << c.args << " left a file";
  }
}

}  // namespace
