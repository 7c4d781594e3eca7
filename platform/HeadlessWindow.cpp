#include "HeadlessWindow.h"

#include <memory>

THeadlessWindow::THeadlessWindow(TForm& form, void* parent) : form_(form), parent_(parent) {}

void THeadlessWindow::InvalidateArea(const TRect& area) { pending_ = pending_.Union(area); }

void THeadlessWindow::Present(const TBitmap& backBuffer, const TRect& area) {
  if (screen_.Width() != backBuffer.Width() || screen_.Height() != backBuffer.Height()) {
    screen_.SetSize(backBuffer.Width(), backBuffer.Height());
  }
  TCanvas(screen_, TPoint{0, 0}, area).Draw(0, 0, backBuffer);
  ++presentCount_;
}

void THeadlessWindow::ProcessPaint() {
  // Paints may ask for more paints (a knob placing its dot); a real message
  // loop would deliver those next, so keep going while they are new.
  for (int round = 0; round < 8 && !pending_.IsEmpty(); ++round) {
    const TRect area = pending_;
    pending_ = TRect{};
    form_.PaintArea(area);
  }
}

void THeadlessWindow::FireTimer() {
  if (timerInterval_ != 0) form_.TimerTick();
}

void THeadlessWindow::LoseCapture() {
  if (!captured_) return;
  captured_ = false;
  buttons_ = 0;
  form_.CaptureLost();
}

void THeadlessWindow::PressPointer(int32_t x, int32_t y, TMouseButton button) {
  buttons_ |= ButtonBit(button);
  form_.PointerDown(button, buttons_, x, y);
}

void THeadlessWindow::MovePointer(int32_t x, int32_t y) { form_.PointerMove(buttons_, x, y); }

void THeadlessWindow::ReleasePointer(int32_t x, int32_t y, TMouseButton button) {
  buttons_ &= ~ButtonBit(button);
  form_.PointerUp(button, buttons_, x, y);
}

void THeadlessWindow::Click(int32_t x, int32_t y) {
  PressPointer(x, y);
  ReleasePointer(x, y);
}

THeadlessWindow& AttachHeadlessWindow(TForm& form) {
  auto window = std::make_unique<THeadlessWindow>(form);
  window->SetShown(true);
  THeadlessWindow& result = *window;
  form.SetNativeWindow(std::move(window));
  return result;
}
