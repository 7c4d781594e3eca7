// The built plug-in's editor on X11, as a Linux host sees it: loaded through
// its entry point, opened in a plain Xlib window by effEditOpen, played with
// real pointer input (XTest) and watched through the window's pixels.
#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <set>
#include <thread>
#include <vector>

#include "tests/platform/x11/XTestHost.h"
#include "tests/support/HostHarness.h"

namespace {

// Form coordinates of the editor's controls.
constexpr int kRateX = 384, kRateY = 101;
constexpr TRect kRateKnob{332, 49, 436, 153};
constexpr TRect kModeButtons{258, 191, 415, 239};
constexpr int kBassX = 80, kMonoX = 278, kHaasX = 395, kButtonY = 215;
constexpr int32_t kBassMode = 0, kRate = 4, kStereoMode = 6;

class EditorWindowTest : public ::testing::Test {
 protected:
  intptr_t Open(harness::Instance& instance, Window parent) {
    return instance.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent));
  }
  Window EditorIn(Window parent) {
    const std::vector<Window> children = host.Children(parent);
    return children.size() == 1 ? children[0] : 0;
  }
  // Waits as a host does: calling the editor's idle in between.
  bool WaitFor(const std::function<bool()>& condition) {
    return xhost::WaitFor(condition, 5000, [&] { plugin.dispatch(effEditIdle); });
  }
  Window OpenShown(harness::Instance& instance, Window parent) {
    EXPECT_EQ(Open(instance, parent), 1);
    const Window editor = EditorIn(parent);
    EXPECT_TRUE(WaitFor([&] { return host.Viewable(editor); }));
    // Painted: the knob area no longer changes between two looks.
    EXPECT_TRUE(WaitFor([&] {
      const TBitmap first = host.Capture(editor, kRateKnob);
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
      return !first.Empty() && host.Capture(editor, kRateKnob) == first;
    }));
    return editor;
  }
  bool KnobShows(Window editor, const TBitmap& picture) { return host.Capture(editor, kRateKnob) == picture; }

  xhost::THost host;
  const Window top = host.CreateTopLevel(100, 100, 600, 340);
  harness::Instance plugin;
};

TEST_F(EditorWindowTest, OpensInTheHostsWindowAtTheSizeItReports) {
  EXPECT_EQ(plugin.record()->flags, effFlagsHasEditor | effFlagsCanReplacing);
  ERect* rect = nullptr;
  ASSERT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 560);
  EXPECT_EQ(rect->bottom - rect->top, 291);

  EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x3FFFFFFF})), 0);
  const Window editor = OpenShown(plugin, top);
  ASSERT_NE(editor, 0u);
  const XWindowAttributes attributes = host.Attributes(editor);
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, 560);
  EXPECT_EQ(attributes.height, 291);
  // The face plate, not an empty window.
  const TBitmap shown = host.Capture(editor);
  std::set<TColour> colours;
  for (int32_t y = 0; y < shown.Height(); y += 3) {
    for (int32_t x = 0; x < shown.Width(); x += 3) colours.insert(shown.Pixel(x, y));
  }
  EXPECT_GT(colours.size(), 200u);

  plugin.dispatch(effEditClose);
  EXPECT_TRUE(host.Children(top).empty());
  plugin.dispatch(effEditIdle);
  const Window other = host.CreateTopLevel(720, 100, 600, 340);
  const Window again = OpenShown(plugin, other);
  EXPECT_NE(again, 0u);
  EXPECT_TRUE(host.Children(top).empty());
  EXPECT_TRUE(host.Capture(again) == shown);  // the same form, the same state
}

TEST_F(EditorWindowTest, TheMousePlaysItAndValuesArriveAtTheRelease) {
  const Window editor = OpenShown(plugin, top);
  host.Click(editor, kHaasX, kButtonY);
  EXPECT_TRUE(WaitFor([&] { return plugin.getParameter(kStereoMode) == 1.0f; }));
  host.Click(editor, kMonoX, kButtonY);
  EXPECT_TRUE(WaitFor([&] { return plugin.getParameter(kStereoMode) == 0.0f; }));
  host.Click(editor, kBassX, kButtonY);
  EXPECT_TRUE(WaitFor([&] { return plugin.getParameter(kBassMode) == 0.0f; }));

  const TBitmap atHalf = host.Capture(editor, kRateKnob);
  plugin.setParameter(kRate, 0.1f);
  // Shown before the drag starts: a host change arriving mid-drag moves the knob.
  ASSERT_TRUE(WaitFor([&] { return !KnobShows(editor, atHalf); }));
  const TBitmap atStart = host.Capture(editor, kRateKnob);
  host.MoveTo(editor, kRateX, kRateY);
  host.Press();
  host.MoveTo(editor, kRateX, -60);  // straight up, out of the window
  ASSERT_TRUE(WaitFor([&] { return !KnobShows(editor, atStart); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(plugin.getParameter(kRate), 0.1f);
  host.Release();
  EXPECT_TRUE(WaitFor([&] { return plugin.getParameter(kRate) == 0.5f; }));

  host.MoveTo(editor, kRateX, kRateY);
  host.Press();
  host.MoveTo(editor, kRateX + 300, kRateY);  // right, past the host's window
  host.Release();
  EXPECT_TRUE(WaitFor([&] { return std::fabs(plugin.getParameter(kRate) - 19.0f / 24.0f) < 1e-6f; }));
}

TEST_F(EditorWindowTest, ControlsFollowAutomationFromAnotherThread) {
  const Window editor = OpenShown(plugin, top);
  const TBitmap atHalf = host.Capture(editor, kRateKnob);
  std::thread([&] { plugin.setParameter(kRate, 0.9f); }).join();
  EXPECT_TRUE(WaitFor([&] { return !KnobShows(editor, atHalf); }));
  const TBitmap atNineTenths = host.Capture(editor, kRateKnob);
  std::thread([&] { plugin.setParameter(kRate, 0.5f); }).join();
  // The knob's shimmer moves on with every turn: back, but not the same pixels.
  EXPECT_TRUE(WaitFor([&] { return !KnobShows(editor, atNineTenths); }));

  // Buttons have no shimmer: their pictures come back exactly.
  const TBitmap dualLit = host.Capture(editor, kModeButtons);
  std::thread([&] { plugin.setParameter(kStereoMode, 1.0f); }).join();
  EXPECT_TRUE(WaitFor([&] { return !(host.Capture(editor, kModeButtons) == dualLit); }));
  std::thread([&] { plugin.setParameter(kStereoMode, 0.6f); }).join();
  EXPECT_TRUE(WaitFor([&] { return host.Capture(editor, kModeButtons) == dualLit; }));

  // Nothing flows back: the host's values stay as the host set them.
  EXPECT_EQ(plugin.getParameter(kStereoMode), 0.6f);
  EXPECT_EQ(plugin.getParameter(kRate), 0.5f);
}

TEST_F(EditorWindowTest, TwoInstancesSideBySideKeepTheirOwnValues) {
  harness::Instance second;
  const Window beside = host.CreateTopLevel(720, 100, 600, 340);
  const Window first = OpenShown(plugin, top);
  const Window other = OpenShown(second, beside);
  host.Click(other, kHaasX, kButtonY);
  EXPECT_TRUE(WaitFor([&] { return second.getParameter(kStereoMode) == 1.0f; }));
  host.Click(first, kMonoX, kButtonY);
  EXPECT_TRUE(WaitFor([&] { return plugin.getParameter(kStereoMode) == 0.0f; }));
  EXPECT_EQ(second.getParameter(kStereoMode), 1.0f);
}

TEST_F(EditorWindowTest, ClosingThePlugInWithTheEditorOpenTakesTheWindow) {
  const Window editor = OpenShown(plugin, top);
  host.MoveTo(editor, kRateX, kRateY);
  host.Press();  // even mid-drag
  host.MoveTo(editor, kRateX + 20, kRateY);
  plugin.close();
  EXPECT_TRUE(host.Children(top).empty());
  host.Release();
}

// The server drops the editor's connection (the host kills its client, as
// xkill does) while the host's editor thread keeps idling the editor and
// automation keeps it busy. Whichever thread finds the connection gone, the
// other must not touch it afterwards; the window ends, the host carries on,
// and the editor opens again on a connection of its own.
TEST_F(EditorWindowTest, OutlivesItsConnectionBeingKilled) {
  for (int round = 0; round < 4; ++round) {
    const Window editor = OpenShown(plugin, top);
    std::atomic<bool> idling{true};
    std::thread editorThread([&] {
      for (int i = 0; idling; ++i) {
        if (i % 8 == 0) plugin.setParameter(kRate, static_cast<float>(i % 9) / 8.0f);
        plugin.dispatch(effEditIdle);
      }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    XKillClient(host.display(), editor);
    XSync(host.display(), False);
    EXPECT_TRUE(xhost::WaitFor([&] { return host.Children(top).empty(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    idling = false;
    editorThread.join();
    plugin.dispatch(effEditClose);
  }
  EXPECT_NE(OpenShown(plugin, top), 0u);
}

// An open editor that nothing changes sleeps between its timer's ticks, with
// the host idling it now and then or not at all.
TEST_F(EditorWindowTest, AQuietEditorLeavesTheProcessorAlone) {
#if defined(ONDREL_UNDER_EMULATOR)
  GTEST_SKIP() << "processor time under an emulator is the emulator's";
#endif
  OpenShown(plugin, top);
  auto processorTime = [] {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
  };
  for (const bool idling : {false, true}) {
    SCOPED_TRACE(idling ? "idled every 40 ms" : "not idled");
    const auto startedAt = std::chrono::steady_clock::now();
    const auto used = processorTime();
    for (int i = 0; i < 25; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      if (idling) plugin.dispatch(effEditIdle);
    }
    const auto busy = processorTime() - used;
    const auto elapsed = std::chrono::steady_clock::now() - startedAt;
    // Polling through the last millisecond before each 25 ms tick costs
    // about 4% of a core; a tick that finds nothing to do costs next to
    // nothing, even instrumented.
    EXPECT_LT(busy * 100, elapsed) << std::chrono::duration_cast<std::chrono::microseconds>(busy).count()
                                   << " us of processor time in "
                                   << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms";
  }
}

// Host automation, audio and pointer input all at once while the editor is
// open; the ThreadSanitizer build runs this to find races between them.
TEST_F(EditorWindowTest, AutomationAudioAndInputTogether) {
  const Window editor = OpenShown(plugin, top);
  std::atomic<bool> running{true};
  std::thread automation([&] {
    for (int i = 0; running; ++i) {
      plugin.setParameter(i % 9, static_cast<float>(i % 17) / 16.0f);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  std::thread audio([&] {
    std::vector<float> in(64, 0.25f), left(64), right(64);
    float* inputs[] = {in.data()};
    float* outputs[] = {left.data(), right.data()};
    AEffect* effect = plugin.record();
    while (running) effect->processReplacing(effect, inputs, outputs, 64);
  });
  const int targets[][2] = {{kHaasX, kButtonY}, {kRateX, kRateY}, {kMonoX, kButtonY}, {79, 101}, {kBassX, kButtonY}};
  for (int round = 0; round < 12; ++round) {
    const auto& target = targets[round % 5];
    host.MoveTo(editor, target[0], target[1]);
    host.Press();
    host.MoveTo(editor, target[0] + 15, target[1] - 25);
    host.Release();
    plugin.dispatch(effEditIdle);
  }
  running = false;
  automation.join();
  audio.join();
  plugin.dispatch(effEditClose);
  EXPECT_TRUE(host.Children(top).empty());
}

}  // namespace
