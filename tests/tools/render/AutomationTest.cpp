#include "tools/render/Automation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/render/BlockPlan.h"

namespace render {
namespace {

TEST(RenderAutomation, ReadsNamesWithSpacesQuotesCommentsAndOrdersByTime) {
  const std::string text =
      "# sweep the mode\r\n"
      "\n"
      "2.5 Stereo Mode Haas\r\n"
      "  0   \"Bass Mode?\"   No\n"
      "1e0\tRate\t0.3\n"
      "2.5 5 0.8";  // same time as line 3: stays after it
  std::vector<AutomationEvent> events;
  std::string error;
  ASSERT_TRUE(ParseAutomation(text, "moves.txt", events, error)) << error;
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].parameter, "Bass Mode?");
  EXPECT_EQ(events[0].value, "No");
  EXPECT_EQ(events[0].line, 4);
  EXPECT_DOUBLE_EQ(events[1].seconds, 1.0);
  EXPECT_EQ(events[1].parameter, "Rate");
  EXPECT_EQ(events[2].parameter, "Stereo Mode");
  EXPECT_EQ(events[2].value, "Haas");
  EXPECT_EQ(events[3].parameter, "5");
}

TEST(RenderAutomation, ReportsTheLineOfAFault) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"1 Rate\n", "moves.txt:1:"},      {"0 Rate 0.1\nRate 0.5 1\n", "moves.txt:2:"},
      {"-1 Rate 0.5\n", "moves.txt:1:"}, {"nan Rate 0.5\n", "moves.txt:1:"},
      {"1 \"\" 0.5\n", "moves.txt:1:"},  {"5\n", "moves.txt:1:"},
  };
  for (const auto& [text, where] : bad) {
    std::vector<AutomationEvent> events;
    std::string error;
    EXPECT_FALSE(ParseAutomation(text, "moves.txt", events, error)) << text;
    EXPECT_EQ(error.rfind(where, 0), 0u) << error;
  }
}

TEST(RenderBlockPlan, FrameAtRoundsAndStaysInRange) {
  EXPECT_EQ(FrameAt(0.25, 44100.0, 1000000), 11025);
  EXPECT_EQ(FrameAt(1.0 / 44100.0 * 0.4, 44100.0, 100), 0);
  EXPECT_EQ(FrameAt(1e300, 44100.0, 500), 500);
  EXPECT_EQ(FrameAt(std::numeric_limits<double>::infinity(), 44100.0, 500), 500);
  EXPECT_EQ(FrameAt(std::nan(""), 44100.0, 500), 0);
  EXPECT_EQ(FrameAt(-3.0, 44100.0, 500), 0);
}

// The cuts a whole render makes, as the render loop walks them.
std::vector<int64_t> Cuts(int32_t block, int64_t total, const std::vector<int64_t>& changes) {
  std::vector<int64_t> cuts;
  size_t next = 0;
  for (int64_t position = 0; position < total;) {
    while (next < changes.size() && changes[next] <= position) ++next;
    const int32_t length = NextBlockLength(position, block, total, next < changes.size() ? changes[next] : -1);
    if (length <= 0) break;
    position += length;
    cuts.push_back(position);
  }
  return cuts;
}

TEST(RenderBlockPlan, KeepsTheGridAndSplitsAtChanges) {
  EXPECT_EQ(Cuts(512, 1200, {}), (std::vector<int64_t>{512, 1024, 1200}));
  // A change inside a block splits it; the grid carries on unmoved.
  EXPECT_EQ(Cuts(512, 1200, {700}), (std::vector<int64_t>{512, 700, 1024, 1200}));
  // Changes on the grid, at the start and at the same frame cut nothing extra.
  EXPECT_EQ(Cuts(512, 1200, {0, 512, 512}), (std::vector<int64_t>{512, 1024, 1200}));
  EXPECT_EQ(Cuts(4, 10, {1, 2, 3}), (std::vector<int64_t>{1, 2, 3, 4, 8, 10}));
  EXPECT_TRUE(Cuts(512, 0, {}).empty());
}

}  // namespace
}  // namespace render
