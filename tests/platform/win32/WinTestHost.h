// What a Windows host does around a plug-in's window, for the tests: its own
// top-level window, a message loop, real pointer input through the system's
// input queue, and pictures of what a window shows. Uses nothing of the
// plug-in's code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace wintest {

// A shown top-level window of the host at a screen position, with a client
// area of the given size; destroyed with the object.
class THostWindow {
 public:
  THostWindow(int32_t left, int32_t top, int32_t width, int32_t height);
  ~THostWindow();
  THostWindow(const THostWindow&) = delete;
  THostWindow& operator=(const THostWindow&) = delete;

  HWND Handle() const { return handle_; }
  // Destroys the window now (the plug-in's child window goes with it).
  void Destroy();

 private:
  HWND handle_ = nullptr;
};

// The child windows of a window, top of the z-order first.
std::vector<HWND> ChildWindows(HWND parent);

// Handles every waiting message.
void PumpMessages();
// Pumps until `done` holds or the time is up; true if it held.
bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs = 3000);
// Pumps for the given time.
void PumpFor(uint32_t ms);

// A picture of a window's client area, pixels 0x00RRGGBB, rows top down.
struct TPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int32_t x, int32_t y) const {
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  // The picture's part at left, top of the given size.
  TPicture Part(int32_t left, int32_t top, int32_t width, int32_t height) const;
  friend bool operator==(const TPicture& a, const TPicture& b) {
    return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
  }
  friend bool operator!=(const TPicture& a, const TPicture& b) { return !(a == b); }
};
// What the window shows: copied from its display context.
TPicture CaptureOnScreen(HWND window);
// What the window paints when asked to print itself (PrintWindow).
TPicture CaptureByPrinting(HWND window);

// Real pointer input through the system's queue (SendInput), at client
// coordinates of a window (which may lie outside it). The position is exact:
// the cursor is checked after every move.
void PointerMoveTo(HWND window, int32_t x, int32_t y);
void PointerPress(HWND window, int32_t x, int32_t y);
void PointerRelease(HWND window, int32_t x, int32_t y);
void PointerClick(HWND window, int32_t x, int32_t y);

}  // namespace wintest
