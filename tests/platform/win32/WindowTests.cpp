// The forms' Windows windows with a plain form (a knob and a button) inside a
// test host's top-level window: the colour conversion, the screen density,
// the pixels shown against the back buffer, lost captures, a host that
// destroys its window first, and a hostile control word. Opening, input,
// the timer and the class's life are tested through the built plug-in
// (tests/plugin/win32).
#include <gtest/gtest.h>

#include <windows.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "controls/RubberKnob.h"
#include "controls/RubberLEDButton.h"
#include "platform/Form.h"
#include "platform/Screen.h"
#include "platform/win32/DibPixels.h"
#include "platform/win32/Win32Window.h"
#include "tests/platform/win32/WinTestHost.h"
#include "tests/support/ControlsTestSupport.h"

using namespace wintest;

namespace {

TEST(DibPixels, RedAndBlueTradePlacesRowByRowInTheClippedArea) {
  EXPECT_EQ(DibPixel(0xFF112233), 0x00332211u);  // the fourth byte stays clear
  TBitmap source(4, 3, 0);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x)
      source.SetPixel(x, y, MakeColour(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0x80));
  }
  std::vector<uint32_t> dib(99, 0xDEAD);
  const TRect copied = CopyAreaToDib(source, TRect{2, 1, 9, 9}, dib);
  EXPECT_EQ(copied, (TRect{2, 1, 4, 3}));
  EXPECT_EQ(dib, (std::vector<uint32_t>{0x00020180, 0x00030180, 0x00020280, 0x00030280}));
  EXPECT_TRUE(CopyAreaToDib(source, TRect{5, 0, 9, 9}, dib).IsEmpty());
  EXPECT_TRUE(dib.empty());
}

// The density is the system's setting, which a process reads as it starts:
// this program runs its own case again in a child under 120 pixels per inch.
TEST(Win32Screen, DensityIsTheSystemSetting) {
  if (const char* expected = std::getenv("ONDREL_EXPECTED_PIXELS_PER_INCH")) {
    EXPECT_EQ(ScreenPixelsPerInch(), std::atoi(expected));
    return;
  }
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &desktop, nullptr),
            ERROR_SUCCESS);
  DWORD saved = 0, size = sizeof saved;
  const bool hadValue = RegQueryValueExW(desktop, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&saved),
                                         &size) == ERROR_SUCCESS;
  const DWORD wanted = 120;
  RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&wanted), sizeof wanted);

  SetEnvironmentVariableA("ONDREL_EXPECTED_PIXELS_PER_INCH", "120");
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string command = std::string("\"") + program + "\" --gtest_filter=Win32Screen.DensityIsTheSystemSetting";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const bool started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
  DWORD exitCode = 1;
  if (started) {
    WaitForSingleObject(child.hProcess, 60000);
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  SetEnvironmentVariableA("ONDREL_EXPECTED_PIXELS_PER_INCH", nullptr);
  if (hadValue) {
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved), sizeof saved);
  } else {
    RegDeleteValueW(desktop, L"LogPixels");
  }
  RegCloseKey(desktop);
  ASSERT_TRUE(started);
  EXPECT_EQ(exitCode, 0u);
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
};

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

TEST_F(Win32WindowTest, TheWindowsTextIsTheFormsCaption) {
  form.SetCaption("Ondr\xC3\xA9l");  // UTF-8
  HWND window = Open(host.Handle());
  ASSERT_NE(window, nullptr);
  wchar_t text[32] = L"";
  GetWindowTextW(window, text, 32);
  EXPECT_STREQ(text, L"Ondr\u00E9l");
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

}  // namespace
