// The pseudo-random generator of the control library. Every form has a state
// of its own (TForm::RandomState), 0 when the form is made and never
// reseeded, so a form's pictures follow from the order in which its controls
// draw, whatever other forms on other threads draw meanwhile.
#pragma once

#include <cstdint>

class TGraphicControl;

// state := state * 134775813 + 1 (mod 2^32); the result is the high 32 bits
// of state * n, a number in 0 .. n - 1. For n <= 0 the state still advances
// and the result is 0.
int32_t Random(uint32_t& state, int32_t n);

// The state a control draws from: its form's. A control on no form draws
// from a state its thread keeps, so that no two threads ever share one.
uint32_t& RandomStateOf(const TGraphicControl& control);
