// The plug-in against the plain model of its sound, bit for bit: random host
// sessions (every channel mode, bass mode and anti-alias either way, values
// inside and outside 0 to 1, rate changes, blocks of 1 to 4096 frames, both
// processing entries), every output sample and, after each session, the
// whole state: lines, positions, working values, filters.
//
// A failure names its seed; ONDREL_REFERENCE_SEED=n runs that one session
// alone, ONDREL_REFERENCE_SESSIONS=n runs n sessions in each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/QuietHost.h"
#include "tests/dsp/ChorusProbe.h"
#include "tests/dsp/reference/ReferenceChorus.h"
#include "tests/dsp/reference/ReferenceFilter.h"

using reference::TReferenceChorus;
using reference::tReferenceFilter;

namespace {

// Sessions per test: a few seconds each natively. The emulated 32-bit build
// runs some forty times slower, the sanitized debug build some ten times.
#if defined(ONDREL_UNDER_EMULATOR)
constexpr uint64_t kSessions = 25;
constexpr uint64_t kSweepOrderSessions = 5;
constexpr uint64_t kFilterSeeds = 50;
#elif defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kSessions = 100;
constexpr uint64_t kSweepOrderSessions = 10;
constexpr uint64_t kFilterSeeds = 200;
#else
constexpr uint64_t kSessions = 1000;
constexpr uint64_t kSweepOrderSessions = 100;
constexpr uint64_t kFilterSeeds = 2000;
#endif

// Seeds of the sessions that start from a fresh plug-in, and of those that
// start from a random state of lines, positions and filter histories.
constexpr uint64_t kFreshSeeds = 1;
constexpr uint64_t kAnyStateSeeds = 1000001;
constexpr uint64_t kSweepOrderSeeds = 2000001;

uint64_t SessionCount(uint64_t otherwise) {
  const char* text = std::getenv("ONDREL_REFERENCE_SESSIONS");
  return text ? std::strtoull(text, nullptr, 10) : otherwise;
}

// The seeds a test runs from its first: all of its own, or the one asked for.
std::vector<uint64_t> SeedsFrom(uint64_t first, uint64_t count) {
  std::vector<uint64_t> seeds;
  if (const char* text = std::getenv("ONDREL_REFERENCE_SEED")) {
    const uint64_t seed = std::strtoull(text, nullptr, 10);
    if (seed >= first && seed < first + 1000000) seeds.push_back(seed);
    return seeds;
  }
  for (uint64_t s = first; s < first + count; ++s) seeds.push_back(s);
  // Sessions that once told the plug-in from the model: in Dual, a mirrored
  // position that comes out whole is still read between two samples.
  for (uint64_t known : {uint64_t{3950}, uint64_t{1001447}}) {
    if (known >= first + count && known < first + 1000000) seeds.push_back(known);
  }
  return seeds;
}

// splitmix64: the same numbers on every build.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Uniform(double low, double high) { return low + (high - low) * Unit(); }
  int32_t Below(int32_t n) { return static_cast<int32_t>(Next() % static_cast<uint64_t>(n)); }
  bool Chance(double p) { return Unit() < p; }
  template <typename T>
  T Pick(std::initializer_list<T> choices) {
    return choices.begin()[Below(static_cast<int32_t>(choices.size()))];
  }

 private:
  uint64_t state_;
};

uint32_t Bits(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

std::string Show(float v) {
  std::ostringstream text;
  text.precision(9);
  text << v << " (0x" << std::hex << Bits(v) << ")";
  return text.str();
}

// "" when equal to the bit, else what differs.
std::string Differ(const char* what, float plugin, float model) {
  if (Bits(plugin) == Bits(model)) return "";
  return std::string(what) + ": plug-in " + Show(plugin) + ", model " + Show(model);
}
template <typename T>
std::string Differ(const char* what, T plugin, T model) {
  if (plugin == model) return "";
  std::ostringstream text;
  text << what << ": plug-in " << +plugin << ", model " << +model;
  return text.str();
}

std::string DifferenceInFilter(const char* name, const tFilterSV& f, const tReferenceFilter& r) {
  const std::string found[] = {
      Differ("X1", f.X1, r.X1),
      Differ("X2", f.X2, r.X2),
      Differ("Y1", f.Y1, r.Y1),
      Differ("Y2", f.Y2, r.Y2),
      Differ("InvA0", f.InvA0.load(), r.InvA0),
      Differ("A1", f.A1.load(), r.A1),
      Differ("A2", f.A2.load(), r.A2),
      Differ("B0", f.B0.load(), r.B0),
      Differ("B1", f.B1.load(), r.B1),
      Differ("B2", f.B2.load(), r.B2),
      Differ("Frequency", f.Frequency.load(), r.Frequency),
      Differ("Q", f.Q.load(), r.Q),
      Differ("GainDB", f.GainDB.load(), r.GainDB),
      Differ("FilterType", f.FilterType.load(), r.FilterType),
      Differ("SampleRate", f.SampleRate.load(), r.SampleRate),
  };
  for (const std::string& d : found)
    if (!d.empty()) return std::string(name) + " " + d;
  return "";
}

// Input material: what a bass player sends, and what a signal path trips
// over: silence, denormal-range and tiny values (where the offsets show),
// steps, impulses and loud noise.
void FillInput(Random& random, float* samples, int32_t count) {
  const double amplitude = random.Pick({1.0, 0.25, 4.0, 1e-3, 1e-9, 1e-16, 1e-20, 1e-25, 1e-30, 1e-38, 1e-43});
  const int32_t kind = random.Below(6);
  const double cycles = random.Uniform(0.0001, 0.2);
  const double phase = random.Uniform(0.0, 6.283185307179586);
  for (int32_t n = 0; n < count; ++n) {
    double v = 0.0;
    switch (kind) {
      case 0: v = amplitude * random.Uniform(-1.0, 1.0); break;
      case 1: v = 0.0; break;
      case 2: v = amplitude * std::sin(6.283185307179586 * cycles * n + phase); break;
      case 3: v = random.Chance(0.01) ? amplitude * random.Pick({1.0, -1.0}) : 0.0; break;
      case 4: v = amplitude; break;
      default: v = random.Uniform(-1.0, 1.0) * std::pow(10.0, random.Uniform(-45.0, 0.5)); break;
    }
    samples[n] = static_cast<float>(v);
  }
}

// Mostly inside 0 to 1 and on the points where a switch or a mode turns;
// sometimes outside, as far as every working value stays a number, the
// feedback loop stays bounded and the split stays below half of 8 kHz.
float ParameterValue(Random& random, int32_t index) {
  const double pick = random.Unit();
  if (pick < 0.55) return static_cast<float>(random.Unit());
  if (pick < 0.8) {
    return random.Pick(
        {0.0f, 1.0f, 0.5f, 0.50000006f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f / 6.0f, 5.0f / 6.0f, 0.25f, 0.75f, 0.125f});
  }
  switch (index) {
    case kCutoff: return static_cast<float>(random.Uniform(-1.0, 1.5));
    case kDelay: return static_cast<float>(random.Uniform(-3.0, 4.0));
    case kWidth: return static_cast<float>(random.Uniform(-4.0, 4.0));
    case kRate: return static_cast<float>(random.Uniform(-0.5, 2.5));
    case kFeedback: return static_cast<float>(random.Uniform(-1.0, 0.0));
    case kStereoMode: return static_cast<float>(random.Uniform(-1.0, 3.0));
    default: return static_cast<float>(random.Uniform(-2.0, 3.0));
  }
}

float SampleRateValue(Random& random) {
  const double pick = random.Unit();
  if (pick < 0.6) {
    return random.Pick({8000.0f, 11025.0f, 16000.0f, 22050.0f, 32000.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f,
                        176400.0f, 192000.0f});
  }
  // Half-way rates make the filters' whole-number rate a tie.
  if (pick < 0.75) return static_cast<float>(std::floor(random.Uniform(8000.0, 192000.0)) + 0.5);
  return static_cast<float>(random.Uniform(8000.0, 192000.0));
}

int32_t BlockSize(Random& random) {
  switch (random.Below(4)) {
    case 0: return 1 + random.Below(16);
    case 1: return 1 + random.Below(512);
    case 2: return 1 + random.Below(4096);
    default: return random.Pick({64, 128, 256, 512, 1024, 2048, 4096});
  }
}

std::string DifferenceInLine(const char* name, const float* plugin, const std::vector<float>& model) {
  for (size_t k = 0; k < static_cast<size_t>(reference::kLineLength); ++k) {
    if (Bits(plugin[k]) != Bits(model[k])) {
      return std::string(name) + "[" + std::to_string(k) + "]: plug-in " + Show(plugin[k]) + ", model " +
             Show(model[k]);
    }
  }
  return "";
}

std::string DifferenceInState(const ChorusProbe& fx, const TReferenceChorus& model) {
  const std::string found[] = {
      Differ("BassMode", fx.BassMode.load(), model.BassMode),
      Differ("ChannelMode", fx.ChannelMode.load(), model.ChannelMode),
      Differ("AntiAlias", fx.AntiAlias.load(), model.AntiAlias),
      Differ("BaseDelay", fx.BaseDelay.load(), model.BaseDelay),
      Differ("ModDepth", fx.ModDepth.load(), model.ModDepth),
      Differ("LfoHalfPeriod", fx.LfoHalfPeriod.load(), model.LfoHalfPeriod),
      Differ("WritePos", fx.WritePos, model.WritePos),
      Differ("LfoPos", fx.LfoPos, model.LfoPos),
      Differ("LfoStep", fx.LfoStep, model.LfoStep),
      DifferenceInFilter("LowPass", *fx.LowPass, model.LowPass),
      DifferenceInFilter("HighPass", *fx.HighPass, model.HighPass),
      DifferenceInLine("DelayLineA", fx.DelayLineA.get(), model.DelayLineA),
      DifferenceInLine("DelayLineB", fx.DelayLineB.get(), model.DelayLineB),
  };
  for (const std::string& d : found)
    if (!d.empty()) return d;
  return "";
}

// Both the same random state, as a plug-in long in use might be in: any line
// contents, positions and filter histories.
void SeedState(Random& random, ChorusProbe& fx, TReferenceChorus& model) {
  std::vector<float> line(reference::kLineLength);
  FillInput(random, line.data(), reference::kLineLength);
  std::memcpy(fx.DelayLineA.get(), line.data(), line.size() * sizeof(float));
  model.DelayLineA = line;
  FillInput(random, line.data(), reference::kLineLength);
  std::memcpy(fx.DelayLineB.get(), line.data(), line.size() * sizeof(float));
  model.DelayLineB = line;
  fx.WritePos = model.WritePos = random.Below(reference::kLineLength);
  fx.LfoPos = model.LfoPos = model.LfoHalfPeriod > 0 ? random.Below(model.LfoHalfPeriod) : 0;
  fx.LfoStep = model.LfoStep = random.Pick({1, -1});
  float history[8];
  FillInput(random, history, 8);
  fx.LowPass->X1 = model.LowPass.X1 = history[0];
  fx.LowPass->X2 = model.LowPass.X2 = history[1];
  fx.LowPass->Y1 = model.LowPass.Y1 = history[2];
  fx.LowPass->Y2 = model.LowPass.Y2 = history[3];
  fx.HighPass->X1 = model.HighPass.X1 = history[4];
  fx.HighPass->X2 = model.HighPass.X2 = history[5];
  fx.HighPass->Y1 = model.HighPass.Y1 = history[6];
  fx.HighPass->Y2 = model.HighPass.Y2 = history[7];
}

// What a session varies, and what it holds.
struct SessionPlan {
  bool fromAnyState = false;
  // Parameters held at these values throughout; the rate too, unless 0.
  std::vector<std::pair<int32_t, float>> held;
  float heldSampleRate = 0.0f;
};

// One host session on a plug-in made as a host makes it, driven through its
// record's entries. "" when the plug-in and the model agreed throughout.
std::string RunSession(uint64_t seed, const SessionPlan& plan) {
  Random random(seed);
  auto* fx = new ChorusProbe(QuietHost);
  AEffect* effect = fx->getAeffect();
  TReferenceChorus model;
  int64_t frame = 0;  // frames processed so far
  std::string difference = DifferenceInState(*fx, model);
  std::ostringstream context;

  auto setParameter = [&](int32_t index, float value) {
    effect->setParameter(effect, index, value);
    model.SetParameter(index, value);
    context << "\n  frame " << frame << ": parameter " << index << " := " << Show(value);
  };
  auto setSampleRate = [&](float rate) {
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
    model.SetSampleRate(rate);
    context << "\n  frame " << frame << ": sample rate " << rate;
  };
  auto isHeld = [&](int32_t index) {
    for (const auto& h : plan.held)
      if (h.first == index) return true;
    return false;
  };
  auto changeSomething = [&] {
    int32_t index;
    do {
      index = random.Chance(0.03) ? random.Pick({-1, 9}) : random.Below(kNumParameters);
    } while (isHeld(index));
    setParameter(index, ParameterValue(random, index));
  };
  auto changeSampleRate = [&] {
    if (plan.heldSampleRate == 0.0f) setSampleRate(SampleRateValue(random));
  };

  std::vector<float> input, left, right, modelLeft, modelRight;
  auto process = [&](int32_t frames) {
    const bool replace = random.Chance(0.5);
    const size_t size = static_cast<size_t>(frames > 0 ? frames : 1);
    input.resize(size);
    left.resize(size);
    FillInput(random, input.data(), static_cast<int32_t>(size));
    FillInput(random, left.data(), static_cast<int32_t>(size));
    right = left;
    modelLeft = left;
    modelRight = left;
    float* inputs[1] = {input.data()};
    float* outputs[2] = {left.data(), right.data()};
    if (replace)
      effect->processReplacing(effect, inputs, outputs, frames);
    else
      effect->process(effect, inputs, outputs, frames);
    model.ProcessBlock(input.data(), modelLeft.data(), modelRight.data(), frames, replace);
    for (size_t n = 0; n < size && difference.empty(); ++n) {
      difference = Differ("left", left[n], modelLeft[n]);
      if (difference.empty()) difference = Differ("right", right[n], modelRight[n]);
      if (!difference.empty()) {
        difference += " at frame " + std::to_string(frame + static_cast<int64_t>(n)) + " (input " + Show(input[n]) +
                      ", block of " + std::to_string(frames) + (replace ? ", replacing)" : ", accumulating)");
      }
    }
    if (frames > 0) frame += frames;
  };

  // The session's character first: a mode, the switches, a rate.
  setParameter(kStereoMode, random.Pick({0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f, ParameterValue(random, kStereoMode)}));
  setParameter(kBassMode, random.Pick({0.0f, 1.0f}));
  setParameter(kAntiAlias, random.Pick({0.0f, 1.0f}));
  for (int32_t index : {kCutoff, kDelay, kWidth, kRate, kFeedback, kMix})
    if (random.Chance(0.7)) setParameter(index, ParameterValue(random, index));
  if (random.Chance(0.7)) changeSampleRate();
  if (plan.heldSampleRate != 0.0f) setSampleRate(plan.heldSampleRate);
  for (const auto& h : plan.held) setParameter(h.first, h.second);
  if (plan.fromAnyState) SeedState(random, *fx, model);

  // Most sessions are short; some run long enough for the lines to wrap and
  // a slow triangle to turn from a fresh start.
  const int64_t length = random.Chance(0.12) ? 66000 + random.Below(150000) : 1 + random.Below(20000);
  int32_t hostBlock = BlockSize(random);
  int64_t checked = 0;
  while (frame < length && difference.empty()) {
    if (random.Chance(0.25)) {
      for (int32_t k = 1 + random.Below(3); k > 0; --k) changeSomething();
    }
    if (random.Chance(0.02)) changeSampleRate();
    if (random.Chance(0.1)) hostBlock = BlockSize(random);
    if (random.Chance(0.01)) process(random.Pick({0, -1, -4096}));

    // A change that lands inside the host's block splits it there.
    int32_t remaining = hostBlock;
    while (remaining > 0 && difference.empty()) {
      const int32_t frames = remaining > 1 && random.Chance(0.2) ? 1 + random.Below(remaining - 1) : remaining;
      process(frames);
      remaining -= frames;
      if (remaining > 0) changeSomething();
    }
    if (difference.empty() && frame - checked >= 16384) {
      difference = DifferenceInState(*fx, model);
      checked = frame;
    }
  }
  if (difference.empty()) difference = DifferenceInState(*fx, model);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  if (difference.empty()) return "";

  std::string steps = context.str();
  constexpr size_t kShown = 3000;  // the latest steps say most
  if (steps.size() > kShown) steps = "\n  ..." + steps.substr(steps.size() - kShown);
  return difference + " after " + std::to_string(frame) + " frames; the session's changes:" + steps;
}

void RunSessions(uint64_t first, uint64_t count, const SessionPlan& plan) {
  for (uint64_t seed : SeedsFrom(first, count)) {
    const std::string difference = RunSession(seed, plan);
    ASSERT_TRUE(difference.empty()) << "seed " << seed << " (ONDREL_REFERENCE_SEED=" << seed
                                    << " replays it): " << difference;
  }
}

}  // namespace

TEST(ReferenceChorus, HostSessionsFromAFreshPlugin) {
  RunSessions(kFreshSeeds, SessionCount(kSessions), SessionPlan{});
}

TEST(ReferenceChorus, HostSessionsFromAnyState) {
  SessionPlan plan;
  plan.fromAnyState = true;
  RunSessions(kAnyStateSeeds, SessionCount(kSessions), plan);
}

// The sweep's m is LfoPos / LfoHalfPeriod, then times ModDepth. The other
// order gives the same float almost everywhere; it differs where the exact
// m lies on a rounding tie of float, which takes a half period of 3 * 2^k
// and a depth with a factor 3. Rate 0.043305 at 192 kHz (a period of
// 1572864, about 8.2 s) and Width 0.5608 (a depth of 6615) have such ties
// at about one position in 300.
TEST(ReferenceChorus, TheSweepDividesBeforeItMultiplies) {
  SessionPlan plan;
  plan.fromAnyState = true;
  plan.held = {{kRate, 0.043305f}, {kWidth, 0.5608f}, {kAntiAlias, 1.0f}};
  plan.heldSampleRate = 192000.0f;
  TReferenceChorus model;
  model.SetSampleRate(plan.heldSampleRate);
  for (const auto& h : plan.held) model.SetParameter(h.first, h.second);
  ASSERT_EQ(model.LfoHalfPeriod, 3 << 18);
  ASSERT_EQ(model.ModDepth, 6615);
  RunSessions(kSweepOrderSeeds, SessionCount(kSweepOrderSessions), plan);
}

// The filter alone, every response and the unknown ones: designs at random
// settings, redesigns while it runs (unchanged ones included, and ones that
// change the rate only), and every output sample.
TEST(ReferenceFilter, EveryResponseAndRedesignBitForBit) {
  for (uint64_t seed = 1; seed <= kFilterSeeds; ++seed) {
    Random random(seed);
    tFilterSV filter;
    tReferenceFilter model;
    int32_t rate = 44100;
    uint8_t type = ftGain;
    float hz = 0.0f, q = 0.0f, gainDB = 0.0f;
    std::string difference = DifferenceInFilter("fresh", filter, model);
    std::vector<float> input(2048);
    for (int design = 0; design < 8 && difference.empty(); ++design) {
      // The first design always differs from the fresh filter's settings.
      const double pick = design == 0 ? 1.0 : random.Unit();
      if (pick < 0.15) {  // the rate alone, staying above twice the frequency
        rate = static_cast<int32_t>(random.Uniform(std::max(8000.0, hz / 0.45), 192001.0));
      } else if (pick > 0.25) {  // otherwise the same design again
        rate = random.Pick({8000, 22050, 44100, 48000, 96000, 192000, 44101});
        type = static_cast<uint8_t>(random.Chance(0.05) ? 8 + random.Below(248) : random.Below(8));
        hz = static_cast<float>(std::exp(random.Uniform(std::log(5.0), std::log(0.49 * rate))));
        q = static_cast<float>(std::exp(random.Uniform(std::log(0.1), std::log(10.0))));
        gainDB = static_cast<float>(random.Uniform(-24.0, 24.0));
      }
      filter.Design(rate, type, hz, q, gainDB);
      model.Design(rate, type, hz, q, gainDB);
      difference = DifferenceInFilter("design", filter, model);
      const int32_t frames = 1 + random.Below(static_cast<int32_t>(input.size()));
      FillInput(random, input.data(), frames);
      for (size_t n = 0; n < static_cast<size_t>(frames) && difference.empty(); ++n)
        difference = Differ("output", filter.Process(input[n]), model.Process(input[n]));
      if (difference.empty()) difference = DifferenceInFilter("after running", filter, model);
      if (!difference.empty()) {
        std::ostringstream text;
        text << " (design " << design << ": rate " << rate << ", type " << int(type) << ", " << Show(hz) << " Hz, Q "
             << Show(q) << ", " << Show(gainDB) << " dB)";
        difference += text.str();
      }
    }
    ASSERT_TRUE(difference.empty()) << "seed " << seed << ": " << difference;
  }
}
