// A host process whose memory runs out while the plug-in builds an instance.
// This program replaces the global operator new and exports it, so the
// plug-in's allocations come here and can be made to fail one at a time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/support/HostHarness.h"
#include "tests/support/QuietHost.h"

namespace {
// Allocation number at which to fail (1 = the next one); 0 = never.
std::atomic<long> failAt{0};
std::atomic<long> live{0};

void* Allocate(std::size_t size) {
  if (failAt.load() > 0 && failAt.fetch_sub(1) == 1) throw std::bad_alloc();
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  live.fetch_add(1);
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  live.fetch_sub(1);
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

TEST(AllocationFailure, EveryFailedAllocationGivesNullAndLeaksNothing) {
  const auto& plugin = harness::Plugin();  // loaded before counting
  for (long n = 1;; ++n) {
    ASSERT_LT(n, 1000) << "the instance never came into being";
    const long before = live.load();
    failAt.store(n);
    AEffect* effect = plugin.entry()(harness::QuietHost);
    const bool failed = failAt.load() <= 0;
    failAt.store(0);
    if (!failed) {
      // Fewer than n allocations: the instance was built without a failure.
      ASSERT_NE(effect, nullptr);
      EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
      EXPECT_EQ(live.load(), before);
      break;
    }
    EXPECT_EQ(effect, nullptr) << "allocation " << n << " failed";
    EXPECT_EQ(live.load(), before) << "allocation " << n << " failed and something leaked";
  }
}
