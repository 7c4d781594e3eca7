// The knob's scale: where a value lies on the dial and which value a pointer
// position means. Angles are in turns, counter-clockwise from 3 o'clock, with
// screen y growing downwards.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"

struct TDialPoint {
  TPoint Point;
  int32_t Degrees = 0;  // whole degrees, may be negative
};

// The point at radius for position index of count steps; index count - 1 is
// the end of the scale (lower right), index 0 its start (lower left). The
// open wedge is centred on straight down, turned by offset. Stretch widens x
// by 3 % (for labels). A count of 1 places everything at the start of the
// scale rather than dividing by zero.
TDialPoint DialPoint(int32_t centreX, int32_t centreY, float index, int32_t count, float offset, float wedge,
                     float radius, bool stretch);

struct TDialPointer {
  int32_t CentreX = 0;
  int32_t CentreY = 0;
  float AngleOffset = 0.0f;
  float Wedge = 0.0f;
  bool Quantise = false;
  int32_t Ticks = 0;
};

// The value the knob points at with the pointer at (x, y): 0 at the start of
// the scale, 1 at its end; a pointer in the open wedge gives the nearer end.
// With Quantise and more than one tick the value snaps to a tick. Where no
// value follows (pointer on the centre, degenerate wedge) the current value
// stays.
float PointerToValue(const TDialPointer& dial, int32_t x, int32_t y, float current);
