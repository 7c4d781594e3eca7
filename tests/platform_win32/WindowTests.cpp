// The forms' Windows windows, driven as a host drives them: a form with a
// knob and a button opened inside a host's top-level window, real pointer
// input from the system's queue, pictures of what the window shows, the
// timer, and the window's life across the host's windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "ControlsTestSupport.h"
#include "DibPixels.h"
#include "FloatGuard.h"
#include "Form.h"
#include "RubberKnob.h"
#include "RubberLEDButton.h"
#include "Win32Window.h"
#include "WinTestHost.h"

using namespace wintest;

namespace {

TEST(DibPixels, RedAndBlueTradePlacesAndTheFourthByteIsZero) {
  EXPECT_EQ(DibPixel(0x00112233), 0x00332211u);
  EXPECT_EQ(DibPixel(clRed), 0x00FF0000u);
  EXPECT_EQ(DibPixel(0xFF00FF00), 0x0000FF00u);
}

TEST(DibPixels, AreaCopiesRowByRowClippedToTheBitmap) {
  TBitmap source(4, 3, 0);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) source.SetPixel(x, y, MakeColour(x, y, 0x80));
  }
  std::vector<uint32_t> dib(99, 0xDEAD);
  const TRect copied = CopyAreaToDib(source, TRect{2, 1, 9, 9}, dib);
  EXPECT_EQ(copied, (TRect{2, 1, 4, 3}));
  EXPECT_EQ(dib, (std::vector<uint32_t>{0x00020180, 0x00030180, 0x00020280, 0x00030280}));
  EXPECT_TRUE(CopyAreaToDib(source, TRect{5, 0, 9, 9}, dib).IsEmpty());
  EXPECT_TRUE(dib.empty());
}

// A control that throws from its press and divides by zero in its paint.
class TUnruly : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Paint(TCanvas& canvas) override {
    volatile float zero = 0.0f;
    quotient = 1.0f / zero;
    canvas.FillRect(TRect{0, 0, Width(), Height()}, 0x00FF00);
  }
  void MouseDown(TMouseButton, TShiftState, int32_t, int32_t) override { throw std::runtime_error("press"); }
  float quotient = 0.0f;
};

class Win32WindowTest : public ::testing::Test {
 protected:
  static constexpr int32_t kKnobLeft = 20, kKnobTop = 30;
  static constexpr int32_t kKnobX = kKnobLeft + 52, kKnobY = kKnobTop + 52;  // its centre
  static constexpr int32_t kButtonX = 160, kButtonY = 60;

  Win32WindowTest() : host(100, 200, 400, 260) {
    SetNativeWindowFactory(Win32WindowFactory());
    form.SetClientSize(220, 160);
    form.SetColour(0x3060C0);  // red and blue apart, so a swap shows
    knob = new TRubberKnob(&form);
    knob->SetBounds(kKnobLeft, kKnobTop, 104, 104);
    knob->SetParent(&form);
    knob->SetDiameter(52);
    knob->SetDotRadius(12);
    knob->SetMainImage(MakeImage(form, BodyBitmap(56, 0x2040E0)));
    knob->SetDotImage(MakeImage(form, DotBitmap(6, 0x20F020), true));
    knob->OnChange = [this](TComponent*) { changes.push_back(knob->Value()); };
    knob->OnChanging = [this](TComponent*) { ++changing; };
    button = new TRubberLEDButton(&form);
    button->SetBounds(kButtonX - 20, kButtonY - 24, 40, 48);
    button->SetParent(&form);
    button->SetUpOff(MakeImage(form, SolidBitmap(38, 45, 0x101080)));
    button->SetDownOff(MakeImage(form, SolidBitmap(38, 45, 0x101040)));
    button->SetUpOn(MakeImage(form, SolidBitmap(38, 45, 0x1010F0)));
    button->SetDownOn(MakeImage(form, SolidBitmap(38, 45, 0x1010A0)));
  }
  ~Win32WindowTest() override { SetNativeWindowFactory(nullptr); }

  HWND Open(HWND parent) {
    if (!form.AttachTo(parent)) return nullptr;
    form.Show();
    form.BringToFront();
    HWND window = ChildWindows(parent).empty() ? nullptr : ChildWindows(parent).front();
    PumpUntil([&] { return ShowsBackBuffer(window); }, 2000);
    return window;
  }

  bool ShowsBackBuffer(HWND window) {
    if (window == nullptr) return false;
    const TPicture picture = CaptureOnScreen(window);
    if (picture.Width != form.ClientWidth() || picture.Height != form.ClientHeight()) return false;
    for (int32_t y = 0; y < picture.Height; ++y) {
      for (int32_t x = 0; x < picture.Width; ++x) {
        if (picture.At(x, y) != DibPixel(form.BackBuffer().Pixel(x, y))) return false;
      }
    }
    return true;
  }

  THostWindow host;
  TForm form;
  TRubberKnob* knob;
  TRubberLEDButton* button;
  std::vector<float> changes;
  int changing = 0;
};

TEST_F(Win32WindowTest, OpensAsABorderlessChildOfTheHostsWindowShownOnTop) {
  form.SetPosition(7, 5);
  ASSERT_TRUE(form.AttachTo(host.Handle()));
  ASSERT_EQ(ChildWindows(host.Handle()).size(), 1u);
  HWND window = ChildWindows(host.Handle()).front();
  EXPECT_EQ(form.ParentWindow(), host.Handle());
  EXPECT_EQ(GetParent(window), host.Handle());
  EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_BORDER | WS_CAPTION | WS_THICKFRAME),
            WS_CHILD | WS_CLIPSIBLINGS);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE), 0);
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  MapWindowPoints(HWND_DESKTOP, host.Handle(), reinterpret_cast<POINT*>(&outer), 2);
  EXPECT_EQ(client.right, 220);
  EXPECT_EQ(client.bottom, 160);
  EXPECT_EQ(outer.left, 7);
  EXPECT_EQ(outer.top, 5);
  EXPECT_EQ(outer.right - outer.left, 220);
  // The class is this module's own.
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)), GetModuleHandleW(nullptr));

  // A sibling above it until the form comes to the front.
  HWND sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.Handle(), nullptr,
                                 nullptr, nullptr);
  SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_EQ(ChildWindows(host.Handle()).front(), sibling);
  form.Show();
  form.BringToFront();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(ChildWindows(host.Handle()).front(), window);
  form.Hide();
  EXPECT_FALSE(IsWindowVisible(window));
  DestroyWindow(sibling);
}

TEST_F(Win32WindowTest, NoWindowForAMissingOrDeadParent) {
  EXPECT_FALSE(form.AttachTo(nullptr));
  THostWindow gone(0, 0, 50, 50);
  HWND stale = gone.Handle();
  gone.Destroy();
  EXPECT_FALSE(form.AttachTo(stale));
  EXPECT_EQ(form.NativeWindow(), nullptr);
}

TEST_F(Win32WindowTest, ShowsTheBackBufferAndFollowsItsChanges) {
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(ShowsBackBuffer(window));
  EXPECT_EQ(CaptureOnScreen(window).At(2, 2), 0xC06030u);
  knob->SetValue(0.5f);
  button->SetButtonState(rlbUpOn);
  EXPECT_TRUE(PumpUntil([&] { return ShowsBackBuffer(window); }, 2000));
  // Asked to print itself, the window gives the same pixels.
  EXPECT_EQ(CaptureByPrinting(window), CaptureOnScreen(window));
  // Uncovered by another window, it paints itself again.
  {
    THostWindow cover(120, 220, 100, 100);
    PumpFor(50);
  }
  EXPECT_TRUE(PumpUntil([&] { return ShowsBackBuffer(window); }, 2000));
}

TEST_F(Win32WindowTest, PointerInputReachesTheControlsAndADragKeepsTheCaptureOutsideTheWindow) {
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);
  PointerClick(window, kButtonX, kButtonY);
  EXPECT_TRUE(button->LEDOn());
  PointerClick(window, kButtonX, kButtonY);
  EXPECT_FALSE(button->LEDOn());

  // From the knob's centre straight up, out of the window and the host's window.
  PointerPress(window, kKnobX, kKnobY);
  EXPECT_EQ(GetCapture(), window);
  PointerMoveTo(window, kKnobX, -150);
  EXPECT_TRUE(PumpUntil([&] { return knob->Value() == 0.5f; }, 1000)) << knob->Value();
  EXPECT_GT(changing, 0);
  EXPECT_TRUE(changes.empty());
  PointerRelease(window, kKnobX, -150);
  EXPECT_EQ(changes, std::vector<float>{0.5f});
  EXPECT_EQ(GetCapture(), nullptr);

  // Straight right, released outside on the right.
  PointerPress(window, kKnobX, kKnobY);
  PointerRelease(window, 300, kKnobY);
  EXPECT_EQ(changes, (std::vector<float>{0.5f, 19.0f / 24.0f}));
  EXPECT_TRUE(PumpUntil([&] { return ShowsBackBuffer(window); }, 2000));
}

TEST_F(Win32WindowTest, AnotherWindowTakingTheCaptureEndsTheDragWhereItWas) {
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);
  PointerPress(window, kKnobX, kKnobY);
  PointerMoveTo(window, kKnobX, kKnobY - 40);
  ASSERT_EQ(GetCapture(), window);
  SetCapture(host.Handle());
  EXPECT_EQ(changes, std::vector<float>{0.5f});
  EXPECT_EQ(form.CaptureControl(), nullptr);
  ReleaseCapture();
  PointerRelease(window, kKnobX, kKnobY - 40);
}

TEST_F(Win32WindowTest, CloseDestroysTheWindowAndTheNextOpenMakesOneInTheNewHost) {
  HWND first = Open(host.Handle());
  ASSERT_NE(first, nullptr);
  PointerClick(first, kButtonX, kButtonY);
  ASSERT_TRUE(button->LEDOn());
  form.Detach();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(ChildWindows(host.Handle()).empty());

  THostWindow other(520, 200, 300, 200);
  HWND second = Open(other.Handle());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetParent(second), other.Handle());
  EXPECT_TRUE(button->LEDOn());
  EXPECT_TRUE(ShowsBackBuffer(second));

  // Straight from one host's window into another's.
  HWND third = Open(host.Handle());
  ASSERT_NE(third, nullptr);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(ChildWindows(other.Handle()).empty());
  PointerClick(third, kButtonX, kButtonY);
  EXPECT_FALSE(button->LEDOn());
}

TEST_F(Win32WindowTest, AHostClosingItsWindowFirstLeavesTheFormWhole) {
  THostWindow doomed(520, 200, 300, 200);
  HWND window = Open(doomed.Handle());
  ASSERT_NE(window, nullptr);
  PointerPress(window, kKnobX, kKnobY);
  HWND stale = doomed.Handle();
  doomed.Destroy();  // mid-drag
  EXPECT_FALSE(IsWindow(window));
  // The drag ended where it was when the window went.
  EXPECT_EQ(changes.size(), 1u);
  PointerRelease(host.Handle(), 10, 10);
  EXPECT_EQ(form.ParentWindow(), nullptr);
  EXPECT_FALSE(form.AttachTo(stale));
  form.Detach();
  HWND again = Open(host.Handle());
  ASSERT_NE(again, nullptr);
  PointerClick(again, kButtonX, kButtonY);
  EXPECT_TRUE(button->LEDOn());
}

TEST_F(Win32WindowTest, TimerTicksOnTheWindowThreadUntilKilled) {
  ASSERT_NE(Open(host.Handle()), nullptr);
  std::atomic<float> recorded{0.0f};
  std::atomic<bool> done{false};
  int ticks = 0;
  DWORD tickThread = 0;
  form.SetTimer(10, [&] {
    ++ticks;
    tickThread = GetCurrentThreadId();
    knob->SetValue(recorded.load());
  });
  // Another thread only records; the window thread applies it.
  std::thread writer([&] {
    recorded.store(0.75f);
    done.store(true);
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load() && knob->Value() == 0.75f && ticks >= 3; }, 2000));
  writer.join();
  EXPECT_EQ(tickThread, GetCurrentThreadId());
  form.KillTimer();
  const int stopped = ticks;
  PumpFor(60);
  EXPECT_EQ(ticks, stopped);
}

TEST_F(Win32WindowTest, EntriesMaskFloatingPointTrapsAndHoldExceptions) {
  auto* unruly = new TUnruly(&form);
  unruly->SetBounds(180, 120, 30, 30);
  unruly->SetParent(&form);
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);

  // A host that unmasks division by zero before its messages come.
  const unsigned int saved = _controlfp(0, 0);
  _controlfp(_MCW_EM & ~_EM_ZERODIVIDE, _MCW_EM);
  unruly->Invalidate();
  UpdateWindow(window);
  EXPECT_EQ(unruly->quotient, HUGE_VALF);
  _controlfp(_MCW_EM & ~_EM_ZERODIVIDE, _MCW_EM);
  SendMessageW(window, WM_ERASEBKGND, 0, 0);  // never reaches the form
  EXPECT_EQ(_controlfp(0, 0) & _MCW_EM, static_cast<unsigned int>(_MCW_EM));
  _controlfp(saved, _MCW_EM);

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 130));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(190, 130));
  PointerClick(window, kButtonX, kButtonY);
  EXPECT_TRUE(button->LEDOn());
}

TEST_F(Win32WindowTest, TheClassGoesWithTheModuleAndComesBackOnDemand) {
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  WNDCLASSEXW found{};
  found.cbSize = sizeof found;
  // Not while a window of it lives.
  Win32WindowModuleUnload();
  EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), name, &found));
  form.Detach();
  Win32WindowModuleUnload();
  EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), name, &found));
  HWND again = Open(host.Handle());
  ASSERT_NE(again, nullptr);
  PointerClick(again, kButtonX, kButtonY);
  EXPECT_TRUE(button->LEDOn());
}

}  // namespace
