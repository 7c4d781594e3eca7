// The knob pictures: the bodies of the three knob families with their
// disabled twins, the shadow a body casts on the panel, the pointer dot and
// the light that plays on the cap.
#pragma once

#include <array>
#include <functional>

#include "platform/Bitmap.h"
#include "tools/artwork/Layer.h"

enum class TKnobFamily { Light, Normal, Dark };

// Body pictures are 56 by 56; the knob puts their point (26, 26) on its
// centre (a 52-pixel body: the top-left corner lies Diameter div 2 up and
// left), so the body is a disc of radius 26 about that point and the four
// pixels right and below are spare.
constexpr int32_t kBodyPictureSize = 56;
constexpr double kBodyCentre = 26.0;
constexpr double kBodyRadius = 26.0;

// Pure white: what the knob leaves out of a body picture.
constexpr TColour kBodyKey = 0xFFFFFF;

// What lies beneath body pixel (x, y) where the knob stands on the panel;
// the body's rim is blended over it.
using TBackdrop = std::function<TRgba(int32_t x, int32_t y)>;

TBitmap KnobBody(TKnobFamily family, bool disabled, const TBackdrop& backdrop);

// The soft shadow a body casts towards the lower right, to be laid on the
// panel before the knob; its top-left corner belongs at the body picture's
// corner minus kShadowMargin on both axes.
constexpr int32_t kShadowMargin = 6;
TLayer KnobShadow();

// The 6 by 6 pointer dot; its bottom-left pixel is its transparent colour.
TBitmap PointerDot();

// Four 36 by 36 frames of the glint on the cap. All four cover the same
// pixels: the knob draws a new frame over the last one without clearing, so
// a frame with fewer pixels would leave the last one's light behind.
std::array<TBitmap, 4> ShimmerFrames();
constexpr TColour kShimmerKey = 0xFFFFFF;
