// Two threads changing parameters at once (the host's automation and the
// editor): whichever update publishes last, the working values the sound
// runs on end up made from the parameters as they were last stored.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/Rounding.h"
#include "tests/dsp/ChorusProbe.h"

namespace {

// The switches and the base delay against the stored parameters: the
// working values the sound runs on, made from the values as they are now.
bool Consistent(ChorusProbe& plugin) {
  return plugin.IsBassMode() == IsSwitchOn(plugin.ParameterValue(kBassMode)) &&
         plugin.ChannelModeNumber() == ChannelModeOf(plugin.ParameterValue(kStereoMode)) &&
         plugin.BaseDelay.load() ==
             Round(2.0 * static_cast<double>(plugin.getSampleRate()) / 100.0 * plugin.ParameterValue(kDelay) + 1.0);
}

TEST(WorkingValues, EndUpFromTheLastStoredParametersWhenTwoThreadsUpdateAtOnce) {
  ChorusProbe plugin;
  AEffect* effect = plugin.getAeffect();
  std::atomic<int> turn{0};
  int inconsistent = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    turn.store(0);
    // The automation thread and this one (standing for the editor) change
    // the same values at the same moment, with different results.
    std::thread automation([&] {
      turn.fetch_add(1);
      while (turn.load() < 2) std::this_thread::yield();
      effect->setParameter(effect, kBassMode, (trial & 1) ? 1.0f : 0.0f);
      effect->setParameter(effect, kStereoMode, 1.0f);
      effect->setParameter(effect, kDelay, 0.25f);
    });
    turn.fetch_add(1);
    while (turn.load() < 2) std::this_thread::yield();
    plugin.StoreParameter(kBassMode, (trial & 1) ? 0.0f : 1.0f);
    plugin.StoreParameter(kStereoMode, 0.0f);
    plugin.StoreParameter(kDelay, 0.75f);
    plugin.UpdateCoefficients();
    automation.join();
    if (!Consistent(plugin)) ++inconsistent;
  }
  EXPECT_EQ(inconsistent, 0) << "of 2000 trials";
}

}  // namespace
