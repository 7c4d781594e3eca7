// The LV2 editor's port link on its own: what it shows the editor, what it
// sends the host and when it keeps quiet.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dsp/Parameters.h"
#include "plugin/lv2ui/PortLink.h"

namespace {

using TSent = std::vector<std::pair<uint32_t, float>>;

TSent Flush(TPortLink& link) {
  TSent sent;
  link.Flush([&](uint32_t port, float value) { sent.emplace_back(port, value); });
  return sent;
}

TEST(PortLink, StartsAtTheDefaultsAndSendsOnlyWhatTheHostLacks) {
  TPortLink link;
  for (int32_t index = 0; index < kNumParameters; ++index)
    EXPECT_EQ(link.Value(index), kParameters[index].defaultValue);
  EXPECT_EQ(link.Value(-1), 0.0f);
  EXPECT_EQ(link.Value(kNumParameters), 0.0f);
  EXPECT_TRUE(Flush(link).empty());

  // The editor writes all nine values; two of them are news.
  for (int32_t index = 0; index < kNumParameters; ++index) link.Store(index, link.Value(index));
  link.Store(kRate, 0.8f);
  link.Store(kStereoMode, 1.0f);
  link.Store(kNumParameters, 0.5f);
  link.Recompute();
  EXPECT_EQ(Flush(link), (TSent{{7, 0.8f}, {9, 1.0f}}));
  EXPECT_TRUE(Flush(link).empty());
  // The same value again is no news.
  link.Store(kRate, 0.8f);
  EXPECT_TRUE(Flush(link).empty());
}

TEST(PortLink, TheHostsWordIsTheNewest) {
  TPortLink link;
  EXPECT_TRUE(link.HostValue(kCutoff, 0.75f));
  EXPECT_EQ(link.Value(kCutoff), 0.75f);
  // An echo of what is shown is no change for the form.
  EXPECT_FALSE(link.HostValue(kCutoff, 0.75f));
  EXPECT_FALSE(link.HostValue(kNumParameters, 0.5f));
  EXPECT_TRUE(Flush(link).empty());

  // A write not sent yet gives way to a host value arriving after it.
  link.Store(kDelay, 0.1f);
  EXPECT_TRUE(link.HostValue(kDelay, 0.9f));
  EXPECT_EQ(link.Value(kDelay), 0.9f);
  EXPECT_TRUE(Flush(link).empty());
  // And the editor's write of what the host told it is no news either.
  link.Store(kCutoff, 0.75f);
  EXPECT_TRUE(Flush(link).empty());
}

TEST(PortLink, SwitchesFollowTheSoundsRules) {
  TPortLink link;
  const std::pair<float, bool> switches[] = {{0.5f, false}, {0.50000006f, true}, {0.0f, false}, {1.0f, true}};
  for (const auto& [value, on] : switches) {
    link.HostValue(kBassMode, value);
    link.HostValue(kAntiAlias, value);
    EXPECT_EQ(link.BassMode(), on) << value;
    EXPECT_EQ(link.AntiAlias(), on) << value;
  }
  // Round(3 * value), ties to even: 0.5 gives 2 (Dual); just under a sixth, 0 (Mono).
  const std::pair<float, uint8_t> modes[] = {
      {0.6f, cmDual}, {0.5f, cmDual}, {0.16666666f, cmMono}, {0.33333334f, cmStereo}, {1.0f, cmHaas}};
  for (const auto& [value, mode] : modes) {
    link.HostValue(kStereoMode, value);
    EXPECT_EQ(link.ChannelMode(), ChannelModeOf(value)) << value;
    EXPECT_EQ(link.ChannelMode(), mode) << value;
  }
}

}  // namespace
