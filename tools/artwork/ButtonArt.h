// The LED push buttons: a light rubber cap with a red LED, raised or pressed,
// unlit or lit, standing in a dark hole in the panel.
#pragma once

#include "platform/Bitmap.h"

constexpr int32_t kButtonWidth = 38;
constexpr int32_t kButtonHeight = 45;

// The floor of the holes the buttons stand in. Button pictures are opaque
// and show this colour round the cap, and the face plate's holes have the
// same floor, so a picture sits in its hole without a seam.
constexpr TColour kHoleFloor = 0x1D1B1B;

// variant 0 .. 3 gives slightly different renderings of one button, as no
// two moulded caps look quite alike.
TBitmap ButtonPicture(bool pressed, bool lit, int variant = 0);
