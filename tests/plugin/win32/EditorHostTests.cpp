// The built plug-in's editor as a Windows host sees it: the DLL loaded
// through its entry point, the editor opened in the host's own top-level
// window, played with real pointer input, automated from another thread,
// closed, reopened elsewhere, run twice at once and from two copies of the
// DLL.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/win32/WinTestHost.h"
#include "tests/support/HostHarness.h"

using namespace wintest;

namespace {

constexpr int32_t kWidth = 560, kHeight = 291;

// Parameters.
constexpr int32_t kBassMode = 0, kCutoff = 1, kRate = 4, kFeedback = 5, kStereoMode = 6, kMix = 8;

// Where the controls are, in the editor's client coordinates.
constexpr POINT kRateCentre{384, 101}, kFeedbackCentre{477, 101}, kMixCentre{477, 215}, kCutoffCentre{79, 101};
constexpr POINT kBassModeButton{80, 215}, kMonoButton{278, 215}, kStereoButton{317, 215}, kHaasButton{395, 215};
constexpr RECT kRateKnob{332, 49, 436, 153}, kStereoLed{297, 191, 337, 239}, kHaasLed{375, 191, 415, 239};

TPicture PartOf(const TPicture& picture, const RECT& r) {
  return picture.Part(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// One plug-in instance with its editor, in a host window of the size the
// editor asks for.
class THostedEditor {
 public:
  THostedEditor(int32_t screenX, int32_t screenY, AEffect* effect = nullptr)
      : own_(effect == nullptr ? std::make_unique<harness::Instance>() : nullptr),
        effect_(effect != nullptr ? effect : own_->record()) {
    ERect* rect = nullptr;
    EXPECT_EQ(Dispatch(effEditGetRect, 0, &rect), 1);
    if (rect != nullptr) {
      size = {rect->left, rect->top, rect->right, rect->bottom};
    }
    host = std::make_unique<THostWindow>(screenX, screenY, size.right - size.left, size.bottom - size.top);
  }
  ~THostedEditor() {
    if (effect_ != nullptr && own_ != nullptr) own_->close();
  }

  intptr_t Dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
    return effect_->dispatcher(effect_, opcode, 0, value, ptr, 0.0f);
  }
  float Get(int32_t index) const { return effect_->getParameter(effect_, index); }
  void Set(int32_t index, float value) const { effect_->setParameter(effect_, index, value); }

  // Opens the editor in `parent` (the host's window by default) and waits
  // until it shows.
  HWND Open(HWND parent = nullptr) {
    if (parent == nullptr) parent = host->Handle();
    if (Dispatch(effEditOpen, 0, parent) != 1) return nullptr;
    const std::vector<HWND> children = ChildWindows(parent);
    editor = children.empty() ? nullptr : children.front();
    Settle();
    return editor;
  }
  void Close() {
    Dispatch(effEditClose);
    PumpMessages();
  }
  // Lets the timer and the paints run, until the picture stops changing.
  void Settle() {
    TPicture last;
    PumpUntil([&] {
      PumpFor(30);
      TPicture now = CaptureOnScreen(editor);
      const bool same = now == last;
      last = std::move(now);
      return same;
    });
  }
  TPicture Screen() const { return CaptureOnScreen(editor); }

  void Click(POINT at) {
    PointerClick(editor, at.x, at.y);
    Settle();
  }

  RECT size{};
  std::unique_ptr<THostWindow> host;
  HWND editor = nullptr;

 private:
  std::unique_ptr<harness::Instance> own_;
  AEffect* effect_;
};

TEST(EditorInAHostWindow, OpensAsAChildOfTheHostsWindowOfTheRectsSize) {
  THostedEditor fx(40, 300);
  EXPECT_EQ(fx.size.left, 0);
  EXPECT_EQ(fx.size.top, 0);
  EXPECT_EQ(fx.size.right, kWidth);
  EXPECT_EQ(fx.size.bottom, kHeight);
  EXPECT_TRUE(ChildWindows(fx.host->Handle()).empty());  // getRect made no window there

  // Something that is not a window is refused.
  int notAWindow = 0;
  EXPECT_EQ(fx.Dispatch(effEditOpen, 0, &notAWindow), 0);

  // The host's own child is there first; the editor comes to the front.
  HWND sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 50, 50,
                                 fx.host->Handle(), nullptr, nullptr, nullptr);
  HWND editor = fx.Open();
  ASSERT_NE(editor, nullptr);
  EXPECT_NE(editor, sibling);
  EXPECT_EQ(ChildWindows(fx.host->Handle()).size(), 2u);
  EXPECT_EQ(GetParent(editor), fx.host->Handle());
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(GetWindowLongPtrW(editor, GWL_STYLE) & (WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_CAPTION),
            WS_CHILD | WS_CLIPSIBLINGS);
  RECT client{}, outer{};
  GetClientRect(editor, &client);
  GetWindowRect(editor, &outer);
  MapWindowPoints(HWND_DESKTOP, fx.host->Handle(), reinterpret_cast<POINT*>(&outer), 2);
  EXPECT_EQ(client.right, kWidth);
  EXPECT_EQ(client.bottom, kHeight);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  // The window class belongs to the plug-in's module, not to the host.
  HMODULE plugin = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(harness::Plugin().entry())), &plugin);
  EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrW(editor, GCLP_HMODULE)), plugin);
  EXPECT_EQ(fx.Dispatch(effEditIdle), 0);

  // What it shows is what the form painted (the window prints its back buffer).
  const TPicture shown = fx.Screen();
  EXPECT_EQ(shown, CaptureByPrinting(editor));
  std::vector<uint32_t> colours = shown.Pixels;
  std::sort(colours.begin(), colours.end());
  EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 1000);  // the panel, not a fill
}

TEST(EditorInAHostWindow, ThePointerPlaysModesSwitchesAndKnobs) {
  THostedEditor fx(40, 300);
  ASSERT_NE(fx.Open(), nullptr);
  const TPicture before = fx.Screen();

  fx.Click(kHaasButton);
  EXPECT_EQ(fx.Get(kStereoMode), 1.0f);
  EXPECT_NE(PartOf(fx.Screen(), kHaasLed), PartOf(before, kHaasLed));
  EXPECT_EQ(fx.Screen(), CaptureByPrinting(fx.editor));
  // Haas disables feedback and mix: they do not turn.
  const float feedback = fx.Get(kFeedback), mix = fx.Get(kMix);
  fx.Click({kFeedbackCentre.x, kFeedbackCentre.y - 40});
  fx.Click({kMixCentre.x, kMixCentre.y - 40});
  EXPECT_EQ(fx.Get(kFeedback), feedback);
  EXPECT_EQ(fx.Get(kMix), mix);

  fx.Click(kMonoButton);
  EXPECT_EQ(fx.Get(kStereoMode), 0.0f);
  EXPECT_EQ(PartOf(fx.Screen(), kHaasLed), PartOf(before, kHaasLed));
  fx.Click({kFeedbackCentre.x, kFeedbackCentre.y - 40});  // straight above: half way
  EXPECT_EQ(fx.Get(kFeedback), 0.5f);

  // Bass mode off disables the cutoff knob; on again enables it.
  ASSERT_EQ(fx.Get(kBassMode), 1.0f);
  fx.Click(kBassModeButton);
  EXPECT_EQ(fx.Get(kBassMode), 0.0f);
  const float cutoff = fx.Get(kCutoff);
  fx.Click({kCutoffCentre.x, kCutoffCentre.y - 40});
  EXPECT_EQ(fx.Get(kCutoff), cutoff);
  fx.Click(kBassModeButton);
  EXPECT_EQ(fx.Get(kBassMode), 1.0f);
  fx.Click({kCutoffCentre.x, kCutoffCentre.y - 40});
  EXPECT_EQ(fx.Get(kCutoff), 0.5f);
}

TEST(EditorInAHostWindow, ADragOutsideTheWindowReachesThePluginOnlyAtTheRelease) {
  THostedEditor fx(40, 300);
  ASSERT_NE(fx.Open(), nullptr);
  fx.Set(kRate, 0.2f);
  fx.Settle();
  const TPicture atStart = PartOf(fx.Screen(), kRateKnob);

  PointerPress(fx.editor, kRateCentre.x, kRateCentre.y);
  PointerMoveTo(fx.editor, kRateCentre.x, -100);  // straight up, above the host's window
  fx.Settle();
  EXPECT_NE(PartOf(fx.Screen(), kRateKnob), atStart);  // the knob follows
  EXPECT_EQ(fx.Get(kRate), 0.2f);                      // the plug-in does not yet
  PointerRelease(fx.editor, kRateCentre.x, -100);
  fx.Settle();
  EXPECT_EQ(fx.Get(kRate), 0.5f);

  PointerPress(fx.editor, kRateCentre.x, kRateCentre.y);
  PointerMoveTo(fx.editor, kRateCentre.x + 400, kRateCentre.y);  // straight right, outside
  fx.Settle();
  EXPECT_EQ(fx.Get(kRate), 0.5f);
  PointerRelease(fx.editor, kRateCentre.x + 400, kRateCentre.y);
  fx.Settle();
  EXPECT_EQ(fx.Get(kRate), 19.0f / 24.0f);
}

TEST(EditorInAHostWindow, AutomationFromAnotherThreadShowsAtOnceAndNothingFlowsBack) {
  THostedEditor fx(40, 300);
  ASSERT_NE(fx.Open(), nullptr);
  // How the Stereo light looks lit and dark, set on the window's thread. (A
  // knob's picture also carries its light reflection, which moves on with
  // every turn, so the knob is only seen to move.)
  fx.Set(kStereoMode, 1.0f / 3.0f);
  fx.Settle();
  const TPicture stereoLit = PartOf(fx.Screen(), kStereoLed);
  fx.Set(kStereoMode, 0.0f);
  fx.Set(kRate, 0.1f);
  fx.Settle();
  const TPicture stereoDark = PartOf(fx.Screen(), kStereoLed);
  const TPicture rateLow = PartOf(fx.Screen(), kRateKnob);
  ASSERT_NE(stereoLit, stereoDark);
  std::array<float, 9> before{};
  for (int32_t i = 0; i < 9; ++i) before[static_cast<size_t>(i)] = fx.Get(i);
  harness::hostCalls.clear();

  // Values no control can show exactly: an echo would come back quantised.
  std::thread automation([&] {
    fx.Set(kStereoMode, 0.4f);  // Stereo
    fx.Set(kBassMode, 0.7f);    // on
    fx.Set(kRate, 0.75f);
  });
  automation.join();
  // The host's thread drew nothing itself.
  EXPECT_EQ(PartOf(fx.Screen(), kStereoLed), stereoDark);
  EXPECT_EQ(PartOf(fx.Screen(), kRateKnob), rateLow);

  int turns = 0;
  const ULONGLONG start = GetTickCount64();
  const bool followed = PumpUntil([&] {
    ++turns;
    const TPicture shown = fx.Screen();
    return PartOf(shown, kStereoLed) == stereoLit && PartOf(shown, kRateKnob) != rateLow;
  });
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_TRUE(followed);
  EXPECT_LT(waited, 500u) << turns << " turns";

  EXPECT_EQ(fx.Get(kStereoMode), 0.4f);
  EXPECT_EQ(fx.Get(kBassMode), 0.7f);
  EXPECT_EQ(fx.Get(kRate), 0.75f);
  for (int32_t i : {1, 2, 3, 5, 7, 8}) EXPECT_EQ(fx.Get(i), before[static_cast<size_t>(i)]) << i;
  for (const harness::HostCall& call : harness::hostCalls) EXPECT_NE(call.opcode, audioMasterAutomate);
  // A click on the knob's very centre turns nothing and hands the knob's own
  // value to the plug-in: it holds the host's.
  fx.Click(kRateCentre);
  EXPECT_EQ(fx.Get(kRate), 0.75f);
}

TEST(EditorInAHostWindow, ClosedAndReopenedInAnotherWindowItKeepsItsState) {
  THostedEditor fx(40, 300);
  HWND first = fx.Open();
  ASSERT_NE(first, nullptr);
  fx.Click(kHaasButton);
  const TPicture haasLit = PartOf(fx.Screen(), kHaasLed);
  fx.Close();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(ChildWindows(fx.host->Handle()).empty());

  THostWindow other(620, 300, kWidth, kHeight);
  HWND second = fx.Open(other.Handle());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetParent(second), other.Handle());
  EXPECT_EQ(PartOf(fx.Screen(), kHaasLed), haasLit);
  fx.Click(kStereoButton);
  EXPECT_EQ(fx.Get(kStereoMode), 1.0f / 3.0f);

  // Opened again without a close, in the first window: it moves there.
  HWND third = fx.Open();
  ASSERT_NE(third, nullptr);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(GetParent(third), fx.host->Handle());
  fx.Click(kHaasButton);
  EXPECT_EQ(fx.Get(kStereoMode), 1.0f);
}

TEST(EditorInAHostWindow, TwoInstancesSideBySideKeepToThemselves) {
  THostedEditor left(40, 300), right(620, 300);
  ASSERT_NE(left.Open(), nullptr);
  ASSERT_NE(right.Open(), nullptr);
  left.Click(kHaasButton);
  right.Click(kStereoButton);
  EXPECT_EQ(left.Get(kStereoMode), 1.0f);
  EXPECT_EQ(right.Get(kStereoMode), 1.0f / 3.0f);
  PointerPress(right.editor, kRateCentre.x, kRateCentre.y);
  PointerRelease(right.editor, kRateCentre.x + 300, kRateCentre.y);  // over the other editor
  EXPECT_EQ(right.Get(kRate), 19.0f / 24.0f);
  EXPECT_EQ(left.Get(kRate), 0.5f);
}

TEST(EditorInAHostWindow, ClosingThePluginWithTheEditorOpenTakesTheWindowAlong) {
  harness::Instance instance;
  THostedEditor fx(40, 300, instance.record());
  HWND editor = fx.Open();
  ASSERT_NE(editor, nullptr);
  PointerPress(editor, kRateCentre.x, kRateCentre.y);  // even in the middle of a drag
  instance.close();
  EXPECT_FALSE(IsWindow(editor));
  PointerRelease(fx.host->Handle(), 10, 10);
  PumpFor(100);  // no timer or paint is left for the freed editor
  EXPECT_TRUE(IsWindow(fx.host->Handle()));
  EXPECT_TRUE(ChildWindows(fx.host->Handle()).empty());
}

// Two copies of the DLL in one process: each has its own window class, and
// unloading one leaves the other's editor working.
TEST(EditorInAHostWindow, TwoCopiesOfTheModuleDoNotCollide) {
  const std::string original = hostkit::DefaultPluginPath();
  const std::string copy = hostkit::ExecutableDirectory() + "OndrelCopy.dll";
  ASSERT_TRUE(CopyFileA(original.c_str(), copy.c_str(), FALSE));
  std::string error;
  auto library = hostkit::PluginLibrary::Open(copy, error);
  ASSERT_NE(library, nullptr) << error;
  AEffect* other = library->entry()(harness::RecordingHost);
  ASSERT_NE(other, nullptr);

  THostedEditor ours(40, 300), theirs(620, 300, other);
  ASSERT_NE(ours.Open(), nullptr);
  ASSERT_NE(theirs.Open(), nullptr);
  wchar_t ourClass[128] = L"", theirClass[128] = L"";
  GetClassNameW(ours.editor, ourClass, 128);
  GetClassNameW(theirs.editor, theirClass, 128);
  EXPECT_NE(std::wstring(ourClass), std::wstring(theirClass));
  const HINSTANCE theirModule = reinterpret_cast<HINSTANCE>(GetClassLongPtrW(theirs.editor, GCLP_HMODULE));
  theirs.Click(kHaasButton);
  EXPECT_EQ(theirs.Get(kStereoMode), 1.0f);

  other->dispatcher(other, effClose, 0, 0, nullptr, 0.0f);
  library.reset();  // unloads the copy
  WNDCLASSEXW found{};
  found.cbSize = sizeof found;
  EXPECT_FALSE(GetClassInfoExW(theirModule, theirClass, &found));
  ours.Click(kHaasButton);
  EXPECT_EQ(ours.Get(kStereoMode), 1.0f);
  DeleteFileA(copy.c_str());
}

}  // namespace
