// The process's CPU share while the built plug-in's editor does nothing, as a
// host sees it: the library loaded through its entry point, the editor
// opened by effEditOpen inside a plain Xlib window of the host. Four cases,
// measured in turns so that a busy machine weighs on each alike:
//   closed     the editor opened once and closed again (the baseline)
//   quiet      open, and the host does nothing
//   idled      open, the host calls effEditIdle every 40 ms
//   automated  open, the host sets one parameter 100 times a second
// Each figure is CPU time over wall time, in percent of one core, the median
// of the runs with their lowest and highest beside it.
// Usage: scripts/xvfb-session.sh build/linux/bin/editor_cpu_bench [--seconds S] [--runs N]
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/QuietHost.h"
#include "tools/hostkit/PluginLibrary.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int32_t kRate = 4;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs `step` every `period` (none: the host sleeps throughout) for the
// given time and returns the process's CPU share in percent of one core.
double CpuShare(double seconds, std::chrono::microseconds period, const std::function<void()>& step) {
  const TClock::time_point start = TClock::now();
  const double cpuStart = ProcessCpuSeconds();
  const TClock::time_point end =
      start + std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(seconds));
  if (!step) {
    std::this_thread::sleep_until(end);
  } else {
    // A fixed schedule, as a host's timer: late steps do not shift the next.
    for (TClock::time_point next = start; next < end; next += period) {
      std::this_thread::sleep_until(next);
      step();
    }
    std::this_thread::sleep_until(end);
  }
  const double cpu = ProcessCpuSeconds() - cpuStart;
  const double wall = std::chrono::duration<double>(TClock::now() - start).count();
  return 100.0 * cpu / wall;
}

struct TCase {
  const char* name;
  std::vector<double> shares;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 != 0 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 5.0;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
  }
  if (!(seconds > 0.0) || runs < 1) {
    std::fprintf(stderr, "usage: %s [--seconds S] [--runs N]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X server; run it as scripts/xvfb-session.sh %s\n", argv[0]);
    return 1;
  }
  std::string error;
  const auto library = hostkit::PluginLibrary::Open(hostkit::DefaultPluginPath(), error);
  if (!library) {
    std::fprintf(stderr, "cannot load the plug-in: %s\n", error.c_str());
    return 1;
  }

  const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 340, 0, 0, 0);
  XMapWindow(display, parent);
  XSync(display, False);

  TCase cases[] = {{"closed", {}}, {"quiet", {}}, {"idled every 40 ms", {}}, {"automated at 100 Hz", {}}};
  for (int run = 0; run < runs; ++run) {
    AEffect* effect = library->entry()(&QuietHost);
    if (effect == nullptr) {
      std::fprintf(stderr, "the plug-in returned no effect record\n");
      return 1;
    }
    auto dispatch = [effect](int32_t opcode, void* ptr = nullptr) {
      return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    };
    ERect* rect = nullptr;
    dispatch(effEditGetRect, &rect);
    auto open = [&] {
      if (dispatch(effEditOpen, reinterpret_cast<void*>(parent)) != 1) {
        std::fprintf(stderr, "effEditOpen failed\n");
        std::exit(1);
      }
      // Shown and painted before the measuring starts.
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    };
    open();
    dispatch(effEditClose);
    cases[0].shares.push_back(CpuShare(seconds, {}, nullptr));
    open();
    cases[1].shares.push_back(CpuShare(seconds, {}, nullptr));
    cases[2].shares.push_back(CpuShare(seconds, std::chrono::milliseconds(40), [&] { dispatch(effEditIdle); }));
    int step = 0;
    cases[3].shares.push_back(CpuShare(seconds, std::chrono::milliseconds(10), [&] {
      // A slow triangle over the whole range, one step of 1/100 each call.
      const int phase = step++ % 200;
      effect->setParameter(effect, kRate, static_cast<float>(phase < 100 ? phase : 200 - phase) / 100.0f);
    }));
    dispatch(effEditClose);
    dispatch(effClose);
  }

  std::printf("Editor CPU share, %% of one core: median of %d runs of %.1f s (lowest .. highest)\n", runs, seconds);
  const double baseline = Median(cases[0].shares);
  for (const TCase& c : cases) {
    const double median = Median(c.shares);
    std::printf("  %-20s %6.3f  (%.3f .. %.3f)", c.name, median, *std::min_element(c.shares.begin(), c.shares.end()),
                *std::max_element(c.shares.begin(), c.shares.end()));
    if (&c != &cases[0]) std::printf("  %+.3f over closed", median - baseline);
    std::printf("\n");
  }
  XDestroyWindow(display, parent);
  XCloseDisplay(display);
  return 0;
}
