// A host may leave floating-point traps unmasked when the window system
// calls in. Degenerate knob geometry (NaN, infinities) must then give odd
// pictures, never a trap: the knob and the form mask traps at every entry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/RubberKnob.h"
#include "core/FloatGuard.h"
#include "tests/support/ControlsTestSupport.h"
#include "tests/support/HostileFloat.h"

namespace {

#ifdef ONDREL_TRAPS_OBSERVABLE
TEST(KnobTraps, DegenerateGeometryPaintsAndTurnsWithTrapsUnmasked) {
  TTestForm test(200, 200);
  UnmaskEverything();
  auto* knob = new TRubberKnob(&test.form);
  knob->SetParent(&test.form);
  knob->SetDotImage(MakeImage(test.form, DotBitmap(6, 0x0000FF), true));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float wedge : {nan, inf, -inf, 1e30f}) {
    // Properties come from the form, whose own entries mask traps; the
    // window system's entries are what the host's control word reaches.
    FloatGuard::Apply();
    knob->SetWedge(wedge);
    knob->SetAngleOffset(-wedge);
    knob->SetValue(nan);
    UnmaskEverything();
    test.window->ProcessPaint();
    UnmaskEverything();
    test.window->PressPointer(knob->Left() + 80, knob->Top() + 10);
    UnmaskEverything();
    test.window->MovePointer(knob->Left() + 10, knob->Top() + 90);
    UnmaskEverything();
    test.window->ReleasePointer(knob->Left() + 10, knob->Top() + 90);
  }
  FloatGuard::Apply();
  SUCCEED() << "no trap left the knob";
}
#endif

}  // namespace
