#include "X11Screen.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include "platform/x11/X11Connection.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Densities outside this range are a broken setting, not a screen.
constexpr double kLowest = 24.0;
constexpr double kHighest = 1200.0;
// Resources read at most, in 32-bit units: far more than any session sets.
constexpr uint32_t kLongest = 1 << 18;

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

int32_t X11PixelsPerInch(xcb_connection_t* connection, const xcb_screen_t* screen) {
  if (connection == nullptr || screen == nullptr) return 0;
  const xcb_screen_iterator_t first = xcb_setup_roots_iterator(xcb_get_setup(connection));
  if (first.rem > 0) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, first.data->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, kLongest);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    int32_t dpi = 0;
    if (reply != nullptr && reply->format == 8) {
      const auto* text = static_cast<const char*>(xcb_get_property_value(reply));
      dpi = XftDpiFromResources(std::string_view(text, static_cast<size_t>(xcb_get_property_value_length(reply))));
    }
    std::free(reply);
    if (dpi > 0) return dpi;
  }
  return PixelsPerInchFromSize(screen->height_in_pixels, screen->height_in_millimeters);
}

int32_t X11ScreenPixelsPerInch() {
  const TX11Connection connection;
  if (connection.Broken()) return 0;
  return X11PixelsPerInch(connection.Get(), connection.DefaultScreen());
}
