#include "Screen.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
int32_t overridden = 0;
std::atomic<TPixelsPerInchSource> source{nullptr};

int32_t PlatformPixelsPerInch() {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
#else
  // The platform layer knows no window system here; the back end that does
  // installs a source when the module starts.
  const TPixelsPerInchSource ask = source.load(std::memory_order_acquire);
  const int32_t dpi = ask != nullptr ? ask() : 0;
  return dpi > 0 ? dpi : 96;
#endif
}
}  // namespace

int32_t ScreenPixelsPerInch() { return overridden > 0 ? overridden : PlatformPixelsPerInch(); }

void OverrideScreenPixelsPerInch(int32_t pixelsPerInch) { overridden = pixelsPerInch > 0 ? pixelsPerInch : 0; }

void SetPixelsPerInchSource(TPixelsPerInchSource pixelsPerInchSource) {
  source.store(pixelsPerInchSource, std::memory_order_release);
}
