// Renders the same material through the built plug-in in a set of settings
// that together reach every branch of the signal path, and writes each result
// as raw float32 (left, right interleaved). Run by a 64-bit and a 32-bit build
// on the same material, then asked to compare: the 32-bit build computes on
// the x87 stack in extended precision, the 64-bit one in SSE doubles, and the
// two must agree to within what float32 rounding at the same points allows.
//
//   abi_agreement_render OUTDIR                  synthesize material.f32 and render
//   abi_agreement_render OUTDIR MATERIAL         render the given material
//   abi_agreement_render --compare DIR DIR TOL   largest difference per setting
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/QuietHost.h"
#include "host/VstAbi.h"
#include "tools/hostkit/PluginLibrary.h"

namespace {

constexpr int kSampleRate = 44100;
constexpr size_t kFrames = kSampleRate * 5 / 2;  // 2.5 s
constexpr double kPi = 3.14159265358979323846;

enum Param { kBass, kCutoff, kDelay, kWidth, kRate, kFeedback, kMode, kAntiAlias, kMix, kParamCount };

struct Change {
  int index;
  float value;
};

struct Setting {
  const char* name;
  float values[kParamCount];
  Change midway[2];  // applied before the block that crosses the middle
  bool accumulate;
};

// Mode values 0, 1/3, 2/3 and 1 pick Mono, Stereo, Dual and Haas.
#define ONDREL_SETTINGS_FOR_MODE(label, mode)                                                 \
  {label "-bass-smooth",                                                                      \
   {1.0f, 0.25f, 0.56f, 0.5f, 0.5f, 0.25f, mode, 1.0f, 1.0f},                                 \
   {{kRate, 0.85f}, {kWidth, 1.0f}},                                                          \
   false},                                                                                    \
      {label "-plain-lofi",                                                                   \
       {0.0f, 0.25f, 0.3f, 0.8f, 0.7f, 0.6f, mode, 0.0f, 0.7f},                               \
       {{kDelay, 0.1f}, {kFeedback, 0.3f}},                                                   \
       false},                                                                                \
      {label "-bass-lofi-deep",                                                               \
       {1.0f, 0.6f, 0.45f, 1.0f, 0.95f, 0.9f, mode, 0.0f, 1.0f},                              \
       {{kCutoff, 0.1f}, {kBass, 0.0f}},                                                      \
       false},                                                                                \
  {                                                                                           \
    label "-plain-smooth-accumulate", {0.0f, 0.5f, 0.9f, 0.3f, 0.2f, 0.0f, mode, 1.0f, 0.5f}, \
        {{kAntiAlias, 0.0f}, {kMix, 1.0f}}, true                                              \
  }

const Setting kSettings[] = {
    ONDREL_SETTINGS_FOR_MODE("mono", 0.0f),
    ONDREL_SETTINGS_FOR_MODE("stereo", 1.0f / 3.0f),
    ONDREL_SETTINGS_FOR_MODE("dual", 2.0f / 3.0f),
    ONDREL_SETTINGS_FOR_MODE("haas", 1.0f),
};

// Odd sizes and single frames as well as a host's usual ones: the state
// carried between blocks must not depend on where they break.
const int32_t kBlockSizes[] = {512, 67, 1024, 1, 300};

// A swept sine from 30 Hz to 3 kHz, plucked bass notes with decaying
// harmonics, low noise with a loud burst, and silence at the end for the
// decay towards the denormal offset.
std::vector<float> SynthesizeMaterial() {
  std::vector<float> material(kFrames);
  const double fs = kSampleRate;
  const double seconds = static_cast<double>(kFrames) / fs;
  const double sweepRatio = 100.0;
  const double notes[] = {41.2, 55.0, 73.4, 98.0, 123.5};
  uint32_t lcg = 12345u;
  for (size_t n = 0; n < kFrames; ++n) {
    const double t = static_cast<double>(n) / fs;
    if (t >= seconds - 0.15) break;
    const double sweepPhase =
        2.0 * kPi * 30.0 * seconds / std::log(sweepRatio) * (std::pow(sweepRatio, t / seconds) - 1.0);
    double v = 0.35 * std::sin(sweepPhase);
    const int note = static_cast<int>(t / 0.3);
    const double sinceOnset = t - note * 0.3;
    const double f = notes[note % 5];
    for (int k = 1; k <= 6; ++k) {
      v += 0.4 / k * std::exp(-sinceOnset * (3.0 + k)) * std::sin(2.0 * kPi * f * k * sinceOnset);
    }
    lcg = lcg * 1664525u + 1013904223u;
    const double noise = static_cast<double>(lcg >> 8) / 8388608.0 - 1.0;
    v += (t >= 1.6 && t < 1.8 ? 0.5 : 0.08) * noise;
    material[n] = static_cast<float>(v);
  }
  return material;
}

bool WriteFloats(const std::string& path, const std::vector<float>& values) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(float)));
  return static_cast<bool>(file);
}

bool ReadFloats(const std::string& path, std::vector<float>& values) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const std::streamoff size = file.tellg();
  if (size < 0 || size % static_cast<std::streamoff>(sizeof(float)) != 0) return false;
  values.resize(static_cast<size_t>(size) / sizeof(float));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(values.data()), static_cast<std::streamsize>(size));
  return static_cast<bool>(file);
}

std::vector<float> Render(hostkit::PluginEntryProc entry, const Setting& setting, const std::vector<float>& material) {
  AEffect* e = entry(QuietHost);
  if (!e) return {};
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  e->dispatcher(e, effSetBlockSize, 0, 1024, nullptr, 0.0f);
  for (int i = 0; i < kParamCount; ++i) e->setParameter(e, i, setting.values[i]);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

  std::vector<float> out(2 * material.size());
  std::vector<float> in(1024), left(1024), right(1024);
  size_t done = 0;
  bool changed = false;
  for (size_t b = 0; done < material.size(); ++b) {
    const size_t frames =
        std::min(static_cast<size_t>(kBlockSizes[b % std::size(kBlockSizes)]), material.size() - done);
    if (!changed && done + frames > material.size() / 2) {
      for (const Change& change : setting.midway) e->setParameter(e, change.index, change.value);
      changed = true;
    }
    std::copy_n(material.begin() + static_cast<std::ptrdiff_t>(done), frames, in.begin());
    float* inputs[] = {in.data()};
    float* outputs[] = {left.data(), right.data()};
    if (setting.accumulate) {
      // A host's bus that already carries something.
      for (size_t n = 0; n < frames; ++n) left[n] = right[n] = 0.125f;
      e->process(e, inputs, outputs, static_cast<int32_t>(frames));
    } else {
      e->processReplacing(e, inputs, outputs, static_cast<int32_t>(frames));
    }
    for (size_t n = 0; n < frames; ++n) {
      out[2 * (done + n)] = left[n];
      out[2 * (done + n) + 1] = right[n];
    }
    done += frames;
  }
  e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return out;
}

int RenderAll(const std::string& folder, const char* materialPath) {
  std::vector<float> material;
  if (materialPath) {
    if (!ReadFloats(materialPath, material) || material.empty()) {
      std::fprintf(stderr, "cannot read material %s\n", materialPath);
      return 2;
    }
  } else {
    material = SynthesizeMaterial();
    if (!WriteFloats(folder + "/material.f32", material)) {
      std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
      return 2;
    }
  }
  std::string error;
  const auto plugin = hostkit::PluginLibrary::Open(hostkit::DefaultPluginPath(), error);
  if (!plugin) {
    std::fprintf(stderr, "cannot load the plug-in: %s\n", error.c_str());
    return 2;
  }
  for (const Setting& setting : kSettings) {
    const std::vector<float> out = Render(plugin->entry(), setting, material);
    if (out.empty() || !WriteFloats(folder + "/" + setting.name + ".f32", out)) {
      std::fprintf(stderr, "%s: no instance, or cannot write\n", setting.name);
      return 2;
    }
  }
  return 0;
}

// Prints the largest difference of every setting and of every channel mode;
// fails on a difference above the tolerance, a non-finite sample or a missing
// or short file.
int Compare(const std::string& a, const std::string& b, double tolerance) {
  bool ok = true;
  double modeWorst = 0.0;
  std::string mode;
  auto closeMode = [&] {
    if (!mode.empty()) std::printf("  %-8s largest difference %.3g\n", mode.c_str(), modeWorst);
  };
  for (const Setting& setting : kSettings) {
    const std::string name = setting.name;
    const std::string thisMode = name.substr(0, name.find('-'));
    if (thisMode != mode) {
      closeMode();
      mode = thisMode;
      modeWorst = 0.0;
    }
    std::vector<float> x, y;
    if (!ReadFloats(a + "/" + name + ".f32", x) || !ReadFloats(b + "/" + name + ".f32", y) || x.size() != y.size() ||
        x.empty()) {
      std::printf("%-32s missing or of different lengths\n", name.c_str());
      ok = false;
      continue;
    }
    double worst = 0.0;
    size_t where = 0;
    bool finite = true;
    for (size_t i = 0; i < x.size(); ++i) {
      finite = finite && std::isfinite(x[i]) && std::isfinite(y[i]);
      const double d = std::fabs(static_cast<double>(x[i]) - static_cast<double>(y[i]));
      if (!(d <= worst)) {
        worst = d;
        where = i;
      }
    }
    const bool good = finite && worst <= tolerance;
    ok = ok && good;
    modeWorst = std::max(modeWorst, worst);
    std::printf("%-32s %-4s largest difference %.3g at frame %zu %s (%.9g against %.9g)%s\n", name.c_str(),
                good ? "ok" : "FAIL", worst, where / 2, where % 2 ? "right" : "left", x[where], y[where],
                finite ? "" : ", not finite");
  }
  closeMode();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--compare") return Compare(argv[2], argv[3], std::atof(argv[4]));
  if (argc == 2 || argc == 3) return RenderAll(argv[1], argc == 3 ? argv[2] : nullptr);
  std::fprintf(stderr,
               "usage: %s OUTDIR [MATERIAL]\n"
               "       %s --compare DIR DIR TOLERANCE\n",
               argv[0], argv[0]);
  return 2;
}
