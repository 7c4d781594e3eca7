// Light random noise on a colour.
#pragma once

#include "platform/Colour.h"

// For red, then green, then blue: d := Random(n) - n div 2 from the given
// generator state; the channel takes d only if it stays within 0..255.
TColour AddNoise(TColour colour, int32_t n, uint32_t& randomState);
