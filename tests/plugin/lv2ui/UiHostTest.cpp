// The LV2 editor as an LV2 host drives it: Ondrel_ui.so loaded from the
// bundle, instantiated in a plain Xlib window with the host's features,
// played with real pointer input (XTest), fed port events and idled.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "tests/platform/x11/XTestHost.h"

namespace {

// Form coordinates of the editor's controls.
constexpr TRect kCutoffKnob{27, 49, 131, 153};
constexpr TRect kBassModeButton{60, 191, 100, 239};
constexpr int kMonoX = 278, kHaasX = 395, kButtonY = 215;
// Control ports: 3 + the parameter index.
constexpr uint32_t kBassModePort = 3, kCutoffPort = 4, kStereoModePort = 9;

struct TWrite {
  uint32_t Port;
  uint32_t Size;
  uint32_t Protocol;
  float Value;
  std::thread::id Thread;
};

const LV2UI_Descriptor* Descriptor() {
  static void* library = dlopen(ONDREL_LV2_BUNDLE_DIR "/Ondrel_ui.so", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  const auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
  return entry != nullptr ? entry(0) : nullptr;
}

// Threads of this process now. Runtimes start and end helper threads of
// their own (a sanitizer's, an emulator's), so a test asks only that none
// is left beyond those that were there before.
size_t ThreadCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++count;
  return count;
}
// Whether the count falls back to at most `before`. A joined thread can still
// be listed for a moment: under qemu's user-mode emulator the host thread
// behind it ends only after the join returned.
bool ThreadsBackTo(size_t before) {
  return xhost::WaitFor([&] { return ThreadCount() <= before; }, 2000);
}

class UiHostTest : public ::testing::Test {
 protected:
  static void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer) {
    auto* self = static_cast<UiHostTest*>(controller);
    float value = 0.0f;
    if (size == sizeof value) std::memcpy(&value, buffer, sizeof value);
    self->writes.push_back({port, size, protocol, value, std::this_thread::get_id()});
  }
  static int Resize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<UiHostTest*>(handle)->resized = {width, height};
    return 0;
  }

  LV2UI_Handle Instantiate(const std::vector<const LV2_Feature*>& given,
                           const char* plugin = "urn:ondrel-audio:ondrel") {
    std::vector<const LV2_Feature*> list = given;
    list.push_back(nullptr);
    return ui->instantiate(ui, plugin, ONDREL_LV2_BUNDLE_DIR "/", &Write, this, &widget, list.data());
  }
  LV2UI_Handle Open() { return Instantiate({&parentFeature, &idleFeature, &resizeFeature}); }

  void Idle(LV2UI_Handle handle) { idle->idle(handle); }
  void Event(LV2UI_Handle handle, uint32_t port, float value) { ui->port_event(handle, port, sizeof value, 0, &value); }
  Window Editor() const { return static_cast<Window>(reinterpret_cast<uintptr_t>(widget)); }
  // Waits as a host does: idling the editor in between.
  bool WaitFor(LV2UI_Handle handle, const std::function<bool()>& condition) {
    return xhost::WaitFor(condition, 5000, [&] { Idle(handle); });
  }
  bool WaitShown(LV2UI_Handle handle) {
    if (!WaitFor(handle, [&] { return host.Viewable(Editor()); })) return false;
    // Painted: the knob no longer changes between two looks.
    return WaitFor(handle, [&] { return Settled(handle); });
  }
  bool Settled(LV2UI_Handle handle) {
    const TBitmap first = host.Capture(Editor(), kCutoffKnob);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    Idle(handle);
    return !first.Empty() && host.Capture(Editor(), kCutoffKnob) == first;
  }
  // Idles a while and collects what the editor wrote meanwhile.
  std::vector<TWrite> Drain(LV2UI_Handle handle, int rounds = 6) {
    for (int i = 0; i < rounds; ++i) {
      Idle(handle);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    std::vector<TWrite> taken;
    taken.swap(writes);
    return taken;
  }

  xhost::THost host;
  const Window top = host.CreateTopLevel(100, 100, 600, 340);
  const LV2UI_Descriptor* ui = Descriptor();
  const LV2UI_Idle_Interface* idle =
      ui != nullptr ? static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface)) : nullptr;
  LV2UI_Resize resize{this, &Resize};
  const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(top))};
  const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
  const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
  LV2UI_Widget widget = nullptr;
  std::vector<TWrite> writes;
  std::pair<int, int> resized{0, 0};
};

TEST_F(UiHostTest, OneDescriptorWithTheInterfacesItDeclares) {
  ASSERT_NE(ui, nullptr);
  EXPECT_STREQ(ui->URI, "urn:ondrel-audio:ondrel#ui");
  ASSERT_NE(idle, nullptr);
  EXPECT_NE(ui->extension_data(LV2_UI__showInterface), nullptr);
  EXPECT_EQ(ui->extension_data(LV2_UI__resize), nullptr);
  EXPECT_EQ(ui->extension_data(nullptr), nullptr);
}

TEST_F(UiHostTest, RefusesWithoutTheHostsWindowOrIdleCalls) {
  ASSERT_NE(ui, nullptr);
  const size_t threads = ThreadCount();
  EXPECT_EQ(Instantiate({&idleFeature, &resizeFeature}), nullptr);
  const LV2_Feature nullParent{LV2_UI__parent, nullptr};
  EXPECT_EQ(Instantiate({&nullParent, &idleFeature}), nullptr);
  EXPECT_EQ(Instantiate({&parentFeature}), nullptr);
  EXPECT_EQ(Instantiate({&parentFeature, &idleFeature}, "urn:someone-else:plugin"), nullptr);
  // A window the server does not know.
  const LV2_Feature noSuchParent{LV2_UI__parent, reinterpret_cast<void*>(uintptr_t{0x3FFFFFFF})};
  EXPECT_EQ(Instantiate({&noSuchParent, &idleFeature}), nullptr);
  EXPECT_TRUE(host.Children(top).empty());
  EXPECT_TRUE(ThreadsBackTo(threads));
  EXPECT_EQ(resized, std::make_pair(0, 0));
}

TEST_F(UiHostTest, OpensInTheHostsWindowAtItsFixedSizeAndLeavesNoThread) {
  ASSERT_NE(ui, nullptr);
  // Counted after a first round: a sanitizer's runtime starts a thread of its
  // own once the process has a second one.
  ui->cleanup(Open());
  const size_t threads = ThreadCount();
  LV2UI_Handle handle = Open();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(host.Children(top), std::vector<Window>{Editor()});
  EXPECT_EQ(resized, std::make_pair(560, 291));
  ASSERT_TRUE(WaitShown(handle));
  const XWindowAttributes attributes = host.Attributes(Editor());
  EXPECT_EQ(attributes.width, 560);
  EXPECT_EQ(attributes.height, 291);
  // Opening writes nothing: the host's values stand.
  EXPECT_TRUE(Drain(handle).empty());

  const auto* show = static_cast<const LV2UI_Show_Interface*>(ui->extension_data(LV2_UI__showInterface));
  EXPECT_EQ(show->hide(handle), 0);
  EXPECT_TRUE(WaitFor(handle, [&] { return !host.Viewable(Editor()); }));
  EXPECT_EQ(show->show(handle), 0);
  EXPECT_TRUE(WaitFor(handle, [&] { return host.Viewable(Editor()); }));

  ui->cleanup(handle);
  EXPECT_TRUE(host.Children(top).empty());
  EXPECT_TRUE(ThreadsBackTo(threads));
}

TEST_F(UiHostTest, AClickWritesTheChangedControlsOnTheHostsThread) {
  ASSERT_NE(ui, nullptr);
  LV2UI_Handle handle = Open();
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(WaitShown(handle));

  host.Click(Editor(), kHaasX, kButtonY);
  ASSERT_TRUE(WaitFor(handle, [&] { return !writes.empty(); }));
  std::vector<TWrite> sent = Drain(handle);
  // Only what changed: of the nine values the editor writes, Stereo Mode.
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Port, kStereoModePort);
  EXPECT_EQ(sent[0].Size, sizeof(float));
  EXPECT_EQ(sent[0].Protocol, 0u);
  EXPECT_EQ(sent[0].Value, 1.0f);
  EXPECT_EQ(sent[0].Thread, std::this_thread::get_id());

  // A switch the host set between its two values is written back in the
  // editor's terms with the next edit, as the VST 2 editor does.
  const TBitmap bassLit = host.Capture(Editor(), kBassModeButton);
  Event(handle, kBassModePort, 0.3f);
  ASSERT_TRUE(WaitFor(handle, [&] { return !(host.Capture(Editor(), kBassModeButton) == bassLit); }));
  EXPECT_TRUE(Drain(handle).empty());
  host.Click(Editor(), kMonoX, kButtonY);
  ASSERT_TRUE(WaitFor(handle, [&] { return writes.size() >= 2; }));
  sent = Drain(handle);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Port, kBassModePort);
  EXPECT_EQ(sent[0].Value, 0.0f);
  EXPECT_EQ(sent[1].Port, kStereoModePort);
  EXPECT_EQ(sent[1].Value, 0.0f);
  ui->cleanup(handle);
}

TEST_F(UiHostTest, PortEventsMoveTheControlsAndNothingFlowsBack) {
  ASSERT_NE(ui, nullptr);
  LV2UI_Handle handle = Open();
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(WaitShown(handle));
  const TBitmap atDefault = host.Capture(Editor(), kCutoffKnob);

  Event(handle, kCutoffPort, 0.75f);
  ASSERT_TRUE(WaitFor(handle, [&] { return !(host.Capture(Editor(), kCutoffKnob) == atDefault); }));
  ASSERT_TRUE(WaitFor(handle, [&] { return Settled(handle); }));
  const TBitmap atThreeQuarters = host.Capture(Editor(), kCutoffKnob);
  Event(handle, kCutoffPort, 0.25f);
  EXPECT_TRUE(WaitFor(handle, [&] { return !(host.Capture(Editor(), kCutoffKnob) == atThreeQuarters); }));
  ASSERT_TRUE(WaitFor(handle, [&] { return Settled(handle); }));

  // Other protocols, sizes and ports are not control values.
  const TBitmap atQuarter = host.Capture(Editor(), kCutoffKnob);
  const float far = 0.9f;
  const double wide = 0.9;
  ui->port_event(handle, kCutoffPort, sizeof far, 1, &far);
  ui->port_event(handle, kCutoffPort, sizeof wide, 0, &wide);
  ui->port_event(handle, kCutoffPort, sizeof far, 0, nullptr);
  Event(handle, 12, far);
  Event(handle, 0, far);
  EXPECT_TRUE(Drain(handle).empty());
  EXPECT_TRUE(host.Capture(Editor(), kCutoffKnob) == atQuarter);
  ui->cleanup(handle);
}

}  // namespace
