// Facts about the screen that come from the platform.
#pragma once

#include <cstdint>

// The screen's pixels per inch (96 where the platform has no notion of it).
int32_t ScreenPixelsPerInch();
// Replaces the platform's answer; 0 goes back to it. For tests of layouts
// that follow the screen density.
void OverrideScreenPixelsPerInch(int32_t pixelsPerInch);
// Where the screen density comes from on systems whose window system is a
// separate back end (X11): a function answering the pixels per inch, or 0 when
// it cannot tell. Null goes back to 96.
using TPixelsPerInchSource = int32_t (*)();
void SetPixelsPerInchSource(TPixelsPerInchSource source);
