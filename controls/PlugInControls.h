// The control library: everything a plug-in form needs from it.
#pragma once

#include "AddNoise.h"
#include "BlendColour.h"
#include "BrushedMetal.h"
#include "DesignFrame.h"
#include "DialGeometry.h"
#include "PaintedPanel.h"
#include "Random.h"
#include "RubberKnob.h"
#include "RubberLEDButton.h"
