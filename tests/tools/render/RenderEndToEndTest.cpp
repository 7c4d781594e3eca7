// The built ondrel-render, run as a person runs it: with the Ondrel plug-in
// built beside it, and with small fixture plug-ins whose output and call log
// show exactly what the renderer did.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <sstream>

#include "generated/OndrelVersion.h"
#include "tests/tools/render/SignalMeasure.h"
#include "tests/tools/render/ToolRunner.h"

namespace render_test {
namespace {

const std::string kTool = RENDER_TOOL;
const std::string kProbe = RENDER_PROBE_PLUGIN;
const std::string kNullRecord = RENDER_NULL_RECORD_PLUGIN;
const std::string kNoEntry = RENDER_NO_ENTRY_LIBRARY;
constexpr double kPi = 3.14159265358979323846;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<float> Tones(int sampleRate, double seconds, const std::vector<std::pair<double, double>>& tones) {
  std::vector<float> x(static_cast<size_t>(std::lround(seconds * sampleRate)));
  for (size_t n = 0; n < x.size(); ++n) {
    double v = 0.0;
    for (const auto& [frequency, level] : tones)
      v += level * std::sin(2.0 * kPi * frequency * static_cast<double>(n) / sampleRate);
    x[n] = static_cast<float>(v);
  }
  return x;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

void ExpectAllFinite(const Sound& sound) {
  for (const auto& channel : sound.channel) {
    for (float v : channel) ASSERT_TRUE(std::isfinite(v));
  }
}

// The chorus must change the band above its 100 Hz split: the delayed copy
// added there makes the output differ clearly from the input, and in the
// default "Dual" mode left and right differ from each other too.
void ExpectChorusedHighBand(const std::vector<float>& input, const Sound& output) {
  ASSERT_EQ(output.channels, 2);
  const double fs = output.sampleRate;
  const auto in = Filter(input, fs, 400.0, true);
  const auto left = Filter(output.channel[0], fs, 400.0, true);
  const auto right = Filter(output.channel[1], fs, 400.0, true);
  const double level = Rms(in);
  ASSERT_GT(level, 1e-3);
  EXPECT_GT(RmsOfDifference(left, in), 0.2 * level) << "the left high band is the input's";
  EXPECT_GT(RmsOfDifference(right, in), 0.2 * level) << "the right high band is the input's";
  EXPECT_GT(RmsOfDifference(left, right), 0.1 * level) << "left and right are the same";
}

// ---- The demo: the built-in riff through Ondrel --------------------------------

TEST(RenderDemo, DefaultRiffBecomesAStereoFileWithTheTail) {
  ScratchFolder dir;
  const ToolRun run = RunTool(kTool, {}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Wrote ondrel-demo.wav")) << run.out;
  EXPECT_TRUE(Has(run.out, "463050 frames (10.50 s at 44100 Hz)")) << run.out;
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"ondrel-demo.wav"});  // no temporary file left
  const Sound sound = ReadSound(dir / "ondrel-demo.wav");
  ASSERT_TRUE(sound.ok);
  EXPECT_EQ(sound.channels, 2);
  EXPECT_EQ(sound.sampleRate, 44100);
  EXPECT_EQ(sound.frames(), 441000 + 22050);  // ten seconds and the default half-second tail
  EXPECT_EQ(sound.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ExpectAllFinite(sound);
}

TEST(RenderDemo, ChorusReshapesTheHighBandAndKeepsTheBass) {
  ScratchFolder dir;
  // The probe passes its input to the left output: the riff as the plug-in hears it.
  ASSERT_EQ(RunTool(kTool, {"--plugin", kProbe, "-o", "dry.wav", "--tail", "0"}, dir.path()).exitCode, 0);
  const ToolRun run = RunTool(kTool, {"-o", "wet.wav", "--tail", "0"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Sound dry = ReadSound(dir / "dry.wav");
  const Sound wet = ReadSound(dir / "wet.wav");
  ASSERT_TRUE(dry.ok && wet.ok);
  ASSERT_EQ(dry.frames(), wet.frames());
  ExpectChorusedHighBand(dry.channel[0], wet);
  // Below the split the bass passes on both sides at about its own level (the
  // split's notch at 100 Hz takes up to 3 dB off the lowest notes).
  const double bass = Rms(Filter(dry.channel[0], 44100, 60.0, false));
  for (int c = 0; c < 2; ++c) {
    const double wetBass = Rms(Filter(wet.channel[static_cast<size_t>(c)], 44100, 60.0, false));
    EXPECT_GT(wetBass, 0.5 * bass) << "channel " << c;
    EXPECT_LT(wetBass, 1.5 * bass) << "channel " << c;
  }
}

// ---- A sound file of the test's own ---------------------------------------------

TEST(RenderFile, KeepsTheRateAddsTheTailAndWritesBesideTheInput) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir.path() / "takes");
  const auto bass = Tones(48000, 1.0, {{55.0, 0.4}, {660.0, 0.15}, {1980.0, 0.05}});
  ASSERT_TRUE(WriteSound(dir / "takes/bass.wav", 48000, {bass, bass}));
  const ToolRun run = RunTool(kTool, {"takes/bass.wav", "--tail", "0.25"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Wrote takes/bass-ondrel.wav")) << run.out;
  const Sound sound = ReadSound(dir / "takes/bass-ondrel.wav");
  ASSERT_TRUE(sound.ok);
  EXPECT_EQ(sound.channels, 2);
  EXPECT_EQ(sound.sampleRate, 48000);
  EXPECT_EQ(sound.frames(), 48000 + 12000);
  ExpectAllFinite(sound);
}

TEST(RenderFile, ChorusReshapesTheHighBandOfAFile) {
  ScratchFolder dir;
  const auto bass = Tones(48000, 1.0, {{55.0, 0.4}, {660.0, 0.15}, {1980.0, 0.05}});
  ASSERT_TRUE(WriteSound(dir / "bass.wav", 48000, {bass}));
  const ToolRun run = RunTool(kTool, {"bass.wav", "--tail", "0"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Sound sound = ReadSound(dir / "bass-ondrel.wav");
  ASSERT_TRUE(sound.ok);
  ExpectChorusedHighBand(bass, sound);
}

TEST(RenderFile, SeveralChannelsAreMixedDownToMono) {
  ScratchFolder dir;
  const auto a = Tones(8000, 0.5, {{100.0, 0.6}});
  const auto b = Tones(8000, 0.5, {{300.0, 0.3}});
  const std::vector<float> c(a.size(), 0.3f);
  ASSERT_TRUE(WriteSound(dir / "three.wav", 8000, {a, b, c}));
  const ToolRun run = RunTool(kTool, {"three.wav", "--plugin", kProbe, "--tail", "0.1"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Sound sound = ReadSound(dir / "three-ondrel.wav");
  ASSERT_TRUE(sound.ok);
  ASSERT_EQ(sound.frames(), 4000 + 800);
  for (size_t n = 0; n < a.size(); ++n) {
    ASSERT_NEAR(sound.channel[0][n], (a[n] + b[n] + c[n]) / 3.0f, 1e-6f) << n;
  }
  for (size_t n = a.size(); n < sound.channel[0].size(); ++n) ASSERT_EQ(sound.channel[0][n], 0.0f) << n;
}

TEST(RenderFile, IntegerAndFlacOutputs) {
  ScratchFolder dir;
  const auto tone = Tones(44100, 0.2, {{440.0, 0.5}});
  ASSERT_TRUE(WriteSound(dir / "tone.wav", 44100, {tone}));
  const struct {
    std::vector<std::string> args;
    const char* file;
    int format;
    float tolerance;
  } cases[] = {
      {{"--format", "pcm16"}, "tone-ondrel.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0f / 16384},
      {{"--format", "pcm24", "-o", "t24.wav"}, "t24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1.0f / 4194304},
      {{"--format", "flac"}, "tone-ondrel.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1.0f / 4194304},
      {{"-o", "picked.flac"}, "picked.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1.0f / 4194304},
  };
  for (const auto& test : cases) {
    std::vector<std::string> args = {"tone.wav", "--plugin", kProbe, "--tail", "0"};
    args.insert(args.end(), test.args.begin(), test.args.end());
    const ToolRun run = RunTool(kTool, args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << test.file << ": " << run.err;
    const Sound sound = ReadSound(dir / test.file);
    ASSERT_TRUE(sound.ok) << test.file;
    EXPECT_EQ(sound.format, test.format) << test.file;
    ASSERT_EQ(sound.frames(), static_cast<sf_count_t>(tone.size()));
    for (size_t n = 0; n < tone.size(); ++n) ASSERT_NEAR(sound.channel[0][n], tone[n], test.tolerance) << test.file;
  }
}

// ---- How the plug-in is driven ---------------------------------------------------

struct LoggedRun {
  ToolRun run;
  std::vector<std::string> log;
};

LoggedRun RunLogged(const ScratchFolder& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--plugin", kProbe});
  LoggedRun result;
  result.run = RunTool(kTool, args, dir.path(), {"RENDER_PROBE_LOG=" + dir / "calls.log"});
  result.log = Lines(ReadFile(dir / "calls.log"));
  return result;
}

// The value of each parameter as last set before the first block.
std::map<int, std::string> ValuesBeforeAudio(const std::vector<std::string>& log) {
  std::map<int, std::string> values;
  for (const std::string& line : log) {
    if (line.rfind("replace", 0) == 0 || line.rfind("process", 0) == 0) break;
    int index = 0;
    char value[32];
    if (std::sscanf(line.c_str(), "set %d %31s", &index, value) == 2) values[index] = value;
  }
  return values;
}

TEST(RenderHost, CallsThePluginInAHostsOrder) {
  ScratchFolder dir;
  ASSERT_TRUE(WriteSound(dir / "in.wav", 8000, {std::vector<float>(1000, 0.1f)}));
  const LoggedRun r = RunLogged(dir, {"in.wav", "--block", "256", "--tail", "0.1", "--set", "Level=0.5"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  ASSERT_GE(r.log.size(), 8u);
  EXPECT_EQ(r.log[0], "open");
  EXPECT_EQ(r.log[1], "samplerate 8000");
  EXPECT_EQ(r.log[2], "blocksize 256");
  EXPECT_EQ(r.log[3], "mains 1");
  EXPECT_EQ(r.log[r.log.size() - 2], "mains 0");
  EXPECT_EQ(r.log.back(), "close");
  EXPECT_EQ(ValuesBeforeAudio(r.log)[0], "0.500000");
  std::vector<int> blocks;
  for (const std::string& line : r.log) {
    int frames = 0;
    if (std::sscanf(line.c_str(), "replace %d", &frames) == 1) blocks.push_back(frames);
    EXPECT_NE(line.rfind("process", 0), 0u) << "accumulating entry used without --accumulate";
  }
  EXPECT_EQ(blocks, (std::vector<int>{256, 256, 256, 256, 256, 256, 256, 8}));  // 1000 frames and 800 of tail
}

TEST(RenderHost, AccumulateUsesTheAccumulatingEntryOnClearedBuffers) {
  ScratchFolder dir;
  const auto tone = Tones(8000, 0.25, {{200.0, 0.5}});
  ASSERT_TRUE(WriteSound(dir / "in.wav", 8000, {tone}));
  const LoggedRun r = RunLogged(dir, {"in.wav", "--accumulate", "--tail", "0", "--block", "100"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  int processCalls = 0;
  for (const std::string& line : r.log) {
    processCalls += line.rfind("process", 0) == 0;
    EXPECT_NE(line.rfind("replace", 0), 0u);
  }
  EXPECT_EQ(processCalls, 20);
  // Each block starts from silence: what was added is exactly the input.
  const Sound sound = ReadSound(dir / "in-ondrel.wav");
  ASSERT_EQ(sound.frames(), static_cast<sf_count_t>(tone.size()));
  for (size_t n = 0; n < tone.size(); ++n) ASSERT_EQ(sound.channel[0][n], tone[n]) << n;
}

TEST(RenderHost, SetsParametersByNameIndexAndDisplayWord) {
  ScratchFolder dir;
  const LoggedRun r = RunLogged(
      dir, {"--tail", "0", "--set", "level  =0.25", "--set", "SWITCH=on", "--set", "2=Blue", "--set", "mode=green"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  const auto values = ValuesBeforeAudio(r.log);
  EXPECT_EQ(values.at(0), "0.250000");
  EXPECT_EQ(values.at(1), "1.000000");  // "On" is shown up to the top of the range
  EXPECT_EQ(values.at(2), "0.333333");  // the last --set wins; "Green" is the middle of its stretch
}

TEST(RenderHost, AutomationChangesLandOnTheirFrames) {
  ScratchFolder dir;
  ASSERT_TRUE(WriteSound(dir / "in.wav", 8000, {std::vector<float>(8000, 0.0f)}));
  std::ofstream(dir / "moves.txt") << "# level rides\n0.5 Level 0.25\n0.125 level 0.75\n0.5 Mode Blue\n";
  const LoggedRun r = RunLogged(dir, {"in.wav", "--automate", "moves.txt", "--block", "300", "--tail", "0"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  const Sound sound = ReadSound(dir / "in-ondrel.wav");
  ASSERT_EQ(sound.frames(), 8000);
  for (size_t n = 0; n < 8000; ++n) {
    const float expected = n < 1000 ? 0.0f : n < 4000 ? 0.75f : 0.25f;
    ASSERT_EQ(sound.channel[1][n], expected) << "frame " << n;
  }
  // The grid of 300 frames stays; the changes at 1000 and 4000 split blocks.
  std::vector<int> blocks;
  for (const std::string& line : r.log) {
    int frames = 0;
    if (std::sscanf(line.c_str(), "replace %d", &frames) == 1) blocks.push_back(frames);
  }
  ASSERT_GE(blocks.size(), 16u);
  EXPECT_EQ(std::vector<int>(blocks.begin(), blocks.begin() + 5), (std::vector<int>{300, 300, 300, 100, 200}));
  EXPECT_TRUE(Has(ReadFile(dir / "calls.log"), "set 2 0.666667"));
}

TEST(RenderHost, AutomationPastTheEndIsReportedAndIgnored) {
  ScratchFolder dir;
  ASSERT_TRUE(WriteSound(dir / "in.wav", 8000, {std::vector<float>(800, 0.0f)}));
  std::ofstream(dir / "late.txt") << "5 Level 1\n";
  const LoggedRun r = RunLogged(dir, {"in.wav", "--automate", "late.txt"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  EXPECT_TRUE(Has(r.run.err, "late.txt:1:")) << r.run.err;
  EXPECT_FALSE(Has(ReadFile(dir / "calls.log"), "set 0 1.000000"));
}

TEST(RenderHost, ValuesOutsideTheRangeArePassedOnWithAWarning) {
  ScratchFolder dir;
  std::ofstream(dir / "moves.txt") << "0.1 Level -2\n";
  const LoggedRun r = RunLogged(dir, {"--tail", "0", "--set", "Level=100", "--automate", "moves.txt"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  EXPECT_TRUE(Has(r.run.err, "Level=100 lies outside 0 to 1")) << r.run.err;
  EXPECT_TRUE(Has(r.run.err, "moves.txt:1: Level=-2 lies outside 0 to 1")) << r.run.err;
  EXPECT_EQ(ValuesBeforeAudio(r.log).at(0), "100.000000");
}

TEST(RenderHost, WarnsAboutSamplesThatAreNotFinite) {
  ScratchFolder dir;
  const LoggedRun r = RunLogged(dir, {"--set", "Poison=1", "--tail", "0", "-o", "nan.wav"});
  ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
  EXPECT_TRUE(Has(r.run.err, "882000 output samples were not finite")) << r.run.err;
  EXPECT_TRUE(std::isnan(ReadSound(dir / "nan.wav").channel[0][100]));

  const LoggedRun pcm = RunLogged(dir, {"--set", "Poison=1", "--tail", "0", "-o", "zero.wav", "--format", "pcm16"});
  ASSERT_EQ(pcm.run.exitCode, 0) << pcm.run.err;
  EXPECT_TRUE(Has(pcm.run.err, "written as silence")) << pcm.run.err;
  EXPECT_EQ(ReadSound(dir / "zero.wav").channel[0][100], 0.0f);
}

// ---- --list and --help -----------------------------------------------------------

TEST(RenderList, ShowsTheOndrelRecordAndEveryParameter) {
  ScratchFolder dir;
  const ToolRun run = RunTool(kTool, {"--list"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Odrl")) << run.out;
  EXPECT_TRUE(Has(run.out, "Inputs      1")) << run.out;
  EXPECT_TRUE(Has(run.out, "Outputs     2")) << run.out;
  EXPECT_TRUE(Has(run.out, "replacing")) << run.out;
  const char* const names[] = {"Bass Mode?", "Cutoff",      "Delay",       "Width", "Rate",
                               "Feedback",   "Stereo Mode", "Anti-alias?", "Mix"};
  const char* const displays[] = {"Yes", "100", "11.19999", "5", "5", "0.25", "Dual", "Yes", "1"};
  int rows = 0;
  for (const std::string& line : Lines(run.out)) {
    int index = -1;
    if (std::sscanf(line.c_str(), "%d ", &index) != 1 || index < 0 || index > 8) continue;
    ++rows;
    EXPECT_TRUE(Has(line, names[index])) << line;
    EXPECT_TRUE(Has(line, displays[index])) << line;
  }
  EXPECT_EQ(rows, 9);
  EXPECT_TRUE(dir.Files().empty());

  // With --set the list shows what the value means to the plug-in.
  const ToolRun set = RunTool(kTool, {"--list", "--set", "stereo mode=haas", "--set", "0=No"}, dir.path());
  ASSERT_EQ(set.exitCode, 0) << set.err;
  for (const std::string& line : Lines(set.out)) {
    if (line.rfind("6  ", 0) == 0) {
      EXPECT_TRUE(Has(line, "1.000000") && Has(line, "Haas")) << line;
    }
    if (line.rfind("0  ", 0) == 0) {
      EXPECT_TRUE(Has(line, "0.000000") && Has(line, "No")) << line;
    }
  }
}

TEST(RenderList, ListsAnyPluginAndHelpNamesTheOptions) {
  ScratchFolder dir;
  const ToolRun run = RunTool(kTool, {"--list", "--plugin", kProbe}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Prob")) << run.out;
  EXPECT_TRUE(Has(run.out, "Level")) << run.out;
  EXPECT_TRUE(Has(run.out, "dB")) << run.out;

  const ToolRun help = RunTool(kTool, {"--help"}, dir.path());
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--set", "--automate", "--tail", "--block", "--format", "--plugin", "--list",
                             "--accumulate", "--version", "mixed down"}) {
    EXPECT_TRUE(Has(help.out, option)) << option;
  }
}

// The version comes from the build and needs no plug-in: it answers even
// when the plug-in named cannot be loaded.
TEST(RenderList, VersionIsTheBuildsOwn) {
  ScratchFolder dir;
  const ToolRun run = RunTool(kTool, {"--version", "--plugin", kNoEntry}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string("ondrel-render ") + ONDREL_VERSION + "\n");
  EXPECT_TRUE(dir.Files().empty());
}

// Starts a render of an hour's tail into out.wav, and waits until its
// temporary file exists.
ToolProcess StartLongRender(const ScratchFolder& dir, const std::vector<int>& ignored = {}) {
  if (!WriteSound(dir / "in.wav", 8000, {std::vector<float>(800, 0.1f)})) ADD_FAILURE() << "no input";
  const ToolProcess process = StartTool(kTool, {"in.wav", "-o", "out.wav", "--tail", "3600"}, dir.path(), {}, ignored);
  for (int wait = 0; wait < 1000; ++wait) {
    for (const std::string& name : dir.Files()) {
      if (name.rfind(".out.wav.partial-", 0) == 0) return process;
    }
    usleep(10000);
  }
  ADD_FAILURE() << "no temporary file appeared";
  return process;
}

// Ctrl-C, a closed terminal, kill, a closed pipe, a timer, a crash: every
// signal that ends the program takes the temporary file with it, and the
// exit code tells which it was.
TEST(RenderInterrupt, EverySignalThatEndsTheRenderLeavesNothingBehind) {
  for (int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGSEGV, SIGABRT}) {
    SCOPED_TRACE(strsignal(number));
    ScratchFolder dir;
    std::ofstream(dir / "out.wav") << "an earlier render";
    const ToolProcess process = StartLongRender(dir);
    kill(process.pid, number);
    const ToolRun run = Finish(process);
    EXPECT_EQ(run.exitCode, 128 + number);
    if (number != SIGSEGV && number != SIGABRT) {
      EXPECT_TRUE(Has(run.err, "interrupted; nothing written")) << run.err;
    }
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"in.wav", "out.wav"}));
    EXPECT_EQ(ReadFile(dir / "out.wav"), "an earlier render");
  }
}

// Started with hangups ignored (nohup), a closed terminal does not end it:
// only the Ctrl-C after it does.
TEST(RenderInterrupt, AnIgnoredHangupStaysIgnored) {
  ScratchFolder dir;
  const ToolProcess process = StartLongRender(dir, {SIGHUP});
  kill(process.pid, SIGHUP);
  usleep(300000);
  kill(process.pid, SIGINT);
  EXPECT_EQ(Finish(process).exitCode, 128 + SIGINT);
}

TEST(RenderFile, AnInputWithoutFramesIsReportedAndGivesTheTail) {
  ScratchFolder dir;
  ASSERT_TRUE(WriteSound(dir / "empty.wav", 8000, {std::vector<float>{}}));
  const ToolRun run = RunTool(kTool, {"empty.wav", "--tail", "0.5"}, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "empty.wav holds no audio frames")) << run.err;
  EXPECT_EQ(ReadSound(dir / "empty-ondrel.wav").frames(), 4000);
}

// ---- Errors: a one-line message, a non-zero exit, nothing written -------------------

struct ErrorCase {
  const char* name;
  std::vector<std::string> args;
  std::string message;
};

void PrintTo(const ErrorCase& error, std::ostream* out) { *out << error.name; }

class RenderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RenderErrors, ExitNonZeroAndWriteNothing) {
  ScratchFolder dir;
  // An earlier demo that a failed run must leave alone.
  std::ofstream(dir / "ondrel-demo.wav") << "an earlier render";
  ASSERT_TRUE(WriteSound(dir / "in.wav", 8000, {std::vector<float>(800, 0.1f)}));
  std::ofstream(dir / "text.wav") << "this is not a sound file\n";
  std::ofstream(dir / "garbage.so") << "this is not a library\n";
  std::ofstream(dir / "bad.txt") << "0 Rate 0.5\nRate\n";
  std::ofstream(dir / "unknown.txt") << "1 Speed 0.5\n";
  std::filesystem::create_directory(dir.path() / "moves");
  // A damaged header: 800 frames at 2.13 GHz, an 8.5 GB tail by default.
  ASSERT_TRUE(WriteSound(dir / "fast.wav", 8000, {std::vector<float>(800, 0.1f)}));
  {
    std::fstream header(dir / "fast.wav", std::ios::in | std::ios::out | std::ios::binary);
    const uint8_t rate[4] = {0x80, 0x38, 0xF5, 0x7E};  // 2130000000, little-endian
    header.seekp(24);
    header.write(reinterpret_cast<const char*>(rate), 4);
  }
  const std::vector<std::string> before = dir.Files();

  const ToolRun run = RunTool(kTool, GetParam().args, dir.path());
  EXPECT_NE(run.exitCode, 0);
  EXPECT_TRUE(Has(run.err, GetParam().message)) << run.err;
  EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  EXPECT_EQ(dir.Files(), before);
  EXPECT_EQ(ReadFile(dir / "ondrel-demo.wav"), "an earlier render");
}

INSTANTIATE_TEST_SUITE_P(
    Render, RenderErrors,
    ::testing::Values(
        ErrorCase{"MissingInput", {"missing.wav"}, "missing.wav"},
        ErrorCase{"InputNotASound", {"text.wav"}, "cannot read input text.wav"},
        ErrorCase{"InputIsAFolder", {"."}, "folder"},
        ErrorCase{"UnsupportedFormat", {"--format", "mp3"}, "unsupported format"},
        ErrorCase{"UnsupportedOutputName", {"-o", "out.mp3"}, "unsupported output format"},
        ErrorCase{"FormatAgainstName", {"-o", "out.wav", "--format", "flac"}, "does not match"},
        ErrorCase{"UnknownParameter", {"--set", "Speed=0.5"}, "unknown parameter \"Speed\""},
        ErrorCase{"ParameterIndexOutOfRange", {"--set", "9=0.5"}, "no parameter 9"},
        ErrorCase{"ValueNotANumber", {"--set", "Rate=fast"}, "not a number"},
        ErrorCase{"ValueNotAWordOfTheParameter", {"--set", "Bass Mode?=Haas"}, "No, Yes"},
        ErrorCase{"ValueNotFinite", {"--set", "Mix=nan"}, "not a number"},
        ErrorCase{"PluginMissing", {"--plugin", "nothere.so"}, "no such file"},
        ErrorCase{"PluginDoesNotLoad", {"--plugin", "garbage.so"}, "cannot load"},
        ErrorCase{"LibraryWithoutEntryPoint", {"--plugin", kNoEntry}, "exports neither VSTPluginMain nor main"},
        ErrorCase{"NullRecord", {"--plugin", kNullRecord}, "null record"},
        ErrorCase{"ListWithoutEntryPoint", {"--list", "--plugin", kNoEntry}, "exports neither"},
        ErrorCase{"AutomationMissing", {"--automate", "none.txt"}, "cannot read automation file none.txt"},
        ErrorCase{"AutomationMalformed", {"--automate", "bad.txt"}, "bad.txt:2:"},
        ErrorCase{"AutomationUnknownParameter", {"--automate", "unknown.txt"}, "unknown.txt:1: unknown parameter"},
        ErrorCase{"AutomationIsAFolder", {"--automate", "moves"}, "cannot read automation file moves: Is a directory"},
        ErrorCase{"InputRateBeyondAnyRecording", {"fast.wav"}, "claims 2130000000 Hz"},
        ErrorCase{"OutputFolderMissing", {"-o", "nowhere/out.wav"}, "cannot write to nowhere"},
        ErrorCase{"OutputIsTheInput", {"in.wav", "-o", "in.wav"}, "is the input"},
        ErrorCase{"BadBlockSize", {"--block", "0"}, "--block"}, ErrorCase{"BadTail", {"--tail", "-1"}, "--tail"},
        ErrorCase{"UnknownOption", {"--loud"}, "unknown option --loud"}),
    [](const ::testing::TestParamInfo<ErrorCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace render_test
