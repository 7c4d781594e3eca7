// A windowless control: it has no window of its own and paints on its
// parent form's surface. The form routes paints and pointer input to it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Canvas.h"
#include "platform/Component.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

class TForm;

enum class TMouseButton { Left, Right, Middle };

using TShiftState = uint32_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssCtrl = 2;
constexpr TShiftState ssAlt = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

// The shift-state bit of a button held down.
constexpr TShiftState ButtonBit(TMouseButton button) {
  switch (button) {
    case TMouseButton::Left: return ssLeft;
    case TMouseButton::Right: return ssRight;
    case TMouseButton::Middle: return ssMiddle;
  }
  return 0;
}

class TGraphicControl : public TComponent {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  TRect BoundsRect() const { return TRect::Bounds(left_, top_, width_, height_); }
  // Positions are held within +-kCoordinateLimit, sizes within 0..kCoordinateLimit.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetLeft(int32_t left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int32_t top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int32_t width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int32_t height) { SetBounds(left_, top_, width_, height); }

  TForm* Parent() const { return parent_; }
  // Puts the control on top of the new parent's controls.
  virtual void SetParent(TForm* parent);

  bool Enabled() const { return enabled_; }
  // A change sends EnabledChanged.
  virtual void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);

  const TFont& Font() const { return font_; }
  // Takes the font as the control's own (ParentFont off) and sends FontChanged.
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);

  // Asks for a repaint later.
  void Invalidate();
  // Repaints now.
  void Repaint();
  // Draws at once on the visible surface, over what is there, clipped to the
  // control; nothing happens while the control is not on a showing form.
  void DrawOnSurface(const std::function<void(TCanvas&)>& draw);

  TNotifyEvent OnClick;

  // Entries for the form. Coordinates are the control's own.
  virtual void Paint(TCanvas& /*canvas*/) {}
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // Notifications of the window system; both default to a repaint request.
  virtual void EnabledChanged();
  virtual void FontChanged();
  // The parent's font changed; taken over while ParentFont is on.
  void ParentFontChanged(const TFont& font);

 protected:
  virtual void Click();

 private:
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  TForm* parent_ = nullptr;
  bool enabled_ = true;
  bool visible_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool pressed_ = false;
};
