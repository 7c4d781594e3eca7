// The outline a control shows while it is edited in a form designer.
#pragma once

#include "platform/Canvas.h"

// A dotted black one-pixel outline along the control's edges.
void DrawDesignFrame(TCanvas& canvas, int32_t width, int32_t height);
