#include "RubberKnob.h"

#include <cmath>
#include <cstring>

#include "controls/Random.h"
#include "core/FloatGuard.h"
#include "core/Rounding.h"
#include "platform/Form.h"

TRubberKnob::TRubberKnob(TComponent* owner) : TGraphicControl(owner) {
  // The knob's geometry may be degenerate (NaN, infinities): that must give
  // odd pictures, never a trap, whatever the host left in the control word.
  FloatGuard::Apply();
  dotControl_ = new TImage(this);
  dotControl_->SetBounds(0, 0, 0, 0);
  dotControl_->SetVisible(false);
  // Disabled, so that presses on the dot reach the knob underneath.
  dotControl_->SetEnabled(false);
  SetBounds(Left(), Top(), 100, 100);
  labels_ = std::make_unique<TStringList>();
  for (int i = 0; i <= 10; ++i) labels_->Add(std::to_string(i));
  AttachLabels();
  constructed_ = true;
}

TRubberKnob::~TRubberKnob() {
  constructed_ = false;
  MarkDestroying();
  if (labels_ != nullptr) labels_->OnChange = nullptr;
  labels_.reset();
  // The dot goes with the other owned components.
  dotControl_ = nullptr;
}

void TRubberKnob::RequestRebuild() {
  if (Loading() || Destroying()) return;
  imageValid_ = false;
  Invalidate();
}

void TRubberKnob::LabelsChanged() {
  if (constructed_) RequestRebuild();
}

void TRubberKnob::AttachLabels() {
  labels_->OnChange = [this] { LabelsChanged(); };
}

void TRubberKnob::Reference(TImage*& field, TImage* image) {
  field = image;
  if (image != nullptr) FreeNotification(image);
}

void TRubberKnob::Notification(TComponent* component) {
  if (component == dotControl_) {
    dotControl_ = nullptr;
    return;
  }
  bool changed = false;
  for (TImage** field : {&mainImage_, &disabledImage_, &dotImage_}) {
    if (*field == component) {
      *field = nullptr;
      changed = true;
    }
  }
  for (TImage*& shimmer : shimmers_) {
    if (shimmer == component) {
      shimmer = nullptr;
      shimmerCount_ = 0;
      changed = true;
    }
  }
  if (!changed) return;
  ShowDot();
  RequestRebuild();
}

void TRubberKnob::SetMainImage(TImage* image) {
  Reference(mainImage_, image);
  RequestRebuild();
}

void TRubberKnob::SetDisabledImage(TImage* image) {
  Reference(disabledImage_, image);
  if (!Enabled()) RequestRebuild();
}

TImage* TRubberKnob::Shimmer(int32_t number) const {
  if (number < 1 || number > 4) return nullptr;
  return shimmers_[static_cast<size_t>(number - 1)];
}

void TRubberKnob::SetShimmer(int32_t number, TImage* image) {
  if (number < 1 || number > 4) return;
  Reference(shimmers_[static_cast<size_t>(number - 1)], image);
  // The list is rebuilt with the picture; until then it may name a stale image.
  shimmerCount_ = 0;
  RequestRebuild();
}

void TRubberKnob::SetDotImage(TImage* image) {
  Reference(dotImage_, image);
  if (dotControl_ != nullptr) {
    if (image != nullptr) {
      dotControl_->SetBounds(dotControl_->Left(), dotControl_->Top(), image->Width(), image->Height());
      dotControl_->SetPicture(image->Picture());
    }
    ShowDot();
    dotControl_->SetTransparent(true);
  }
  SetValue(0.0f);
}

// The dot belongs to the knob's picture: it shows while the knob does.
void TRubberKnob::ShowDot() {
  if (dotControl_ != nullptr) dotControl_->SetVisible(dotImage_ != nullptr && Visible());
}

void TRubberKnob::SetDiameter(int32_t diameter) {
  diameter_ = diameter;
  RequestRebuild();
}

void TRubberKnob::SetTicks(int32_t ticks) {
  ticks_ = ticks;
  RequestRebuild();
}

void TRubberKnob::SetLabels(const TStringList* labels) {
  if (labels != nullptr) {
    if (labels_ == nullptr) labels_ = std::make_unique<TStringList>();
    labels_->OnChange = nullptr;
    labels_->Assign(*labels);
    AttachLabels();
  } else {
    labels_.reset();
  }
  RequestRebuild();
}

void TRubberKnob::SetShowTicks(std::string showTicks) {
  showTicks_ = std::move(showTicks);
  RequestRebuild();
}

void TRubberKnob::SetWedge(float wedge) {
  wedge_ = wedge;
  RequestRebuild();
}

void TRubberKnob::SetAngleOffset(float angleOffset) {
  angleOffset_ = angleOffset;
  RequestRebuild();
}

void TRubberKnob::SetTextRadius(int32_t radius) {
  textRadius_ = radius;
  RequestRebuild();
}

void TRubberKnob::SetTickRadius(int32_t radius) {
  tickRadius_ = radius;
  RequestRebuild();
}

void TRubberKnob::SetDotRadius(int32_t radius) {
  dotRadius_ = radius;
  RequestRebuild();
}

void TRubberKnob::SetColour(TColour colour) {
  colour_ = colour;
  RequestRebuild();
}

void TRubberKnob::SetHilight(TColour colour) {
  hilight_ = colour;
  RequestRebuild();
}

void TRubberKnob::SetShadow(TColour colour) {
  shadow_ = colour;
  RequestRebuild();
}

void TRubberKnob::SetDoHilight(bool on) {
  doHilight_ = on;
  RequestRebuild();
}

void TRubberKnob::SetDoShadow(bool on) {
  doShadow_ = on;
  RequestRebuild();
}

void TRubberKnob::SetTransColour(TColour colour) {
  transColour_ = colour;
  RequestRebuild();
}

void TRubberKnob::SetValue(float value) {
  value_ = value;
  if (dotImage_ != nullptr) PlaceDot();
}

float TRubberKnob::PointerToValue(int32_t x, int32_t y) const {
  const TDialPointer dial{centreX_, centreY_, angleOffset_, wedge_, quantise_, ticks_};
  return ::PointerToValue(dial, x, y, value_);
}

void TRubberKnob::PlaceDot() {
  const float index = NarrowToFloat((static_cast<double>(ticks_) - 1.0) * static_cast<double>(value_));
  const TPoint p =
      DialPoint(centreX_, centreY_, index, ticks_, angleOffset_, wedge_, static_cast<float>(dotRadius_), false).Point;

  // Only a move in both directions counts, so the reflection does not flicker
  // while the dot crawls along one axis.
  if (Enabled() && shimmerCount_ > 0 && p.X != lastDotX_ && p.Y != lastDotY_) {
    shimmerIndex_ = (shimmerIndex_ + 1) % shimmerCount_;
    if (const TImage* shimmer = shimmerList_[static_cast<size_t>(shimmerIndex_)]) {
      DrawOnSurface([&](TCanvas& canvas) { shimmer->DrawPicture(canvas, shimmerX_, shimmerY_); });
    }
    lastDotX_ = p.X;
    lastDotY_ = p.Y;
  }

  if (dotControl_ == nullptr) return;
  const int32_t w = dotControl_->Width();
  dotControl_->SetBounds(ClampCoordinate(int64_t{Left()} + p.X - w / 2), ClampCoordinate(int64_t{Top()} + p.Y - w / 2),
                         w, dotControl_->Height());
  ShowDot();
}

void TRubberKnob::SetEnabled(bool enabled) {
  if (enabled != Enabled()) imageValid_ = false;
  TGraphicControl::SetEnabled(enabled);
}

void TRubberKnob::SetVisible(bool visible) {
  TGraphicControl::SetVisible(visible);
  ShowDot();
}

void TRubberKnob::SetParent(TForm* parent) {
  TGraphicControl::SetParent(parent);
  if (dotControl_ != nullptr) dotControl_->SetParent(parent);
}

void TRubberKnob::EnabledChanged() {
  imageValid_ = false;
  Repaint();
  if (dotControl_ != nullptr) dotControl_->Invalidate();
}

void TRubberKnob::FontChanged() {
  imageValid_ = false;
  TGraphicControl::FontChanged();
}

void TRubberKnob::MouseDown(TMouseButton, TShiftState shift, int32_t x, int32_t y) {
  if (!Enabled()) return;
  dragging_ = true;
  MouseMove(shift, x, y);
}

namespace {
// NaN never equals itself; a value that stays NaN has not changed.
bool SameValue(float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }
}  // namespace

void TRubberKnob::MouseMove(TShiftState, int32_t x, int32_t y) {
  if (!dragging_) return;
  const float old = value_;
  SetValue(PointerToValue(x, y));
  if (!SameValue(value_, old) && OnChanging) OnChanging(this);
}

void TRubberKnob::MouseUp(TMouseButton, TShiftState, int32_t, int32_t) {
  dragging_ = false;
  if (OnChange) OnChange(this);
}
