// The rotary knob: a bitmap body on a circular scale of tick marks and
// labels, a position dot that turns with the value, and a changing light
// reflection (the shimmer) on the body. The user points at a value: the knob
// follows the pointer's angle, not the drag distance.
//
// The scale, labels and body are composed once into ImageCache and repainted
// by copying; the dot is a separate little control on the knob's parent, so a
// value change only moves the dot.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "controls/DialGeometry.h"
#include "platform/Bitmap.h"
#include "platform/GraphicControl.h"
#include "platform/Image.h"
#include "platform/StringList.h"

class TRubberKnob : public TGraphicControl {
 public:
  explicit TRubberKnob(TComponent* owner);
  ~TRubberKnob() override;

  TImage* MainImage() const { return mainImage_; }
  void SetMainImage(TImage* image);
  TImage* DisabledImage() const { return disabledImage_; }
  void SetDisabledImage(TImage* image);
  TImage* DotImage() const { return dotImage_; }
  // Also resets Value to 0.
  void SetDotImage(TImage* image);
  TImage* Shimmer(int32_t number) const;  // number 1 .. 4
  void SetShimmer(int32_t number, TImage* image);
  TImage* Shimmer1() const { return Shimmer(1); }
  TImage* Shimmer2() const { return Shimmer(2); }
  TImage* Shimmer3() const { return Shimmer(3); }
  TImage* Shimmer4() const { return Shimmer(4); }
  void SetShimmer1(TImage* image) { SetShimmer(1, image); }
  void SetShimmer2(TImage* image) { SetShimmer(2, image); }
  void SetShimmer3(TImage* image) { SetShimmer(3, image); }
  void SetShimmer4(TImage* image) { SetShimmer(4, image); }

  int32_t Diameter() const { return diameter_; }
  void SetDiameter(int32_t diameter);
  int32_t Ticks() const { return ticks_; }
  void SetTicks(int32_t ticks);
  // The knob's own list, or null after SetLabels(nullptr). Changes made to it
  // rebuild the picture.
  TStringList* Labels() const { return labels_.get(); }
  void SetLabels(const TStringList* labels);
  const std::string& ShowTicks() const { return showTicks_; }
  void SetShowTicks(std::string showTicks);
  float Wedge() const { return wedge_; }
  void SetWedge(float wedge);
  float AngleOffset() const { return angleOffset_; }
  void SetAngleOffset(float angleOffset);
  bool Quantise() const { return quantise_; }
  void SetQuantise(bool quantise) { quantise_ = quantise; }
  float BotLabNudge() const { return botLabNudge_; }
  void SetBotLabNudge(float nudge) { botLabNudge_ = nudge; }
  int32_t TextRadius() const { return textRadius_; }
  void SetTextRadius(int32_t radius);
  int32_t TickRadius() const { return tickRadius_; }
  void SetTickRadius(int32_t radius);
  int32_t DotRadius() const { return dotRadius_; }
  void SetDotRadius(int32_t radius);
  float Min() const { return min_; }
  void SetMin(float min) { min_ = min; }
  float Max() const { return max_; }
  void SetMax(float max) { max_ = max; }
  float Value() const { return value_; }
  // Unclamped, fires no event and rebuilds nothing; moves the dot.
  void SetValue(float value);
  TColour Colour() const { return colour_; }
  void SetColour(TColour colour);
  TColour Hilight() const { return hilight_; }
  void SetHilight(TColour colour);
  TColour Shadow() const { return shadow_; }
  void SetShadow(TColour colour);
  bool DoHilight() const { return doHilight_; }
  void SetDoHilight(bool on);
  bool DoShadow() const { return doShadow_; }
  void SetDoShadow(bool on);
  TColour TransColour() const { return transColour_; }
  void SetTransColour(TColour colour);

  // Fired at every pointer release.
  TNotifyEvent OnChange;
  // Fired during a drag when Value changed.
  TNotifyEvent OnChanging;

  // The value a pointer at (x, y), in the knob's coordinates, points at.
  float PointerToValue(int32_t x, int32_t y) const;
  // Puts the dot where Value says and steps the shimmer when it moved.
  void PlaceDot();

  // State that shows how the knob works, for tests and diagnostics.
  bool ImageValid() const { return imageValid_; }
  bool Dragging() const { return dragging_; }
  int32_t CentreX() const { return centreX_; }
  int32_t CentreY() const { return centreY_; }
  int32_t ShimmerCount() const { return shimmerCount_; }
  int32_t ShimmerIndex() const { return shimmerIndex_; }
  int32_t ShimmerX() const { return shimmerX_; }
  int32_t ShimmerY() const { return shimmerY_; }
  TImage* DotControl() const { return dotControl_; }
  const TBitmap& ImageCache() const { return imageCache_; }
  int32_t CompositionCount() const { return compositionCount_; }

  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void SetParent(TForm* parent) override;
  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void EnabledChanged() override;
  void FontChanged() override;

 protected:
  void Notification(TComponent* component) override;

 private:
  void RequestRebuild();
  void LabelsChanged();
  void AttachLabels();
  void Reference(TImage*& field, TImage* image);
  void ShowDot();

  // Composition of ImageCache.
  void ComposeImage();
  void DrawLabels();
  void DrawLabel(int32_t x, int32_t y, const std::string& text, int32_t nudge, float sx, float sy);
  void DrawBody();
  void DrawTicks();
  void DrawTick(TPoint point, const std::array<TColour, 4>& pattern);
  void ChooseShimmer();

  TImage* mainImage_ = nullptr;
  TImage* disabledImage_ = nullptr;
  TImage* dotImage_ = nullptr;
  std::array<TImage*, 4> shimmers_{};
  std::array<TImage*, 4> shimmerList_{};
  int32_t shimmerCount_ = 0;
  int32_t shimmerIndex_ = 0;
  int32_t shimmerX_ = 0;
  int32_t shimmerY_ = 0;
  int32_t lastDotX_ = 0;
  int32_t lastDotY_ = 0;
  int32_t diameter_ = 39;
  int32_t ticks_ = 11;
  std::unique_ptr<TStringList> labels_;
  std::string showTicks_;
  float wedge_ = 1.0f / 7.0f;
  float angleOffset_ = 0.0f;
  bool quantise_ = false;
  TColour colour_ = 0x303030;
  TColour hilight_ = 0x000000;
  TColour shadow_ = 0xF8F0F8;
  bool doHilight_ = false;
  bool doShadow_ = true;
  TColour transColour_ = 0xFFFFFF;
  int32_t textRadius_ = 39;
  int32_t tickRadius_ = 30;
  int32_t dotRadius_ = 22;
  TImage* dotControl_ = nullptr;
  float min_ = 0.0f;
  float max_ = 1.0f;
  float value_ = 0.0f;
  bool imageValid_ = false;
  bool dragging_ = false;
  int32_t centreX_ = 0;
  int32_t centreY_ = 0;
  TBitmap imageCache_;
  float botLabNudge_ = 0.0f;
  bool constructed_ = false;

  // The font labels are drawn in while composing; "Off" makes it bold.
  TFont labelFont_;
  int32_t compositionCount_ = 0;
};
