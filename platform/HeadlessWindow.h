// A native window with no screen behind it: it collects paint requests until
// told to process them, keeps what the form presented as its "screen", and
// lets a test drive the pointer.
#pragma once

#include "Form.h"
#include "NativeWindow.h"

class THeadlessWindow final : public TNativeWindow {
 public:
  explicit THeadlessWindow(TForm& form);

  void InvalidateArea(const TRect& area) override;
  void Present(const TBitmap& backBuffer, const TRect& area) override;
  void CapturePointer() override { captured_ = true; }
  void ReleasePointerCapture() override { captured_ = false; }

  // What a person would see.
  const TBitmap& Screen() const { return screen_; }
  bool PaintPending() const { return !pending_.IsEmpty(); }
  const TRect& PendingArea() const { return pending_; }
  // Paints what was asked for since the last call, as a message loop would.
  void ProcessPaint();
  bool Captured() const { return captured_; }
  int32_t PresentCount() const { return presentCount_; }

  // Pointer input in client coordinates, as the system would deliver it.
  void PressPointer(int32_t x, int32_t y, TMouseButton button = TMouseButton::Left);
  void MovePointer(int32_t x, int32_t y);
  void ReleasePointer(int32_t x, int32_t y, TMouseButton button = TMouseButton::Left);
  // Press and release at one point.
  void Click(int32_t x, int32_t y);

 private:
  TForm& form_;
  TBitmap screen_;
  TRect pending_;
  TShiftState buttons_ = 0;
  bool captured_ = false;
  int32_t presentCount_ = 0;
};

// Gives the form a headless window and returns it.
THeadlessWindow& AttachHeadlessWindow(TForm& form);
