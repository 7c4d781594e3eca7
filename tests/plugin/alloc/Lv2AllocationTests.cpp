// The LV2 sound library in a host whose operator new (FailingAllocator.cpp)
// takes its allocations: instantiate refuses cleanly when memory runs out,
// and the audio thread's calls allocate nothing at all.
#include <gtest/gtest.h>

#include <vector>

#include "tests/plugin/alloc/FailingAllocator.h"
#include "tests/support/Lv2Host.h"

using failingalloc::failAt;
using failingalloc::live;
using failingalloc::made;

TEST(Lv2Allocation, EveryFailedAllocationGivesNullAndLeaksNothing) {
  const LV2_Descriptor* d = lv2host::Descriptor(0);  // loaded before counting
  const LV2_Feature* const noFeatures[] = {nullptr};
  for (long n = 1;; ++n) {
    ASSERT_LT(n, 1000) << "the instance never came into being";
    const long before = live.load();
    failAt.store(n);
    LV2_Handle handle = d->instantiate(d, 48000.0, "", noFeatures);
    const bool failed = failAt.load() <= 0;
    failAt.store(0);
    if (!failed) {
      // Fewer than n allocations: the instance was built without a failure.
      ASSERT_NE(handle, nullptr);
      d->cleanup(handle);
      EXPECT_EQ(live.load(), before);
      break;
    }
    EXPECT_EQ(handle, nullptr) << "allocation " << n << " failed";
    EXPECT_EQ(live.load(), before) << "allocation " << n << " failed and something leaked";
  }
}

// connect_port and run on the audio thread, with every control moving on
// every block (each move redesigns the filters), activation around them.
TEST(Lv2Allocation, TheAudioThreadsCallsAllocateNothing) {
  std::vector<float> in(4096, 0.25f), left(4096), right(4096);
  lv2host::Instance fx(44100.0, false);
  ASSERT_TRUE(fx.ok());
  const long before = made.load();
  fx.Activate();
  for (int block = 0; block < 64; ++block) {
    for (uint32_t i = 0; i < lv2host::kControls; ++i)
      fx.control[i] = static_cast<float>((block * 7 + static_cast<int>(i) * 3) % 11) / 10.0f;
    fx.Run(in.data(), left.data(), right.data(), block % 2 ? 4096 : 17);
  }
  fx.Deactivate();
  EXPECT_EQ(made.load(), before);
}
