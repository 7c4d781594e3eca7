#include "WinTestHost.h"

#include <cstring>

namespace wintest {

namespace {

const wchar_t kHostClass[] = L"OndrelTestHost";

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = &HostProcedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    description.lpszClassName = kHostClass;
    return RegisterClassExW(&description) != 0;
  }();
  (void)registered;
}

// A 32-bit top-down DIB section selected into a memory DC.
class TDibTarget {
 public:
  TDibTarget(int32_t width, int32_t height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~TDibTarget() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TDibTarget(const TDibTarget&) = delete;
  TDibTarget& operator=(const TDibTarget&) = delete;

  HDC Dc() const { return dc_; }
  TPicture Picture() const {
    GdiFlush();
    TPicture picture;
    picture.Width = width_;
    picture.Height = height_;
    picture.Pixels.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    if (bits_ != nullptr) std::memcpy(picture.Pixels.data(), bits_, picture.Pixels.size() * 4);
    for (uint32_t& pixel : picture.Pixels) pixel &= 0xFFFFFF;
    return picture;
  }

 private:
  int32_t width_;
  int32_t height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return SIZE{rect.right, rect.bottom};
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

THostWindow::THostWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  RegisterHostClass();
  // Clipping its children as hosts do: the plug-in's pixels are its own.
  handle_ = CreateWindowExW(0, kHostClass, L"Ondrel test host", WS_POPUP | WS_CLIPCHILDREN, left, top, width, height,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(handle_, SW_SHOW);
  UpdateWindow(handle_);
  PumpMessages();
}

THostWindow::~THostWindow() { Destroy(); }

void THostWindow::Destroy() {
  if (handle_ != nullptr) DestroyWindow(handle_);
  handle_ = nullptr;
  PumpMessages();
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void PumpFor(uint32_t ms) {
  PumpUntil([] { return false; }, ms);
}

TPicture TPicture::Part(int32_t left, int32_t top, int32_t width, int32_t height) const {
  TPicture part;
  part.Width = width;
  part.Height = height;
  for (int32_t y = top; y < top + height; ++y) {
    for (int32_t x = left; x < left + width; ++x) part.Pixels.push_back(At(x, y));
  }
  return part;
}

TPicture CaptureOnScreen(HWND window) {
  const SIZE size = ClientSize(window);
  TDibTarget target(size.cx, size.cy);
  HDC source = GetDC(window);
  BitBlt(target.Dc(), 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
  ReleaseDC(window, source);
  return target.Picture();
}

TPicture CaptureByPrinting(HWND window) {
  const SIZE size = ClientSize(window);
  TDibTarget target(size.cx, size.cy);
  PrintWindow(window, target.Dc(), PW_CLIENTONLY);
  return target.Picture();
}

void PointerMoveTo(HWND window, int32_t x, int32_t y) {
  POINT wanted{x, y};
  ClientToScreen(window, &wanted);
  const int64_t width = GetSystemMetrics(SM_CXSCREEN);
  const int64_t height = GetSystemMetrics(SM_CYSCREEN);
  // Absolute input is in 65536ths of the screen. Aiming at the pixel's middle
  // lands on it whether the system rounds or truncates; check, and step by
  // whole pixels if it still missed.
  auto aim = [](int64_t pixel, int64_t extent) { return static_cast<LONG>(((2 * pixel + 1) * 65536) / (2 * extent)); };
  int32_t aimX = wanted.x, aimY = wanted.y;
  for (int attempt = 0; attempt < 4; ++attempt) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, aim(aimX, width), aim(aimY, height));
    POINT at{};
    GetCursorPos(&at);
    if (at.x == wanted.x && at.y == wanted.y) break;
    aimX += wanted.x - at.x;
    aimY += wanted.y - at.y;
  }
  PumpMessages();
}

void PointerPress(HWND window, int32_t x, int32_t y) {
  PointerMoveTo(window, x, y);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  PumpMessages();
}

void PointerRelease(HWND window, int32_t x, int32_t y) {
  PointerMoveTo(window, x, y);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpMessages();
}

void PointerClick(HWND window, int32_t x, int32_t y) {
  PointerPress(window, x, y);
  PointerRelease(window, x, y);
}

}  // namespace wintest
