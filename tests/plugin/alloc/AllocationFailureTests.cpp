// A host process whose memory runs out while the plug-in builds an instance.
// Its operator new (FailingAllocator.cpp) lets the plug-in's allocations be
// made to fail one at a time.
#include <gtest/gtest.h>

#include "host/QuietHost.h"
#include "tests/plugin/alloc/FailingAllocator.h"
#include "tests/support/HostHarness.h"

using failingalloc::failAt;
using failingalloc::live;

TEST(AllocationFailure, EveryFailedAllocationGivesNullAndLeaksNothing) {
  const auto& plugin = harness::Plugin();  // loaded before counting
  for (long n = 1;; ++n) {
    ASSERT_LT(n, 1000) << "the instance never came into being";
    const long before = live.load();
    failAt.store(n);
    AEffect* effect = plugin.entry()(QuietHost);
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
