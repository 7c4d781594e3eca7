#include "RubberLEDButton.h"

#include "controls/DesignFrame.h"

TRubberLEDButton::TRubberLEDButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(Left(), Top(), 40, 40); }

void TRubberLEDButton::Reference(TImage*& field, TImage* image) {
  field = image;
  if (image != nullptr) FreeNotification(image);
}

void TRubberLEDButton::Notification(TComponent* component) {
  bool changed = false;
  for (TImage** field : {&upOff_, &downOff_, &upOn_, &downOn_, &disabledOff_, &disabledOn_}) {
    if (*field == component) {
      *field = nullptr;
      changed = true;
    }
  }
  if (changed) Invalidate();
}

void TRubberLEDButton::SetUpOff(TImage* image) {
  Reference(upOff_, image);
  Invalidate();
}

void TRubberLEDButton::SetDownOff(TImage* image) {
  Reference(downOff_, image);
  Invalidate();
}

void TRubberLEDButton::SetUpOn(TImage* image) {
  Reference(upOn_, image);
  Invalidate();
}

void TRubberLEDButton::SetDownOn(TImage* image) {
  Reference(downOn_, image);
  Invalidate();
}

void TRubberLEDButton::SetButtonState(TRubberLEDButtonState state) {
  buttonState_ = state;
  ledOn_ = state == rlbUpOn || state == rlbDownOn;
  Repaint();
}

const TImage* TRubberLEDButton::ImageForState() const {
  switch (buttonState_) {
    case rlbUpOff: return !Enabled() && disabledOff_ != nullptr ? disabledOff_ : upOff_;
    case rlbDownOff: return downOff_;
    case rlbUpOn: return !Enabled() && disabledOn_ != nullptr ? disabledOn_ : upOn_;
    case rlbDownOn: return downOn_;
  }
  return nullptr;
}

void TRubberLEDButton::Paint(TCanvas& canvas) {
  if (const TImage* image = ImageForState()) image->DrawPicture(canvas, 0, 0);
  if (Designing()) DrawDesignFrame(canvas, Width(), Height());
}

void TRubberLEDButton::ToggleLight() {
  ledOn_ = !ledOn_;
  if (OnLEDChange) OnLEDChange(this);
}

void TRubberLEDButton::MouseDown(TMouseButton, TShiftState, int32_t, int32_t) {
  if (quickChange_) ToggleLight();
  SetButtonState(ledOn_ ? rlbDownOn : rlbDownOff);
}

void TRubberLEDButton::MouseUp(TMouseButton, TShiftState, int32_t, int32_t) {
  if (!quickChange_) ToggleLight();
  SetButtonState(ledOn_ ? rlbUpOn : rlbUpOff);
  if (OnChange) OnChange(this);
}

void TRubberLEDButton::EnabledChanged() { Repaint(); }
