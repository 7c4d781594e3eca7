// What a form needs of a real window: somewhere to show its finished pixels,
// a way to ask for a paint later, and pointer capture. The window in turn
// feeds the form its paint requests and pointer input (see TForm).
#pragma once

#include "Bitmap.h"
#include "Geometry.h"

class TNativeWindow {
 public:
  virtual ~TNativeWindow() = default;
  // The area needs painting; the window calls TForm::PaintArea for it later.
  virtual void InvalidateArea(const TRect& area) = 0;
  // The form finished the area of its back buffer; show it.
  virtual void Present(const TBitmap& backBuffer, const TRect& area) = 0;
  // Pointer input goes to this window until released, wherever the pointer is.
  virtual void CapturePointer() = 0;
  virtual void ReleasePointerCapture() = 0;
};
