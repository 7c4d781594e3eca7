// The output file on its own: the container a planned size needs, and what
// replacing an existing file keeps of it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/tools/render/ToolRunner.h"
#include "tools/render/AudioOutput.h"

namespace render_test {
namespace {

using render::OutputFile;
using render::OutputFormat;
using render::SoundFileFormatFor;

// Writes frames of a ramp through an OutputFile planned for plannedFrames.
bool WriteRamp(const std::string& path, OutputFormat format, int64_t plannedFrames, int32_t frames,
               std::string& error) {
  auto file = OutputFile::Create(path, format, 44100, plannedFrames, error);
  if (!file) return false;
  std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
  for (int32_t n = 0; n < frames; ++n) {
    left[static_cast<size_t>(n)] = static_cast<float>(n) / static_cast<float>(frames);
    right[static_cast<size_t>(n)] = -left[static_cast<size_t>(n)];
  }
  return file->Write(left.data(), right.data(), frames, error) && file->Commit(error);
}

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

}  // namespace

// A WAV header counts its bytes in 32 bits: 4 GiB of float32 stereo are
// 536870912 frames. Past that (less room for the header) the file is RF64.
TEST(OutputFile, WavOutgrowingItsHeaderBecomesRf64) {
  const struct {
    OutputFormat format;
    int64_t frames;
    int expected;
  } cases[] = {
      {OutputFormat::Float32, 536869000, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
      {OutputFormat::Float32, 536870912, SF_FORMAT_RF64 | SF_FORMAT_FLOAT},
      {OutputFormat::Pcm16, 536870912, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
      {OutputFormat::Pcm16, 1073741824, SF_FORMAT_RF64 | SF_FORMAT_PCM_16},
      {OutputFormat::Pcm24, 715827882, SF_FORMAT_RF64 | SF_FORMAT_PCM_24},
      {OutputFormat::Flac, INT64_C(44100) * 10 * 3600, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SoundFileFormatFor(c.format, c.frames), c.expected) << render::FormatName(c.format) << ", " << c.frames;
  }
}

TEST(OutputFile, Rf64ReadsBackWhole) {
  ScratchFolder dir;
  std::string error;
  ASSERT_TRUE(WriteRamp(dir / "long.wav", OutputFormat::Float32, 600000000, 5000, error)) << error;
  const Sound sound = ReadSound(dir / "long.wav");
  ASSERT_TRUE(sound.ok);
  EXPECT_EQ(sound.format, SF_FORMAT_RF64 | SF_FORMAT_FLOAT);
  ASSERT_EQ(sound.frames(), 5000);
  for (size_t n = 0; n < 5000; ++n) {
    ASSERT_EQ(sound.channel[0][n], static_cast<float>(n) / 5000.0f) << n;
    ASSERT_EQ(sound.channel[1][n], -sound.channel[0][n]) << n;
  }
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"long.wav"});
}

TEST(OutputFile, ReplacingKeepsTheModeAndTheLink) {
  ScratchFolder dir;
  std::string error;
  std::ofstream(dir / "private.wav") << "an earlier render";
  chmod((dir / "private.wav").c_str(), 0600);
  ASSERT_TRUE(WriteRamp(dir / "private.wav", OutputFormat::Pcm16, 100, 100, error)) << error;
  EXPECT_EQ(ModeOf(dir / "private.wav"), 0600u);
  EXPECT_EQ(ReadSound(dir / "private.wav").frames(), 100);

  // A link, relative to its own folder, to a file elsewhere; and a link to a
  // file not there yet.
  std::filesystem::create_directory(dir.path() / "takes");
  std::ofstream(dir / "takes/real.wav") << "an earlier render";
  chmod((dir / "takes/real.wav").c_str(), 0640);
  std::filesystem::create_symlink("takes/real.wav", dir.path() / "link.wav");
  std::filesystem::create_symlink("takes/new.wav", dir.path() / "ahead.wav");
  ASSERT_TRUE(WriteRamp(dir / "link.wav", OutputFormat::Float32, 200, 200, error)) << error;
  ASSERT_TRUE(WriteRamp(dir / "ahead.wav", OutputFormat::Float32, 300, 300, error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.wav"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "ahead.wav"));
  EXPECT_EQ(ReadSound(dir / "takes/real.wav").frames(), 200);
  EXPECT_EQ(ModeOf(dir / "takes/real.wav"), 0640u);
  EXPECT_EQ(ReadSound(dir / "takes/new.wav").frames(), 300);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".partial-"), std::string::npos) << entry.path();
  }
}

}  // namespace render_test
