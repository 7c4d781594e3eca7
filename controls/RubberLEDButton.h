// A push button with an indicator light, drawn entirely from bitmaps: one
// picture for each combination of pressed or released and light on or off,
// and optional pictures for the released states of a disabled button. Each
// click toggles the light once, at the press or at the release.
#pragma once

#include <cstdint>

#include "platform/GraphicControl.h"
#include "platform/Image.h"

enum TRubberLEDButtonState : uint8_t { rlbUpOff = 0, rlbDownOff = 1, rlbUpOn = 2, rlbDownOn = 3 };

class TRubberLEDButton : public TGraphicControl {
 public:
  explicit TRubberLEDButton(TComponent* owner);

  TImage* UpOff() const { return upOff_; }
  void SetUpOff(TImage* image);
  TImage* DownOff() const { return downOff_; }
  void SetDownOff(TImage* image);
  TImage* UpOn() const { return upOn_; }
  void SetUpOn(TImage* image);
  TImage* DownOn() const { return downOn_; }
  void SetDownOn(TImage* image);
  TImage* DisabledOff() const { return disabledOff_; }
  void SetDisabledOff(TImage* image) { Reference(disabledOff_, image); }
  TImage* DisabledOn() const { return disabledOn_; }
  void SetDisabledOn(TImage* image) { Reference(disabledOn_, image); }

  TRubberLEDButtonState ButtonState() const { return buttonState_; }
  // Sets LEDOn from the state and repaints at once; fires nothing.
  void SetButtonState(TRubberLEDButtonState state);
  // True: the light toggles at the press; false: at the release.
  bool QuickChange() const { return quickChange_; }
  void SetQuickChange(bool quickChange) { quickChange_ = quickChange; }
  bool LEDOn() const { return ledOn_; }

  // Fired at every release.
  TNotifyEvent OnChange;
  // Fired whenever a click toggles the light; LEDOn already holds the new light.
  TNotifyEvent OnLEDChange;

  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void EnabledChanged() override;

 protected:
  void Notification(TComponent* component) override;

 private:
  void Reference(TImage*& field, TImage* image);
  void ToggleLight();
  const TImage* ImageForState() const;

  TImage* upOff_ = nullptr;
  TImage* downOff_ = nullptr;
  TImage* upOn_ = nullptr;
  TImage* downOn_ = nullptr;
  TImage* disabledOff_ = nullptr;
  TImage* disabledOn_ = nullptr;
  TRubberLEDButtonState buttonState_ = rlbUpOff;
  bool quickChange_ = true;
  bool ledOn_ = false;
};
