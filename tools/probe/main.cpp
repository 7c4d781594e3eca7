// ondrel-probe PLUGIN: loads a VST 2 plug-in library from the given path as a
// host does, starts it, runs one block of sound through it, closes it and
// says what its record holds. Exit code 0 only when all of that worked.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "generated/OndrelVersion.h"
#include "host/QuietHost.h"
#include "tools/hostkit/PluginLibrary.h"

namespace {

constexpr char kProgram[] = "ondrel-probe";
constexpr int32_t kBlock = 64;

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 1;
}

std::string FourChars(int32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<unsigned char>((static_cast<uint32_t>(code) >> shift) & 0xFFu);
    text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  return text;
}

// A sine in, every output sample finite: the plug-in's sound path ran.
bool ProcessOneBlock(AEffect* effect, std::string& error) {
  if (effect->numInputs < 0 || effect->numOutputs < 1 || effect->numInputs > 64 || effect->numOutputs > 64) {
    error = "implausible channel counts";
    return false;
  }
  std::vector<std::vector<float>> in(static_cast<size_t>(effect->numInputs), std::vector<float>(kBlock));
  std::vector<std::vector<float>> out(static_cast<size_t>(effect->numOutputs), std::vector<float>(kBlock, NAN));
  for (auto& channel : in) {
    for (size_t i = 0; i < channel.size(); ++i) channel[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
  }
  std::vector<float*> inputs, outputs;
  for (auto& channel : in) inputs.push_back(channel.data());
  for (auto& channel : out) outputs.push_back(channel.data());
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  if (effect->processReplacing == nullptr) {
    error = "no replacing process entry";
    return false;
  }
  effect->processReplacing(effect, inputs.data(), outputs.data(), kBlock);
  effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
  for (const auto& channel : out) {
    for (float sample : channel) {
      if (!std::isfinite(sample)) {
        error = "the processed block holds samples that are not finite";
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string usage = std::string("usage: ") + kProgram + " PLUGIN (a VST 2 library: .so or .dll)";
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::printf("%s %s\n", kProgram, ONDREL_VERSION);
    return 0;
  }
  if (argc != 2) return Fail(usage);
  std::string error;
  const auto library = hostkit::PluginLibrary::Open(argv[1], error);
  if (!library) return Fail(error);
  AEffect* effect = library->entry()(&QuietHost);
  if (effect == nullptr) return Fail(library->entryName() + " returned no effect record");
  if (effect->magic != kEffectMagic) return Fail("the effect record lacks the VST 2 magic");
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  const bool processed = ProcessOneBlock(effect, error);
  std::printf(
      "%s\n  entry       %s\n  id          %s\n  inputs      %d\n  outputs     %d\n  parameters  %d\n"
      "  programs    %d\n  editor      %s\n",
      library->path().c_str(), library->entryName().c_str(), FourChars(effect->uniqueID).c_str(), effect->numInputs,
      effect->numOutputs, effect->numParams, effect->numPrograms, (effect->flags & effFlagsHasEditor) ? "yes" : "no");
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  if (!processed) return Fail(error);
  std::printf("  processed   %d frames\n", kBlock);
  return 0;
}
