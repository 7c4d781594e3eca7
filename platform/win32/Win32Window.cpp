#include "Win32Window.h"

#include <windows.h>
#include <windowsx.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/FloatGuard.h"
#include "platform/Form.h"
#include "platform/win32/DibPixels.h"

namespace {

constexpr UINT_PTR kTimerId = 1;

HINSTANCE ModuleInstance() {
  // The module this code was linked into, not the host's executable: the
  // class must belong to us and go away with us.
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&ModuleInstance), &module)) {
    return nullptr;
  }
  return module;
}

// The window class of this module. A slim reader/writer lock needs no
// construction or destruction, so it is safe whenever DllMain runs.
SRWLOCK classLock = SRWLOCK_INIT;
ATOM classAtom = 0;
HINSTANCE classInstance = nullptr;
wchar_t className[64] = L"";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the class name into `name`; false when the class cannot be had.
bool RegisteredClass(wchar_t (&name)[64], HINSTANCE& instance) {
  AcquireSRWLockExclusive(&classLock);
  if (classAtom == 0) {
    classInstance = ModuleInstance();
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    // No CS_HREDRAW/CS_VREDRAW and no background brush: every pixel comes from
    // the form's back buffer, so nothing is erased first and nothing flickers.
    description.style = 0;
    description.lpfnWndProc = &WindowProcedure;
    description.hInstance = classInstance;
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.hbrBackground = nullptr;
    // The module's address makes the name unique among modules in the process.
    // A name can still be taken by a copy that was unloaded with windows of
    // its class alive (and so could not unregister); then try the next one.
    for (unsigned attempt = 0; attempt < 16 && classAtom == 0; ++attempt) {
      std::swprintf(className, std::size(className), L"OndrelEditor.%llx.%u",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(classInstance)), attempt);
      description.lpszClassName = className;
      classAtom = RegisterClassExW(&description);
      if (classAtom == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) break;
    }
  }
  const bool registered = classAtom != 0;
  if (registered) {
    std::wmemcpy(name, className, std::size(name));
    instance = classInstance;
  }
  ReleaseSRWLockExclusive(&classLock);
  return registered;
}

TShiftState ShiftFrom(WPARAM keys) {
  TShiftState shift = 0;
  if ((keys & MK_SHIFT) != 0) shift |= ssShift;
  if ((keys & MK_CONTROL) != 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if ((keys & MK_LBUTTON) != 0) shift |= ssLeft;
  if ((keys & MK_RBUTTON) != 0) shift |= ssRight;
  if ((keys & MK_MBUTTON) != 0) shift |= ssMiddle;
  return shift;
}

class TWin32Window final : public TNativeWindow {
 public:
  TWin32Window(TForm& form, HWND parent) : form_(form), parent_(parent) {}
  ~TWin32Window() override;
  TWin32Window(const TWin32Window&) = delete;
  TWin32Window& operator=(const TWin32Window&) = delete;

  bool Create(const wchar_t* windowClass, HINSTANCE instance);

  void InvalidateArea(const TRect& area) override;
  void Present(const TBitmap& backBuffer, const TRect& area) override;
  void CapturePointer() override;
  void ReleasePointerCapture() override;
  void SetShown(bool shown) override;
  void BringToFront() override;
  // None once the system destroyed the window (with the host's window): the
  // form then makes a new one, even inside a window at the same address.
  void* ParentHandle() const override { return handle_ != nullptr ? parent_ : nullptr; }
  void StartTimer(uint32_t intervalMs) override;
  void StopTimer() override;

  // The window's messages; false for those left to the system.
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Forget() { handle_ = nullptr; }

 private:
  void Paint();
  void PrintClient(HDC dc);

  TForm& form_;
  HWND parent_;
  HWND handle_ = nullptr;
  // Set while the form paints for WM_PRINTCLIENT: its pixels go there.
  HDC printDc_ = nullptr;
  // Set while we give the capture back ourselves: that is no lost capture.
  bool releasing_ = false;
  std::vector<uint32_t> dib_;
};

TWin32Window* WindowOf(HWND window) {
  return reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Every entry from the window system: the host's control word may unmask
// traps, and nothing may unwind into the system's frames.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FloatGuard::Apply();
  try {
    if (message == WM_NCCREATE) {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (TWin32Window* self = WindowOf(window)) {
      if (message == WM_NCDESTROY) {
        // Destroyed by the system (the host closed its window first): the
        // form must not reach this handle again.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->Forget();
      } else {
        LRESULT result = 0;
        if (self->Handle(message, wParam, lParam, result)) return result;
      }
    }
  } catch (...) {
    // The form keeps its state; the system does what it would do anyway.
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

// The form's caption (UTF-8) as the window's text; empty if it does not convert.
std::wstring WindowText(const std::string& caption) {
  if (caption.empty()) return {};
  const int size = static_cast<int>(caption.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, caption.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, caption.data(), size, text.data(), length);
  return text;
}

}  // namespace

bool TWin32Window::Create(const wchar_t* windowClass, HINSTANCE instance) {
  const std::wstring text = WindowText(form_.Caption());
  // The handle arrives with WM_NCCREATE; until CreateWindowExW returns the
  // window is already ours.
  HWND window = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS, form_.Left(), form_.Top(),
                                form_.ClientWidth(), form_.ClientHeight(), parent_, nullptr, instance, this);
  handle_ = window;
  return window != nullptr;
}

TWin32Window::~TWin32Window() {
  HWND window = handle_;
  if (window == nullptr) return;
  handle_ = nullptr;
  // Whatever the system still sends while the window goes (the lost capture
  // among it) no longer reaches the form, which has let it go already.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    KillTimer(window, kTimerId);
    DestroyWindow(window);
  } else {
    // Only the window's own thread may destroy it; the system's default
    // handling of WM_CLOSE does that there.
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

void TWin32Window::InvalidateArea(const TRect& area) {
  if (handle_ == nullptr) return;
  const RECT rect{area.Left, area.Top, area.Right, area.Bottom};
  InvalidateRect(handle_, &rect, FALSE);
}

void TWin32Window::Present(const TBitmap& backBuffer, const TRect& area) {
  if (handle_ == nullptr) return;
  if (printDc_ == nullptr && !IsWindowVisible(handle_)) return;  // the paint on showing covers it
  const TRect copied = CopyAreaToDib(backBuffer, area, dib_);
  if (copied.IsEmpty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = copied.Width();
  info.bmiHeader.biHeight = -copied.Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Outside WM_PRINTCLIENT a DC of our own: one from BeginPaint would clip to
  // the update region, and a paint may present more than it was asked for (a
  // knob moving its dot).
  HDC dc = printDc_ != nullptr ? printDc_ : GetDC(handle_);
  if (dc == nullptr) return;
  SetDIBitsToDevice(dc, copied.Left, copied.Top, static_cast<DWORD>(copied.Width()),
                    static_cast<DWORD>(copied.Height()), 0, 0, 0, static_cast<UINT>(copied.Height()), dib_.data(),
                    &info, DIB_RGB_COLORS);
  if (dc != printDc_) ReleaseDC(handle_, dc);
}

void TWin32Window::CapturePointer() {
  if (handle_ != nullptr) SetCapture(handle_);
}

void TWin32Window::ReleasePointerCapture() {
  if (handle_ == nullptr || GetCapture() != handle_) return;
  releasing_ = true;
  ReleaseCapture();
  releasing_ = false;
}

void TWin32Window::SetShown(bool shown) {
  if (handle_ == nullptr) return;
  // A child window takes no activation; the host keeps its focus.
  ShowWindow(handle_, shown ? SW_SHOWNA : SW_HIDE);
}

void TWin32Window::BringToFront() {
  if (handle_ != nullptr) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWin32Window::StartTimer(uint32_t intervalMs) {
  if (handle_ != nullptr) SetTimer(handle_, kTimerId, intervalMs, nullptr);
}

void TWin32Window::StopTimer() {
  if (handle_ != nullptr) KillTimer(handle_, kTimerId);
}

void TWin32Window::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle_, &paint);
  if (dc == nullptr) return;
  // Ends the paint however the form leaves, or the system repeats WM_PAINT.
  struct TEndPaint {
    HWND window;
    PAINTSTRUCT* paint;
    ~TEndPaint() { EndPaint(window, paint); }
  } end{handle_, &paint};
  const RECT& r = paint.rcPaint;
  form_.PaintArea(TRect{r.left, r.top, r.right, r.bottom});
}

void TWin32Window::PrintClient(HDC dc) {
  struct TRestore {
    HDC& slot;
    ~TRestore() { slot = nullptr; }
  } restore{printDc_};
  printDc_ = dc;
  form_.PaintArea(form_.ClientRect());
}

bool TWin32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int32_t x = GET_X_LPARAM(lParam);  // signed: a captured drag may leave the window
  const int32_t y = GET_Y_LPARAM(lParam);
  result = 0;
  switch (message) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: Paint(); return true;
    case WM_PRINTCLIENT: PrintClient(reinterpret_cast<HDC>(wParam)); return true;
    case WM_LBUTTONDOWN: form_.PointerDown(TMouseButton::Left, ShiftFrom(wParam), x, y); return true;
    case WM_RBUTTONDOWN: form_.PointerDown(TMouseButton::Right, ShiftFrom(wParam), x, y); return true;
    case WM_MBUTTONDOWN: form_.PointerDown(TMouseButton::Middle, ShiftFrom(wParam), x, y); return true;
    case WM_MOUSEMOVE: form_.PointerMove(ShiftFrom(wParam), x, y); return true;
    case WM_LBUTTONUP: form_.PointerUp(TMouseButton::Left, ShiftFrom(wParam), x, y); return true;
    case WM_RBUTTONUP: form_.PointerUp(TMouseButton::Right, ShiftFrom(wParam), x, y); return true;
    case WM_MBUTTONUP: form_.PointerUp(TMouseButton::Middle, ShiftFrom(wParam), x, y); return true;
    case WM_DESTROY:
      // Destroyed with the host's window in the middle of a press: the
      // press ends where it was, as when the capture goes elsewhere.
      form_.CaptureLost();
      return true;
    case WM_CAPTURECHANGED:
      if (!releasing_ && reinterpret_cast<HWND>(lParam) != handle_) form_.CaptureLost();
      return true;
    case WM_TIMER:
      if (wParam != kTimerId) return false;
      form_.TimerTick();
      return true;
    default: return false;
  }
}

std::unique_ptr<TNativeWindow> MakeWindow(TForm& form, void* parent) {
  HWND parentWindow = static_cast<HWND>(parent);
  if (parentWindow == nullptr || !IsWindow(parentWindow)) return nullptr;
  wchar_t name[64];
  HINSTANCE instance = nullptr;
  if (!RegisteredClass(name, instance)) return nullptr;
  auto window = std::make_unique<TWin32Window>(form, parentWindow);
  if (!window->Create(name, instance)) return nullptr;
  return window;
}

}  // namespace

TNativeWindowFactory Win32WindowFactory() { return &MakeWindow; }

void Win32WindowModuleUnload() {
  AcquireSRWLockExclusive(&classLock);
  if (classAtom != 0 && UnregisterClassW(className, classInstance)) {
    classAtom = 0;
    className[0] = L'\0';
  }
  ReleaseSRWLockExclusive(&classLock);
}
