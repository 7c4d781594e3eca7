// The product's logo: a round badge with two voices of one wave, the
// chorus, beside the name in raised silver letters.
#pragma once

#include "tools/artwork/Layer.h"

constexpr int32_t kLogoWidth = 155;
constexpr int32_t kLogoHeight = 39;
// The logo is a transparent picture; its bottom-left pixel, which the logo
// leaves empty, carries this colour.
constexpr TColour kLogoKey = 0xFF00FF;

TLayer LogoLayer();
