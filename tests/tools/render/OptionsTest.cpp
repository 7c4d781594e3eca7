#include "tools/render/Options.h"

#include <gtest/gtest.h>

namespace render {
namespace {

bool Parse(const std::vector<std::string>& args, Options& options, std::string& error) {
  options = Options();
  error.clear();
  return ParseArguments(args, options, error);
}

TEST(RenderOptions, AcceptsEveryOptionInBothSpellings) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse({"in.wav", "-o", "out.flac", "--format=flac", "--set", "Rate=0.3", "--set=Stereo Mode=Haas",
                     "--automate", "moves.txt", "--tail=2.5", "--block", "64", "--plugin", "x.so", "--accumulate"},
                    o, error))
      << error;
  EXPECT_EQ(o.input, "in.wav");
  EXPECT_EQ(o.output, "out.flac");
  EXPECT_EQ(o.format, OutputFormat::Flac);
  ASSERT_EQ(o.settings.size(), 2u);
  EXPECT_EQ(o.settings[1].parameter, "Stereo Mode");
  EXPECT_EQ(o.settings[1].value, "Haas");
  EXPECT_EQ(o.automationFile, "moves.txt");
  EXPECT_DOUBLE_EQ(o.tailSeconds, 2.5);
  EXPECT_EQ(o.blockSize, 64);
  EXPECT_EQ(o.pluginPath, "x.so");
  EXPECT_TRUE(o.accumulate);

  ASSERT_TRUE(Parse({}, o, error));
  EXPECT_TRUE(o.input.empty());
  EXPECT_DOUBLE_EQ(o.tailSeconds, 0.5);
  EXPECT_EQ(o.blockSize, 512);
  EXPECT_FALSE(o.format.has_value());

  ASSERT_TRUE(Parse({"--version"}, o, error));
  EXPECT_TRUE(o.version);
  EXPECT_FALSE(o.help);

  // After "--" a name that starts with a dash is a file.
  ASSERT_TRUE(Parse({"--", "-odd.wav"}, o, error));
  EXPECT_EQ(o.input, "-odd.wav");
}

TEST(RenderOptions, SetSplitsAtTheLastEquals) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse({"--set", "A=B=0.5"}, o, error));
  EXPECT_EQ(o.settings[0].parameter, "A=B");
  EXPECT_EQ(o.settings[0].value, "0.5");
  // An empty value reaches the resolver, which calls it not a number.
  ASSERT_TRUE(Parse({"--set", "Rate="}, o, error));
  EXPECT_EQ(o.settings[0].value, "");
}

TEST(RenderOptions, RejectsMalformedCommandLines) {
  const std::vector<std::vector<std::string>> bad = {
      {"a.wav", "b.wav"},   {"--bogus"},        {"--tail"},        {"--tail", "-1"},
      {"--tail", "nan"},    {"--tail", "1e9"},  {"--tail", "2s"},  {"--block", "0"},
      {"--block", "65537"}, {"--block", "1.5"}, {"--block", "-4"}, {"--block", "99999999999999999999"},
      {"--format", "mp3"},  {"--set", "Rate"},  {"--set", "=0.5"}, {"-o", ""},
      {"--version=2"},      {"--list=yes"},     {"--plugin"},      {"--automate", ""},
  };
  for (const auto& args : bad) {
    Options o;
    std::string error;
    EXPECT_FALSE(Parse(args, o, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST(RenderOptions, OutputNameFollowsTheInput) {
  Options o;
  OutputChoice choice;
  std::string error;
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.path, "ondrel-demo.wav");
  EXPECT_EQ(choice.format, OutputFormat::Float32);

  o.input = "takes/bass.line.aiff";
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.path, "takes/bass.line-ondrel.wav");

  o.input = "/abs/.hidden";
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.path, "/abs/.hidden-ondrel.wav");

  o.input = "riff.wav";
  o.format = OutputFormat::Flac;
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.path, "riff-ondrel.flac");
  EXPECT_EQ(choice.format, OutputFormat::Flac);
}

TEST(RenderOptions, OutputExtensionAndFormatMustAgree) {
  Options o;
  OutputChoice choice;
  std::string error;
  o.output = "mix.FLAC";
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.format, OutputFormat::Flac);

  o.output = "mix.wav";
  o.format = OutputFormat::Pcm24;
  ASSERT_TRUE(ChooseOutput(o, choice, error));
  EXPECT_EQ(choice.format, OutputFormat::Pcm24);

  o.format = OutputFormat::Flac;
  EXPECT_FALSE(ChooseOutput(o, choice, error));

  o.format.reset();
  for (const char* name : {"mix.mp3", "mix", "dir/", "mix.aiff"}) {
    o.output = name;
    EXPECT_FALSE(ChooseOutput(o, choice, error)) << name;
  }
}

}  // namespace
}  // namespace render
