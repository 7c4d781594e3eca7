#include "Form.h"

#include <algorithm>

#include "core/FloatGuard.h"

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm() {
  MarkDestroying();
  // The components go first: while they are torn down they still reach this
  // form's control list.
  DestroyComponents();
  for (TGraphicControl* control : std::vector<TGraphicControl*>(controls_)) control->SetParent(nullptr);
  window_.reset();
}

void TForm::SetPosition(int32_t left, int32_t top) {
  left_ = ClampCoordinate(left);
  top_ = ClampCoordinate(top);
}

void TForm::SetClientSize(int32_t width, int32_t height) {
  backBuffer_.SetSize(width, height);
  InvalidateAll();
}

void TForm::SetColour(TColour colour) {
  colour_ = colour;
  InvalidateAll();
}

void TForm::SetFont(const TFont& font) {
  font_ = font;
  for (TGraphicControl* control : std::vector<TGraphicControl*>(controls_)) control->ParentFontChanged(font_);
}

void TForm::SetNativeWindow(std::unique_ptr<TNativeWindow> window) {
  CaptureLost();
  window_ = std::move(window);
  if (window_ == nullptr) return;
  window_->SetShown(shown_);
  StartWindowTimer();
  InvalidateAll();
}

bool TForm::AttachTo(void* parent) {
  if (parent == nullptr) return false;
  if (window_ != nullptr && window_->ParentHandle() == parent) return true;
  std::unique_ptr<TNativeWindow> window = NativeWindowFactory()(*this, parent);
  if (window == nullptr) return false;
  // The old window goes before the new one is shown: a press in progress
  // ends in the old one.
  SetNativeWindow(nullptr);
  SetNativeWindow(std::move(window));
  return true;
}

void TForm::Detach() {
  Hide();
  SetNativeWindow(nullptr);
}

void TForm::Show() {
  shown_ = true;
  if (window_ != nullptr) window_->SetShown(true);
}

void TForm::Hide() {
  // A press in progress ends where the pointer was, and the window lets go
  // of the pointer: a capture kept by a hidden window would swallow it.
  const bool pressing = capture_ != nullptr;
  CaptureLost();
  if (pressing && window_ != nullptr) window_->ReleasePointerCapture();
  shown_ = false;
  if (window_ != nullptr) window_->SetShown(false);
}

void TForm::BringToFront() {
  if (window_ != nullptr) window_->BringToFront();
}

void TForm::SetTimer(uint32_t intervalMs, std::function<void()> tick) {
  timerInterval_ = intervalMs;
  timerTick_ = std::move(tick);
  StartWindowTimer();
}

void TForm::KillTimer() {
  timerInterval_ = 0;
  timerTick_ = nullptr;
  if (window_ != nullptr) window_->StopTimer();
}

void TForm::StartWindowTimer() {
  if (window_ != nullptr && timerInterval_ != 0 && timerTick_) window_->StartTimer(timerInterval_);
}

void TForm::TimerTick() {
  FloatGuard::Apply();
  if (timerTick_ && !Destroying()) timerTick_();
}

void TForm::Invalidate(const TRect& area) {
  const TRect clipped = area.Intersect(ClientRect());
  if (window_ != nullptr && !clipped.IsEmpty() && !Destroying()) window_->InvalidateArea(clipped);
}

void TForm::PaintArea(const TRect& area) {
  FloatGuard::Apply();
  const TRect clipped = area.Intersect(ClientRect());
  if (clipped.IsEmpty() || Destroying()) return;
  if (painting_) {
    // A control asked for a paint from inside a paint: do it afterwards.
    Invalidate(clipped);
    return;
  }
  painting_ = true;
  paintedArea_ = clipped;
  backBuffer_.FillRect(clipped, colour_);
  // A control may change the list while painting (a knob moves its dot).
  const std::vector<TGraphicControl*> controls = controls_;
  for (TGraphicControl* control : controls) {
    if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) continue;
    if (!control->Visible()) continue;
    const TRect bounds = control->BoundsRect();
    const TRect clip = bounds.Intersect(clipped);
    if (clip.IsEmpty()) continue;
    TCanvas canvas(backBuffer_, TPoint{bounds.Left, bounds.Top}, clip);
    control->Paint(canvas);
  }
  painting_ = false;
  if (window_ != nullptr) window_->Present(backBuffer_, paintedArea_);
}

void TForm::RepaintArea(const TRect& area) {
  if (window_ != nullptr) PaintArea(area);
}

void TForm::DrawOnControlSurface(TGraphicControl& control, const std::function<void(TCanvas&)>& draw) {
  if (window_ == nullptr || Destroying()) return;
  const TRect bounds = control.BoundsRect();
  const TRect clip = bounds.Intersect(ClientRect());
  if (clip.IsEmpty()) return;
  TCanvas canvas(backBuffer_, TPoint{bounds.Left, bounds.Top}, clip);
  draw(canvas);
  if (painting_) {
    paintedArea_ = paintedArea_.Union(clip);
  } else {
    window_->Present(backBuffer_, clip);
  }
}

TGraphicControl* TForm::ControlAt(int32_t x, int32_t y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TGraphicControl* control = *it;
    if (control->Visible() && control->Enabled() && control->BoundsRect().Contains(x, y)) return control;
  }
  return nullptr;
}

TGraphicControl* TForm::PointerTarget(int32_t x, int32_t y) const {
  return capture_ != nullptr ? capture_ : ControlAt(x, y);
}

void TForm::PointerDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  FloatGuard::Apply();
  lastPointer_ = TPoint{x, y};
  lastShift_ = shift;
  TGraphicControl* target = PointerTarget(x, y);
  if (target == nullptr) return;
  if (button == TMouseButton::Left && capture_ == nullptr) {
    capture_ = target;
    if (window_ != nullptr) window_->CapturePointer();
  }
  target->MouseDown(button, shift, x - target->Left(), y - target->Top());
}

void TForm::PointerMove(TShiftState shift, int32_t x, int32_t y) {
  FloatGuard::Apply();
  lastPointer_ = TPoint{x, y};
  lastShift_ = shift;
  TGraphicControl* target = PointerTarget(x, y);
  if (target != nullptr) target->MouseMove(shift, x - target->Left(), y - target->Top());
}

void TForm::PointerUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  FloatGuard::Apply();
  lastPointer_ = TPoint{x, y};
  lastShift_ = shift;
  TGraphicControl* target = PointerTarget(x, y);
  if (button == TMouseButton::Left) ReleaseCapture();
  if (target != nullptr) target->MouseUp(button, shift, x - target->Left(), y - target->Top());
}

void TForm::CaptureLost() {
  FloatGuard::Apply();
  TGraphicControl* target = capture_;
  if (target == nullptr) return;
  // The window no longer holds the capture: release it here without asking
  // the window again.
  capture_ = nullptr;
  const TShiftState shift = lastShift_ & ~ssLeft;
  target->MouseUp(TMouseButton::Left, shift, lastPointer_.X - target->Left(), lastPointer_.Y - target->Top());
}

void TForm::ReleaseCapture() {
  if (capture_ == nullptr) return;
  capture_ = nullptr;
  if (window_ != nullptr) window_->ReleasePointerCapture();
}

void TForm::InsertControl(TGraphicControl* control) {
  controls_.push_back(control);
  if (control->Visible()) Invalidate(control->BoundsRect());
}

void TForm::RemoveControl(TGraphicControl* control) {
  if (control == capture_) ReleaseCapture();
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  if (found == controls_.end()) return;
  controls_.erase(found);
  if (control->Visible()) Invalidate(control->BoundsRect());
}

void TForm::ControlHidden(TGraphicControl* control) {
  if (control == capture_) ReleaseCapture();
}
