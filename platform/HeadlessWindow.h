// A native window with no screen behind it: it collects paint requests until
// told to process them, keeps what the form presented as its "screen", lets a
// test drive the pointer and runs the timer when asked to.
#pragma once

#include "platform/Form.h"
#include "platform/NativeWindow.h"

class THeadlessWindow final : public TNativeWindow {
 public:
  // The parent is only remembered: any non-null value stands for a host window.
  explicit THeadlessWindow(TForm& form, void* parent = nullptr);

  void InvalidateArea(const TRect& area) override;
  void Present(const TBitmap& backBuffer, const TRect& area) override;
  void CapturePointer() override { captured_ = true; }
  void ReleasePointerCapture() override { captured_ = false; }
  void SetShown(bool shown) override { shown_ = shown; }
  void BringToFront() override { ++frontCount_; }
  void* ParentHandle() const override { return parent_; }
  void StartTimer(uint32_t intervalMs) override { timerInterval_ = intervalMs; }
  void StopTimer() override { timerInterval_ = 0; }

  bool Shown() const { return shown_; }
  int32_t FrontCount() const { return frontCount_; }
  // 0 while no timer runs.
  uint32_t TimerInterval() const { return timerInterval_; }
  // One tick of the running timer, as the message loop would deliver it.
  void FireTimer();
  // The system takes the pointer capture away (another window grabbed it).
  void LoseCapture();

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
  void* parent_ = nullptr;
  bool shown_ = false;
  int32_t frontCount_ = 0;
  uint32_t timerInterval_ = 0;
  TBitmap screen_;
  TRect pending_;
  TShiftState buttons_ = 0;
  bool captured_ = false;
  int32_t presentCount_ = 0;
};

// Gives the form a headless window, shown, and returns it.
THeadlessWindow& AttachHeadlessWindow(TForm& form);
