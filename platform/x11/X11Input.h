// Pointer events of X in the form's terms. X reports the modifier and button
// state as it was before the event; the form expects it as it is after, so a
// press includes its own button and a release no longer does.
#pragma once

#include <xcb/xproto.h>

#include "platform/GraphicControl.h"

namespace x11input {

// Buttons 1 to 3; the wheel (4, 5) and extra buttons are not buttons here.
inline bool ButtonFromX(unsigned int button, TMouseButton& result) {
  switch (button) {
    case XCB_BUTTON_INDEX_1: result = TMouseButton::Left; return true;
    case XCB_BUTTON_INDEX_2: result = TMouseButton::Middle; return true;
    case XCB_BUTTON_INDEX_3: result = TMouseButton::Right; return true;
    default: return false;
  }
}

inline TShiftState ShiftFromX(unsigned int state) {
  TShiftState shift = 0;
  if ((state & XCB_MOD_MASK_SHIFT) != 0) shift |= ssShift;
  if ((state & XCB_MOD_MASK_CONTROL) != 0) shift |= ssCtrl;
  if ((state & XCB_MOD_MASK_1) != 0) shift |= ssAlt;
  if ((state & XCB_BUTTON_MASK_1) != 0) shift |= ssLeft;
  if ((state & XCB_BUTTON_MASK_2) != 0) shift |= ssMiddle;
  if ((state & XCB_BUTTON_MASK_3) != 0) shift |= ssRight;
  return shift;
}

inline TShiftState ShiftAtPress(unsigned int state, TMouseButton button) {
  return ShiftFromX(state) | ButtonBit(button);
}
inline TShiftState ShiftAtRelease(unsigned int state, TMouseButton button) {
  return ShiftFromX(state) & ~ButtonBit(button);
}

}  // namespace x11input
