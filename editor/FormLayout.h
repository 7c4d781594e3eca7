// The edit form's stored description: every component with its kind, name,
// bounds, properties, pictures and event bindings, in creation order, which is
// also the z-order from bottom to top. The form is built from this table
// alone, so the table is the one place a position or a picture is named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
  std::string OnClick;
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
