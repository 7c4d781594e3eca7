#include "Screen.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
int32_t overridden = 0;

int32_t PlatformPixelsPerInch() {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
#else
  return 96;
#endif
}
}  // namespace

int32_t ScreenPixelsPerInch() { return overridden > 0 ? overridden : PlatformPixelsPerInch(); }

void OverrideScreenPixelsPerInch(int32_t pixelsPerInch) { overridden = pixelsPerInch > 0 ? pixelsPerInch : 0; }
