#include "OndrelEditForm.h"

#include <map>

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "core/FloatGuard.h"
#include "editor/EditorPictures.h"
#include "editor/FaceLooks.h"
#include "editor/FormFonts.h"
#include "editor/FormLayout.h"
#include "editor/OndrelEditor.h"
#include "platform/Bevel.h"

namespace {

const std::map<std::string, TFormHandler>& Handlers() {
  // clang-format off
  static const std::map<std::string, TFormHandler> handlers = {
      {"FormCreate", &TOndrelEditForm::FormCreate},
      {"rkCutoffChange", &TOndrelEditForm::rkCutoffChange},
      {"rkDelayChange", &TOndrelEditForm::rkDelayChange},
      {"rkDepthChange", &TOndrelEditForm::rkDepthChange},
      {"rkRateChange", &TOndrelEditForm::rkRateChange},
      {"rkFeedbackChange", &TOndrelEditForm::rkFeedbackChange},
      {"rkMixChange", &TOndrelEditForm::rkMixChange},
      {"rbBassModeChange", &TOndrelEditForm::rbBassModeChange},
      {"rbLoFiChange", &TOndrelEditForm::rbLoFiChange},
      {"rbModeChange", &TOndrelEditForm::rbModeChange},
      {"rbMonoLEDChange", &TOndrelEditForm::rbMonoLEDChange},
  };
  // clang-format on
  return handlers;
}

template <typename T>
T* Find(const TComponent& owner, const std::string& name) {
  return dynamic_cast<T*>(owner.FindComponent(name));
}

}  // namespace

TFormHandler FindFormHandler(const std::string& name) {
  const auto found = Handlers().find(name);
  return found != Handlers().end() ? found->second : nullptr;
}

TOndrelEditForm::TOndrelEditForm(TComponent* owner) : TForm(owner) {
  FloatGuard::Apply();
  SetName("OndrelEditForm");
  SetCaption(kFormCaption);
  SetClientSize(kFormWidth, kFormHeight);
  SetColour(clBtnFace);
  SetFont(FormFont(-11, clWindowText, false));
  BuildFromLayout();
  FormCreate(this);
}

void TOndrelEditForm::BuildFromLayout() {
  const std::vector<TLayoutEntry>& layout = OndrelFormLayout();
  // Everything is created and given its properties while loading, so that
  // nothing composes a picture before all references are in place.
  std::vector<TGraphicControl*> created;
  for (const TLayoutEntry& entry : layout) created.push_back(CreateControl(entry));
  for (size_t i = 0; i < layout.size(); ++i) {
    const TLayoutEntry& entry = layout[i];
    TGraphicControl& control = *created[i];
    switch (entry.Kind) {
      case TLayoutKind::Image:
        static_cast<TImage&>(control).SetPicture(EditorPicture(entry.Picture));
        static_cast<TImage&>(control).SetTransparent(entry.Transparent);
        break;
      case TLayoutKind::Label:
        static_cast<TLabel&>(control).SetCaption(entry.Caption);
        static_cast<TLabel&>(control).SetTransparent(true);
        control.SetFont(FormFont(entry.FontHeight, entry.FontColour, entry.Bold));
        break;
      case TLayoutKind::Knob: SetUpKnob(static_cast<TRubberKnob&>(control), entry); break;
      case TLayoutKind::LEDButton: SetUpButton(static_cast<TRubberLEDButton&>(control), entry); break;
      case TLayoutKind::BrushedMetal: ApplyMetalLook(static_cast<TBrushedMetal&>(control)); break;
      case TLayoutKind::PaintedPanel: ApplyPanelLook(static_cast<TPaintedPanel&>(control)); break;
      case TLayoutKind::Bevel: break;
    }
    BindEvents(control, entry);
  }
  for (TGraphicControl* control : created) control->EndLoading();
  FindNamedControls();
}

TGraphicControl* TOndrelEditForm::CreateControl(const TLayoutEntry& entry) {
  TGraphicControl* control = nullptr;
  switch (entry.Kind) {
    case TLayoutKind::Image: control = new TImage(this); break;
    case TLayoutKind::Bevel: control = new TBevel(this); break;
    case TLayoutKind::Label: control = new TLabel(this); break;
    case TLayoutKind::Knob: control = new TRubberKnob(this); break;
    case TLayoutKind::LEDButton: control = new TRubberLEDButton(this); break;
    case TLayoutKind::BrushedMetal: control = new TBrushedMetal(this); break;
    case TLayoutKind::PaintedPanel: control = new TPaintedPanel(this); break;
  }
  control->BeginLoading();
  control->SetName(entry.Name);
  control->SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
  control->SetVisible(entry.Visible);
  control->SetParent(this);
  return control;
}

void TOndrelEditForm::SetUpKnob(TRubberKnob& knob, const TLayoutEntry& entry) {
  knob.SetMainImage(Find<TImage>(*this, entry.MainImage));
  knob.SetDisabledImage(Find<TImage>(*this, entry.DisabledImage));
  knob.SetDotImage(Find<TImage>(*this, kKnobDot));
  for (int32_t n = 1; n <= 4; ++n) knob.SetShimmer(n, Find<TImage>(*this, kKnobShimmers[n - 1]));
  ApplyKnobLook(knob, entry);
  knob.SetAngleOffset(0.0f);
  knob.SetQuantise(false);
  knob.SetMin(0.0f);
  knob.SetMax(1.0f);
  knob.SetTransColour(clWhite);
}

void TOndrelEditForm::SetUpButton(TRubberLEDButton& button, const TLayoutEntry& entry) {
  button.SetUpOff(Find<TImage>(*this, entry.UpOff));
  button.SetDownOff(Find<TImage>(*this, kButtonDownOff));
  button.SetUpOn(Find<TImage>(*this, kButtonUpOn));
  button.SetDownOn(Find<TImage>(*this, kButtonDownOn));
  button.SetQuickChange(entry.QuickChange);
  button.SetButtonState(rlbUpOff);
}

void TOndrelEditForm::BindEvents(TGraphicControl& control, const TLayoutEntry& entry) {
  auto bind = [this](const std::string& handler) -> TNotifyEvent {
    const TFormHandler method = FindFormHandler(handler);
    if (method == nullptr) return nullptr;
    return [this, method](TComponent* sender) { (this->*method)(sender); };
  };
  if (auto* knob = dynamic_cast<TRubberKnob*>(&control)) knob->OnChange = bind(entry.OnChange);
  if (auto* button = dynamic_cast<TRubberLEDButton*>(&control)) {
    button->OnChange = bind(entry.OnChange);
    button->OnLEDChange = bind(entry.OnLEDChange);
  }
}

void TOndrelEditForm::FindNamedControls() {
  IFacePlate = Find<TImage>(*this, "IFacePlate");
  LogoImage = Find<TImage>(*this, "LogoImage");
  rkCutoff = Find<TRubberKnob>(*this, "rkCutoff");
  rkDelay = Find<TRubberKnob>(*this, "rkDelay");
  rkDepth = Find<TRubberKnob>(*this, "rkDepth");
  rkRate = Find<TRubberKnob>(*this, "rkRate");
  rkFeedback = Find<TRubberKnob>(*this, "rkFeedback");
  rkMix = Find<TRubberKnob>(*this, "rkMix");
  rbBassMode = Find<TRubberLEDButton>(*this, "rbBassMode");
  rbLoFi = Find<TRubberLEDButton>(*this, "rbLoFi");
  rbMono = Find<TRubberLEDButton>(*this, "rbMono");
  rbStereo = Find<TRubberLEDButton>(*this, "rbStereo");
  rbDual = Find<TRubberLEDButton>(*this, "rbDual");
  rbHaas = Find<TRubberLEDButton>(*this, "rbHaas");
  labVersion = Find<TLabel>(*this, "labVersion");
  labVersionShadow = Find<TLabel>(*this, "labVersionShadow");
  for (const TParameterBinding& binding : kParameterBindings) {
    bound_[binding.Index] = Find<TGraphicControl>(*this, binding.Control);
  }
}

void TOndrelEditForm::FormCreate(TComponent*) {
  FloatGuard::Apply();
  for (TGraphicControl* control : std::vector<TGraphicControl*>(Controls())) {
    if (auto* label = dynamic_cast<TLabel*>(control)) {
      if (label != labVersion && label != labVersionShadow) label->SetVisible(false);
    } else if (auto* knob = dynamic_cast<TRubberKnob*>(control)) {
      // The legends are part of the face plate.
      if (knob->Labels() != nullptr) knob->Labels()->Clear();
    }
  }
  for (const char* name : {"LogoImage", "Bevel1", "Bevel2", "imageScrew1", "imageScrew2", "imageScrew3", "imageScrew4",
                           "i4ButtonHole", "iBassModeButtonHole", "iLoFiButtonHole"}) {
    if (auto* control = Find<TGraphicControl>(*this, name)) control->SetVisible(false);
  }
  labVersion->SetCaption(kVersion);
  labVersionShadow->SetCaption(kVersion);

  SetCutoff(0.0f);
  SetDelay(0.0f);
  SetDepth(0.0f);
  SetRate(0.0f);
  SetFeedback(0.0f);
  SetBassMode(true);
  SetLoFi(false);
  SetChannelMode(cmMono);
  SetMix(1.0f);

  SetPosition(0, 0);
  FixFormFonts(*this, {nullptr});
}

void TOndrelEditForm::Changed() {
  if (FEditor != nullptr) FEditor->update();
}

void TOndrelEditForm::SetKnob(int32_t index, float value) {
  FloatGuard::Apply();
  this->*kParameterBindings[index].Position = value;
  static_cast<TRubberKnob*>(bound_[index])->SetValue(value);
  Changed();
}

void TOndrelEditForm::ShowSwitch(int32_t index, bool lit) {
  FloatGuard::Apply();
  this->*kParameterBindings[index].Lit = lit;
  static_cast<TRubberLEDButton*>(bound_[index])->SetButtonState(StateOfLit[lit]);
}

void TOndrelEditForm::SetState(const TParameterBinding& binding, float state) {
  switch (binding.Kind) {
    case TBindingKind::Knob: SetKnob(binding.Index, state); break;
    case TBindingKind::Switch:
    case TBindingKind::NegatedSwitch:
      if (binding.Index == kBassMode) {
        SetBassMode(state != 0.0f);
      } else {
        ShowSwitch(binding.Index, state != 0.0f);
        Changed();
      }
      break;
    case TBindingKind::ChannelMode: SetChannelMode(static_cast<int8_t>(state)); break;
  }
}

void TOndrelEditForm::SetCutoff(float value) { SetKnob(kCutoff, value); }
void TOndrelEditForm::SetDelay(float value) { SetKnob(kDelay, value); }
void TOndrelEditForm::SetDepth(float value) { SetKnob(kWidth, value); }
void TOndrelEditForm::SetRate(float value) { SetKnob(kRate, value); }
void TOndrelEditForm::SetFeedback(float value) { SetKnob(kFeedback, value); }
void TOndrelEditForm::SetMix(float value) { SetKnob(kMix, value); }

void TOndrelEditForm::SetBassMode(bool on) {
  ShowSwitch(kBassMode, on);
  // The split frequency means nothing without the split.
  rkCutoff->SetEnabled(on);
  Changed();
}

void TOndrelEditForm::SetLoFi(bool on) {
  ShowSwitch(kAntiAlias, on);
  Changed();
}

void TOndrelEditForm::SetChannelMode(int8_t mode) {
  FloatGuard::Apply();
  const bool wasHaas = FChannelMode == cmHaas;
  FChannelMode = mode;
  rbMono->SetButtonState(StateOfLit[mode == cmMono]);
  rbStereo->SetButtonState(StateOfLit[mode == cmStereo]);
  rbDual->SetButtonState(StateOfLit[mode == cmDual]);
  rbHaas->SetButtonState(StateOfLit[mode == cmHaas]);
  // Haas is a fixed short delay: feedback and mix do not apply to it.
  if (mode == cmHaas) {
    rkFeedback->SetEnabled(false);
    rkMix->SetEnabled(false);
  } else if (wasHaas) {
    rkFeedback->SetEnabled(true);
    rkMix->SetEnabled(true);
  }
  Changed();
}

void TOndrelEditForm::rkCutoffChange(TComponent*) { SetCutoff(rkCutoff->Value()); }
void TOndrelEditForm::rkDelayChange(TComponent*) { SetDelay(rkDelay->Value()); }
void TOndrelEditForm::rkDepthChange(TComponent*) { SetDepth(rkDepth->Value()); }
void TOndrelEditForm::rkRateChange(TComponent*) { SetRate(rkRate->Value()); }
void TOndrelEditForm::rkFeedbackChange(TComponent*) { SetFeedback(rkFeedback->Value()); }
void TOndrelEditForm::rkMixChange(TComponent*) { SetMix(rkMix->Value()); }

void TOndrelEditForm::rbBassModeChange(TComponent*) { SetBassMode(rbBassMode->LEDOn()); }

void TOndrelEditForm::rbLoFiChange(TComponent*) { SetLoFi(rbLoFi->LEDOn()); }

void TOndrelEditForm::rbModeChange(TComponent* sender) {
  FloatGuard::Apply();
  const TRubberLEDButton* buttons[] = {rbMono, rbStereo, rbDual, rbHaas};
  for (int8_t mode = 0; mode < 4; ++mode) {
    if (sender == buttons[mode]) {
      SetChannelMode(mode);
      return;
    }
  }
}

void TOndrelEditForm::rbMonoLEDChange(TComponent* sender) {
  FloatGuard::Apply();
  for (TRubberLEDButton* button : {rbMono, rbStereo, rbDual, rbHaas}) {
    if (button != sender) button->SetButtonState(rlbUpOff);
  }
}
