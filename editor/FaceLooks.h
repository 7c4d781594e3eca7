// How the face plate's surfaces and knobs look, set in one place for the edit
// form and for the artwork generator, which draws the same plate into the
// embedded pictures.
#pragma once

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "controls/RubberKnob.h"
#include "editor/FormLayout.h"

// The plate's metal: four greys, faintly brushed.
void ApplyMetalLook(TBrushedMetal& metal);

// The green panels behind the knob rows, shaded into the metal.
void ApplyPanelLook(TPaintedPanel& panel);

// A knob's scale and colours: the shared sizes and shades, and the entry's
// own tick count, highlight and legends. Pictures are the caller's.
void ApplyKnobLook(TRubberKnob& knob, const TLayoutEntry& entry);

// The form's font, also the knobs' legends': MS Sans Serif, 8 points.
TFont FormFont(int32_t height, TColour colour, bool bold);
