// The X server's screen density, as desktop programs read it: the Xft.dpi
// resource when the session sets one (desktops put their scaling there),
// otherwise the height of the default screen in pixels over its height in
// millimetres.
#pragma once

#include <cstdint>
#include <string_view>

struct xcb_connection_t;
struct xcb_screen_t;

// The Xft.dpi value of a resource-manager string ("name:\tvalue" lines),
// rounded; 0 when it is missing or not a sensible density.
int32_t XftDpiFromResources(std::string_view resources);
// From the screen's size; 0 when the server reports no physical size.
int32_t PixelsPerInchFromSize(int32_t heightPixels, int32_t heightMillimetres);
// Both rules against an open connection: the resources of the first
// screen's root window (where the session keeps them), the size of `screen`;
// 0 when neither tells.
int32_t X11PixelsPerInch(xcb_connection_t* connection, const xcb_screen_t* screen);
// Opens a short connection to $DISPLAY to ask; 0 without a server.
int32_t X11ScreenPixelsPerInch();
