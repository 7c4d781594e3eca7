// The content of the plug-in's window: a face plate with six knobs, six LED
// buttons and a version label. The form keeps its own copy of the nine
// parameter values in control terms, keeps its controls in step with it, and
// after every change asks its editor to write the copy into the plug-in.
#pragma once

#include <cstdint>

#include "controls/RubberKnob.h"
#include "controls/RubberLEDButton.h"
#include "core/ParameterRules.h"
#include "editor/FormLayout.h"
#include "generated/OndrelVersion.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Label.h"

class TOndrelEditor;

// The button state for a light that is off or on.
constexpr TRubberLEDButtonState StateOfLit[2] = {rlbUpOff, rlbUpOn};

// The form's copy of the values is the TFormValues base: FCutoff and so on.
class TOndrelEditForm : public TForm, public TFormValues {
 public:
  // Built from the stored layout, then FormCreate.
  explicit TOndrelEditForm(TComponent* owner = nullptr);

  void SetCutoff(float value);
  void SetDelay(float value);
  void SetDepth(float value);
  void SetRate(float value);
  void SetFeedback(float value);
  void SetMix(float value);
  void SetBassMode(bool on);
  void SetLoFi(bool on);
  void SetChannelMode(int8_t mode);
  // The value of `binding` in control terms: a knob's position; lit for
  // anything but 0 on a switch; the channel mode number.
  void SetState(const TParameterBinding& binding, float state);

  // Event handlers, bound by name from the layout.
  void FormCreate(TComponent* sender);
  void rkCutoffChange(TComponent* sender);
  void rkDelayChange(TComponent* sender);
  void rkDepthChange(TComponent* sender);
  void rkRateChange(TComponent* sender);
  void rkFeedbackChange(TComponent* sender);
  void rkMixChange(TComponent* sender);
  void rbBassModeChange(TComponent* sender);
  void rbLoFiChange(TComponent* sender);
  void rbModeChange(TComponent* sender);
  void rbMonoLEDChange(TComponent* sender);

  // Set by the editor right after creating the form; not owned.
  TOndrelEditor* FEditor = nullptr;

  // The components the handlers and setters work with.
  TImage* IFacePlate = nullptr;
  TImage* LogoImage = nullptr;
  TRubberKnob* rkCutoff = nullptr;
  TRubberKnob* rkDelay = nullptr;
  TRubberKnob* rkDepth = nullptr;
  TRubberKnob* rkRate = nullptr;
  TRubberKnob* rkFeedback = nullptr;
  TRubberKnob* rkMix = nullptr;
  TRubberLEDButton* rbBassMode = nullptr;
  TRubberLEDButton* rbLoFi = nullptr;
  TRubberLEDButton* rbMono = nullptr;
  TRubberLEDButton* rbStereo = nullptr;
  TRubberLEDButton* rbDual = nullptr;
  TRubberLEDButton* rbHaas = nullptr;
  TLabel* labVersion = nullptr;
  TLabel* labVersionShadow = nullptr;

  static constexpr const char* kVersion = "V" ONDREL_VERSION;

 private:
  void Changed();
  void SetKnob(int32_t index, float value);
  // Copy and button only; the caller tells the editor.
  void ShowSwitch(int32_t index, bool lit);
  void BuildFromLayout();
  TGraphicControl* CreateControl(const TLayoutEntry& entry);
  void SetUpKnob(TRubberKnob& knob, const TLayoutEntry& entry);
  void SetUpButton(TRubberLEDButton& button, const TLayoutEntry& entry);
  void BindEvents(TGraphicControl& control, const TLayoutEntry& entry);
  void FindNamedControls();

  // The control of each parameter, from the binding table.
  TGraphicControl* bound_[kNumParameters] = {};
};

// A handler of the form by its name in the layout; null for an unknown name.
using TFormHandler = void (TOndrelEditForm::*)(TComponent* sender);
TFormHandler FindFormHandler(const std::string& name);
