#include "X11Screen.h"

#include "X11Errors.h"

#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Densities outside this range are a broken setting, not a screen.
constexpr double kLowest = 24.0;
constexpr double kHighest = 1200.0;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

int32_t Sensible(double dpi) {
  if (!(dpi >= kLowest && dpi <= kHighest)) return 0;
  return static_cast<int32_t>(std::lround(dpi));
}

}  // namespace

int32_t XftDpiFromResources(std::string_view resources) {
  int32_t found = 0;
  while (!resources.empty()) {
    const size_t end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    resources = end == std::string_view::npos ? std::string_view{} : resources.substr(end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi") continue;
    const std::string value(Trim(line.substr(colon + 1)));
    if (value.empty()) continue;
    char* rest = nullptr;
    const double dpi = std::strtod(value.c_str(), &rest);
    // The last setting wins, as in the resource database.
    found = Trim(std::string_view(rest)).empty() ? Sensible(dpi) : 0;
  }
  return found;
}

int32_t PixelsPerInchFromSize(int32_t heightPixels, int32_t heightMillimetres) {
  if (heightPixels <= 0 || heightMillimetres <= 0) return 0;
  return Sensible(heightPixels * 25.4 / heightMillimetres);
}

int32_t X11PixelsPerInch(Display* display) {
  if (display == nullptr) return 0;
  if (const char* resources = XResourceManagerString(display)) {
    const int32_t dpi = XftDpiFromResources(resources);
    if (dpi > 0) return dpi;
  }
  const int screen = DefaultScreen(display);
  return PixelsPerInchFromSize(DisplayHeight(display, screen), DisplayHeightMM(display, screen));
}

int32_t X11ScreenPixelsPerInch() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 0;
  x11errors::Register(display);
  const int32_t dpi = X11PixelsPerInch(display);
  {
    // Closing waits for the server, which may have gone meanwhile.
    const x11errors::TScope scope;
    XCloseDisplay(display);
  }
  x11errors::Unregister(display);
  return dpi;
}
