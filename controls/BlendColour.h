// Mixing two colours channel by channel.
#pragma once

#include "platform/Colour.h"

// Each 8-bit channel moves from c1's toward c2's by the fraction
// (position - low) / (high - low), truncated toward zero; the fraction is 0
// when high equals low. A position outside low..high would leave the byte
// range; the channel is then held at 0 or 255.
TColour BlendColour(TColour c1, TColour c2, double position, double high, double low);
