// The bundle as tools nobody here wrote see it: Debian's lv2_validate
// (sord_validate against the installed vocabularies) and lilv's lv2ls,
// lv2info and lv2apply, the last compared sample for sample with
// ondrel-render driving the VST 2 library. A tool that is not installed
// skips its test with a message saying which package brings it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/render/ToolRunner.h"
#include "tools/render/Riff.h"

namespace {

using render_test::RunTool;
using render_test::ScratchFolder;
using render_test::ToolRun;

const std::string kBundle = ONDREL_LV2_BUNDLE;
const std::string kLv2Path = "LV2_PATH=" ONDREL_LV2_DIR;
const std::string kUri = "urn:ondrel-audio:ondrel";

// The full path of a program on PATH; empty when there is none.
std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

#define REQUIRE_TOOL(variable, name, package)     \
  const std::string variable = FindProgram(name); \
  if (variable.empty())                           \
  GTEST_SKIP() << name << " is not installed (Debian package " package << "): this check of the LV2 bundle is left out"

bool Exists(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

// The bundle's Turtle files: the UI's only once the UI is built.
std::vector<std::string> TurtleFiles() {
  std::vector<std::string> files = {kBundle + "/manifest.ttl", kBundle + "/Ondrel.ttl"};
  if (Exists(kBundle + "/Ondrel_ui.ttl")) files.push_back(kBundle + "/Ondrel_ui.ttl");
  return files;
}

struct Port {
  std::vector<std::string> types;
  std::string symbol;
  std::string defaultValue;
  bool has(const std::string& type) const {
    for (const std::string& t : types)
      if (t.find(type) != std::string::npos) return true;
    return false;
  }
};

// lv2info's "Port N:" blocks: the type lines and the fields we check.
std::map<int, Port> PortsOf(const std::string& info) {
  std::map<int, Port> ports;
  std::istringstream lines(info);
  Port* port = nullptr;
  bool inTypes = false;
  const std::regex heading(R"(^\s*Port (\d+):\s*$)");
  const std::regex field(R"(^\s*(\w+):\s*(\S.*?)\s*$)");
  const std::regex continuation(R"(^\s+(http\S+)\s*$)");
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, heading)) {
      port = &ports[std::stoi(m[1])];
      inTypes = false;
    } else if (port && inTypes && std::regex_match(line, m, continuation)) {
      port->types.push_back(m[1]);
    } else if (port && std::regex_match(line, m, field)) {
      inTypes = m[1] == "Type";
      if (inTypes) port->types.push_back(m[2]);
      if (m[1] == "Symbol") port->symbol = m[2];
      if (m[1] == "Default") port->defaultValue = m[2];
    } else {
      inTypes = false;
    }
  }
  return ports;
}

::testing::AssertionResult SameSamples(const render_test::Sound& a, const render_test::Sound& b) {
  if (!a.ok || !b.ok) return ::testing::AssertionFailure() << "a file could not be read";
  if (a.channels != b.channels || a.sampleRate != b.sampleRate || a.frames() != b.frames())
    return ::testing::AssertionFailure() << a.channels << " channels, " << a.frames() << " frames at " << a.sampleRate
                                         << " Hz against " << b.channels << ", " << b.frames() << " at "
                                         << b.sampleRate;
  for (size_t c = 0; c < a.channel.size(); ++c) {
    for (size_t n = 0; n < a.channel[c].size(); ++n) {
      if (std::memcmp(&a.channel[c][n], &b.channel[c][n], sizeof(float)) != 0)
        return ::testing::AssertionFailure() << "channel " << c << " differs first at frame " << n << ": "
                                             << a.channel[c][n] << " against " << b.channel[c][n];
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Lv2Tools, ValidateFindsNoError) {
  REQUIRE_TOOL(validate, "lv2_validate", "lv2-dev");
  if (FindProgram("sord_validate").empty()) GTEST_SKIP() << "sord_validate is not installed (Debian package sordi)";
  ScratchFolder folder;
  const ToolRun run = RunTool(validate, TurtleFiles(), folder.path());
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("Found 0 errors"), std::string::npos) << run.out;
  EXPECT_EQ(run.err.find("error:"), std::string::npos) << run.err;
}

TEST(Lv2Tools, LilvFindsOneAudioInTwoOutAndNineControls) {
  REQUIRE_TOOL(lv2ls, "lv2ls", "lilv-utils");
  REQUIRE_TOOL(lv2info, "lv2info", "lilv-utils");
  ScratchFolder folder;
  const ToolRun list = RunTool(lv2ls, {}, folder.path(), {kLv2Path});
  EXPECT_EQ(list.out, kUri + "\n") << list.err;

  const ToolRun info = RunTool(lv2info, {kUri}, folder.path(), {kLv2Path});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  const std::map<int, Port> ports = PortsOf(info.out);
  ASSERT_EQ(ports.size(), 12u) << info.out;
  const char* expected[12] = {"in",    "out_left", "out_right", "bass_mode",   "cutoff",     "delay",
                              "width", "rate",     "feedback",  "stereo_mode", "anti_alias", "mix"};
  const char* defaults[9] = {"1.000000", "0.250000", "0.560000", "0.500000", "0.500000",
                             "0.250000", "0.600000", "1.000000", "1.000000"};
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    const Port& port = ports.at(i);
    EXPECT_EQ(port.symbol, expected[i]);
    if (i == 0) {
      EXPECT_TRUE(port.has("#AudioPort") && port.has("#InputPort"));
    } else if (i < 3) {
      EXPECT_TRUE(port.has("#AudioPort") && port.has("#OutputPort"));
    } else {
      EXPECT_TRUE(port.has("#ControlPort") && port.has("#InputPort"));
      EXPECT_EQ(port.defaultValue, defaults[i - 3]);
    }
  }
  // The editor, once the bundle carries it.
  if (Exists(kBundle + "/Ondrel_ui.ttl")) {
    EXPECT_NE(info.out.find(kUri + "#ui"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("X11UI"), std::string::npos) << info.out;
  }
}

// lv2apply hands the file to the plug-in one frame per run, ondrel-render
// in blocks of 512: the sound must not depend on it.
TEST(Lv2Tools, ApplySoundsAsTheVst2Renderer) {
  REQUIRE_TOOL(lv2apply, "lv2apply", "lilv-utils");
  ScratchFolder folder;
  const std::vector<float> riff = render::SynthesizeRiff(48000, 4.0);
  ASSERT_TRUE(render_test::WriteSound(folder / "bass.wav", 48000, {riff}));
  const struct {
    std::vector<std::string> lv2, vst2;
  } cases[] = {{{}, {}}, {{"-c", "stereo_mode", "1"}, {"--set", "Stereo Mode=Haas"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vst2.empty() ? "defaults" : "Haas");
    std::vector<std::string> lv2Args = {"-i", "bass.wav", "-o", "lv2.wav"};
    lv2Args.insert(lv2Args.end(), c.lv2.begin(), c.lv2.end());
    lv2Args.push_back(kUri);
    const ToolRun applied = RunTool(lv2apply, lv2Args, folder.path(), {kLv2Path});
    ASSERT_EQ(applied.exitCode, 0) << applied.out << applied.err;

    std::vector<std::string> vst2Args = {"bass.wav", "-o", "vst2.wav", "--tail", "0"};
    vst2Args.insert(vst2Args.end(), c.vst2.begin(), c.vst2.end());
    const ToolRun rendered = RunTool(RENDER_TOOL, vst2Args, folder.path());
    ASSERT_EQ(rendered.exitCode, 0) << rendered.out << rendered.err;

    EXPECT_TRUE(SameSamples(render_test::ReadSound(folder / "lv2.wav"), render_test::ReadSound(folder / "vst2.wav")));
  }
}
