// What the host's audio thread may do with the editor open: setParameter
// must make no heap call and no system call. The thread that calls it runs
// under the kernel's strict seccomp mode, where any system call but read,
// write and exit kills the process, and operator new counts its calls.
#include <gtest/gtest.h>

#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include "tests/editor/EditorTestSupport.h"

namespace {
thread_local int heapCalls = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++heapCalls;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  ++heapCalls;
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  ++heapCalls;
  std::free(p);
}

namespace {

TEST(HostThread, SetParameterWithTheEditorOpenMakesNoHeapCallAndNoSystemCall) {
  TEditorHost host;
  ASSERT_EQ(host.Open(), 1);
  host.Paint();
  AEffect* effect = host.Effect();

  std::atomic<int> heapCallsSeen{-1};
  std::atomic<bool> done{false};
  std::thread audio([&] {
    effect->setParameter(effect, kRate, 0.1f);  // first touches outside the sandbox
    heapCalls = 0;
    if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) return;
    for (int i = 0; i < 1000; ++i) {
      effect->setParameter(effect, i % kNumParameters, static_cast<float>(i % 7) / 6.0f);
    }
    heapCallsSeen.store(heapCalls, std::memory_order_relaxed);
    done.store(true, std::memory_order_release);
    // Under strict mode only the raw exit call is allowed; the kernel still
    // wakes the joiner.
    syscall(SYS_exit, 0);
  });
  audio.join();
  ASSERT_TRUE(done.load(std::memory_order_acquire)) << "the sandbox could not be entered";
  EXPECT_EQ(heapCallsSeen.load(), 0);
  // The changes were recorded and reach the controls on the window thread.
  host.Window()->FireTimer();
  EXPECT_EQ(host.Form()->rkRate->Value(), host.Get(kRate));
}

}  // namespace
