#include "GraphicControl.h"

#include "platform/Form.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TComponent(owner) {}

TGraphicControl::~TGraphicControl() {
  MarkDestroying();
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TGraphicControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  const TRect before = BoundsRect();
  left_ = ClampCoordinate(left);
  top_ = ClampCoordinate(top);
  width_ = ClampExtent(width);
  height_ = ClampExtent(height);
  const TRect after = BoundsRect();
  if (parent_ != nullptr && visible_ && before != after) {
    parent_->Invalidate(before);
    parent_->Invalidate(after);
  }
}

void TGraphicControl::SetParent(TForm* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ == nullptr) return;
  parent_->InsertControl(this);
  if (parentFont_) font_ = parent_->Font();
}

void TGraphicControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TGraphicControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (parent_ != nullptr) {
    if (!visible_) parent_->ControlHidden(this);
    parent_->Invalidate(BoundsRect());
  }
}

void TGraphicControl::SetFont(const TFont& font) {
  parentFont_ = false;
  font_ = font;
  FontChanged();
}

void TGraphicControl::SetParentFont(bool parentFont) {
  parentFont_ = parentFont;
  if (parentFont_ && parent_ != nullptr && font_ != parent_->Font()) {
    font_ = parent_->Font();
    FontChanged();
  }
}

void TGraphicControl::ParentFontChanged(const TFont& font) {
  if (!parentFont_) return;
  font_ = font;
  FontChanged();
}

void TGraphicControl::Invalidate() {
  if (parent_ != nullptr && visible_) parent_->Invalidate(BoundsRect());
}

void TGraphicControl::Repaint() {
  if (parent_ != nullptr && visible_) parent_->RepaintArea(BoundsRect());
}

void TGraphicControl::DrawOnSurface(const std::function<void(TCanvas&)>& draw) {
  if (parent_ != nullptr && visible_) parent_->DrawOnControlSurface(*this, draw);
}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button == TMouseButton::Left) pressed_ = true;
}

void TGraphicControl::MouseMove(TShiftState, int32_t, int32_t) {}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != TMouseButton::Left) return;
  const bool clicked = pressed_ && x >= 0 && y >= 0 && x < width_ && y < height_;
  pressed_ = false;
  if (clicked) Click();
}

void TGraphicControl::EnabledChanged() { Invalidate(); }

void TGraphicControl::FontChanged() { Invalidate(); }

void TGraphicControl::Click() {
  if (OnClick) OnClick(this);
}
