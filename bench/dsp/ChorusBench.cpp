// Processing cost of the plug-in per frame, as multiples of the floor loop.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <ctime>
#include <thread>
#include <vector>

#include "bench/dsp/FloorLoop.h"
#include "dsp/Ondrel.h"
#include "host/QuietHost.h"

namespace {

constexpr double kSampleRate = 44100.0;

std::vector<float> TestSignal(size_t length) {
  std::vector<float> v(length);
  for (size_t n = 0; n < length; ++n)
    v[n] = static_cast<float>(0.5 * std::sin(0.0123 * static_cast<double>(n)) +
                              0.2 * std::sin(0.731 * static_cast<double>(n)));
  return v;
}

// The processor time of the calling thread, in nanoseconds: other work on a
// shared machine does not count against the loop.
double ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The floor loop over the same number of frames, in nanoseconds per frame.
double FloorNsPerFrame(int32_t block, int64_t blocks) {
  FloorLoop loop;
  auto in = TestSignal(static_cast<size_t>(block));
  std::vector<float> left(static_cast<size_t>(block)), right(static_cast<size_t>(block));
  const double start = ThreadNanoseconds();
  for (int64_t b = 0; b < blocks; ++b) {
    loop.Run(in.data(), left.data(), right.data(), block);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
    benchmark::ClobberMemory();
  }
  return (ThreadNanoseconds() - start) / (static_cast<double>(blocks) * block);
}

// Times the loop itself, then the floor loop over as many frames right after
// it, so that the ratio holds even when the machine's speed drifts.
template <typename Block>
void TimedFrames(benchmark::State& state, int32_t block, Block&& run) {
  const double start = ThreadNanoseconds();
  for (auto _ : state) run();
  const double ns = ThreadNanoseconds() - start;
  const double frames = static_cast<double>(state.iterations()) * block;
  const double perFrame = ns / frames;
  state.counters["ns_per_frame"] = perFrame;
  state.counters["x_realtime"] = 1e9 / kSampleRate / perFrame;
  state.counters["x_floor"] = perFrame / FloorNsPerFrame(block, static_cast<int64_t>(state.iterations()));
  state.SetItemsProcessed(static_cast<int64_t>(frames));
}

// One block of test signal in, two channels out, as a host hands them over.
struct HostBuffers {
  explicit HostBuffers(int32_t block)
      : in(TestSignal(static_cast<size_t>(block))),
        left(static_cast<size_t>(block)),
        right(static_cast<size_t>(block)) {}
  void Process(TOndrel& fx) {
    float* inputs[1] = {in.data()};
    float* outputs[2] = {left.data(), right.data()};
    fx.processReplacing(inputs, outputs, static_cast<int32_t>(in.size()));
    benchmark::DoNotOptimize(left.data());
    benchmark::ClobberMemory();
  }
  std::vector<float> in, left, right;
};

void BM_Floor(benchmark::State& state) {
  const int32_t block = static_cast<int32_t>(state.range(0));
  FloorLoop loop;
  auto in = TestSignal(static_cast<size_t>(block));
  std::vector<float> left(static_cast<size_t>(block)), right(static_cast<size_t>(block));
  TimedFrames(state, block, [&] {
    loop.Run(in.data(), left.data(), right.data(), block);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Floor)->Arg(512);

// Args: block, channel mode 0..3, anti-alias, bass mode.
void BM_ProcessReplacing(benchmark::State& state) {
  const int32_t block = static_cast<int32_t>(state.range(0));
  TOndrel fx(QuietHost);
  fx.setParameter(kStereoMode, static_cast<float>(state.range(1)) / 3.0f);
  fx.setParameter(kAntiAlias, static_cast<float>(state.range(2)));
  fx.setParameter(kBassMode, static_cast<float>(state.range(3)));
  HostBuffers buffers(block);
  TimedFrames(state, block, [&] { buffers.Process(fx); });
}
BENCHMARK(BM_ProcessReplacing)
    ->ArgNames({"block", "mode", "antialias", "bass"})
    ->ArgsProduct({{32, 512, 4096}, {0, 1, 2, 3}, {0, 1}, {0, 1}});

void BM_UpdateCoefficients(benchmark::State& state) {
  TOndrel fx(QuietHost);
  float cutoff = 0.0f;
  for (auto _ : state) {
    // A new cutoff every call, so both filters really are redesigned.
    cutoff = cutoff > 1.0f ? 0.0f : cutoff + 0.001f;
    fx.setParameter(kCutoff, cutoff);
  }
}
BENCHMARK(BM_UpdateCoefficients);

// The default setting while another thread sets parameters as fast as it can.
void BM_ProcessDuringParameterStorm(benchmark::State& state) {
  const int32_t block = 512;
  TOndrel fx(QuietHost);
  std::atomic<bool> stop{false};
  std::thread storm([&] {
    float v = 0.0f;
    while (!stop.load(std::memory_order_relaxed)) {
      v = v > 1.0f ? 0.0f : v + 0.0137f;
      for (int32_t i = 0; i < kNumParameters; ++i)
        if (i != kStereoMode) fx.setParameter(i, v);
    }
  });
  HostBuffers buffers(block);
  TimedFrames(state, block, [&] { buffers.Process(fx); });
  stop = true;
  storm.join();
}
BENCHMARK(BM_ProcessDuringParameterStorm);

}  // namespace
