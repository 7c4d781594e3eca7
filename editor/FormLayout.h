// The edit form's stored description: every component with its kind, name,
// bounds, properties, pictures and event bindings, in creation order, which is
// also the z-order from bottom to top. The form is built from this table
// alone, so the table is the one place a position or a picture is named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ParameterRules.h"
#include "platform/Colour.h"
#include "platform/Geometry.h"

enum class TLayoutKind { Image, Bevel, Label, Knob, LEDButton, BrushedMetal, PaintedPanel };

struct TLayoutEntry {
  TLayoutKind Kind = TLayoutKind::Image;
  std::string Name;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool Visible = true;

  // Image: the embedded picture of that name (none: an empty picture).
  std::string Picture;
  bool Transparent = false;

  // Knob: body pictures (image components), tick count, highlight colour and
  // the stored scale legends.
  std::string MainImage;
  std::string DisabledImage;
  int32_t Ticks = 11;
  TColour Hilight = 0xF8F0F8;
  std::vector<std::string> Labels;

  // LED button: the released, unlit picture and when the light toggles.
  std::string UpOff;
  bool QuickChange = true;

  // Label.
  std::string Caption;
  TColour FontColour = clWindowText;
  int32_t FontHeight = -11;
  bool Bold = false;

  // Event bindings by handler name; empty: none.
  std::string OnChange;
  std::string OnLEDChange;
};

// The form's caption and client size.
constexpr const char* kFormCaption = "Ondrel";
constexpr int32_t kFormWidth = 560;
constexpr int32_t kFormHeight = 291;

// Every knob and button shares these (only the entries above differ).
constexpr int32_t kKnobDiameter = 52;
constexpr int32_t kKnobTextRadius = 39;
constexpr int32_t kKnobTickRadius = 30;
constexpr int32_t kKnobDotRadius = 12;
constexpr TColour kKnobColour = 0xFBFBFB;
constexpr TColour kKnobShadow = 0x505050;
constexpr const char* kKnobDot = "InnerDot";
constexpr const char* kKnobShimmers[4] = {"IShimmer1", "IShimmer2", "IShimmer3", "IShimmer4"};
constexpr const char* kButtonDownOff = "iDownOff";
constexpr const char* kButtonUpOn = "iUpOn";
constexpr const char* kButtonDownOn = "iDownOn";

const std::vector<TLayoutEntry>& OndrelFormLayout();

// The form's copy of the nine values, in control terms.
struct TFormValues {
  float FCutoff = 0.0f;
  float FDelay = 0.0f;
  float FDepth = 0.0f;
  float FRate = 0.0f;
  float FFeedback = 0.0f;
  bool FBassMode = false;
  bool FLoFi = false;
  int8_t FChannelMode = 0;
  float FMix = 0.0f;
};

// How a stored value becomes its control's state, and back.
enum class TBindingKind {
  Knob,           // the knob's position is the value
  Switch,         // lit while the switch is on; back as 1 or 0
  NegatedSwitch,  // lit while the switch is off (lo-fi: no anti-aliasing); back as 0 or 1
  ChannelMode,    // the lit one of the four mode buttons; back as the mode number / 3
};

// One parameter on the form: which control shows it, how, and where the
// form keeps its copy (Position for a knob, Lit for a switch). Channel mode
// is kept in FChannelMode and shown by the four mode buttons, Control the
// first of them.
struct TParameterBinding {
  int32_t Index;
  TBindingKind Kind;
  const char* Control;
  float TFormValues::*Position;
  bool TFormValues::*Lit;
};

// Every parameter the form shows, by index.
// clang-format off
constexpr TParameterBinding kParameterBindings[] = {
    {kBassMode,   TBindingKind::Switch,        "rbBassMode", nullptr,               &TFormValues::FBassMode},
    {kCutoff,     TBindingKind::Knob,          "rkCutoff",   &TFormValues::FCutoff,   nullptr},
    {kDelay,      TBindingKind::Knob,          "rkDelay",    &TFormValues::FDelay,    nullptr},
    {kWidth,      TBindingKind::Knob,          "rkDepth",    &TFormValues::FDepth,    nullptr},
    {kRate,       TBindingKind::Knob,          "rkRate",     &TFormValues::FRate,     nullptr},
    {kFeedback,   TBindingKind::Knob,          "rkFeedback", &TFormValues::FFeedback, nullptr},
    {kStereoMode, TBindingKind::ChannelMode,   "rbMono",     nullptr,               nullptr},
    {kAntiAlias,  TBindingKind::NegatedSwitch, "rbLoFi",     nullptr,               &TFormValues::FLoFi},
    {kMix,        TBindingKind::Knob,          "rkMix",      &TFormValues::FMix,      nullptr},
};
// clang-format on
constexpr bool BindingsInIndexOrder() {
  if (sizeof kParameterBindings / sizeof kParameterBindings[0] != kNumParameters) return false;
  for (int32_t index = 0; index < kNumParameters; ++index) {
    if (kParameterBindings[index].Index != index) return false;
  }
  return true;
}
static_assert(BindingsInIndexOrder(), "one row per parameter, in index order");

// What the plug-in stores for the form's copy of one value.
float StoredValue(const TParameterBinding& binding, const TFormValues& values);
