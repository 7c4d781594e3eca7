#include "FormLayout.h"

namespace {

TLayoutEntry Placed(TLayoutKind kind, std::string name, int32_t left, int32_t top, int32_t width, int32_t height) {
  TLayoutEntry entry;
  entry.Kind = kind;
  entry.Name = std::move(name);
  entry.Left = left;
  entry.Top = top;
  entry.Width = width;
  entry.Height = height;
  return entry;
}

// A picture that only lends its bitmap to knobs and buttons: never shown.
TLayoutEntry Source(std::string name, int32_t width, int32_t height, bool transparent = false) {
  TLayoutEntry entry = Placed(TLayoutKind::Image, name, 0, 0, width, height);
  entry.Picture = std::move(name);
  entry.Transparent = transparent;
  entry.Visible = false;
  return entry;
}

TLayoutEntry Picture(std::string name, int32_t left, int32_t top, int32_t width, int32_t height,
                     std::string picture = {}) {
  TLayoutEntry entry = Placed(TLayoutKind::Image, std::move(name), left, top, width, height);
  entry.Picture = std::move(picture);
  return entry;
}

TLayoutEntry Knob(std::string name, int32_t left, int32_t top, int32_t width, std::string family,
                  std::vector<std::string> labels) {
  TLayoutEntry entry = Placed(TLayoutKind::Knob, name, left, top, width, 104);
  entry.MainImage = family;
  entry.DisabledImage = family + "Disabled";
  entry.Labels = std::move(labels);
  entry.OnChange = name + "Change";
  return entry;
}

TLayoutEntry Button(std::string name, int32_t left, int32_t top, std::string upOff, bool quickChange) {
  TLayoutEntry entry = Placed(TLayoutKind::LEDButton, std::move(name), left, top, 40, 48);
  entry.UpOff = std::move(upOff);
  entry.QuickChange = quickChange;
  return entry;
}

TLayoutEntry ModeButton(std::string name, int32_t left, std::string upOff) {
  TLayoutEntry entry = Button(std::move(name), left, 191, std::move(upOff), true);
  entry.OnChange = "rbModeChange";
  entry.OnLEDChange = "rbMonoLEDChange";
  return entry;
}

TLayoutEntry Text(std::string name, int32_t left, int32_t top, std::string caption, TColour colour, bool bold,
                  int32_t fontHeight) {
  TLayoutEntry entry = Placed(TLayoutKind::Label, std::move(name), left, top, 0, 0);
  entry.Caption = std::move(caption);
  entry.FontColour = colour;
  entry.Bold = bold;
  entry.FontHeight = fontHeight;
  return entry;
}

// A heading or caption: its dark shadow one pixel right and down, beneath it.
void AddLabelPair(std::vector<TLayoutEntry>& layout, const std::string& name, int32_t left, int32_t top,
                  const std::string& caption, bool heading, TColour colour, int32_t width, int32_t height) {
  const int32_t fontHeight = heading ? -13 : -11;
  TLayoutEntry shadow = Text(name + "Shadow", left + 1, top + 1, caption, 0x505050, heading, fontHeight);
  TLayoutEntry label = Text(name, left, top, caption, colour, heading, fontHeight);
  shadow.Width = label.Width = width;
  shadow.Height = label.Height = height;
  layout.push_back(shadow);
  layout.push_back(label);
}

std::vector<TLayoutEntry> BuildLayout() {
  std::vector<TLayoutEntry> layout;

  // The pictures the knobs and buttons draw with.
  for (const char* family : {"iKnobLight", "iKnob", "iKnobDark"}) {
    layout.push_back(Source(family, 55, 55));
    layout.push_back(Source(std::string(family) + "Disabled", 55, 55));
  }
  layout.push_back(Source(kKnobDot, 6, 6, true));
  for (const char* shimmer : kKnobShimmers) layout.push_back(Source(shimmer, 37, 37, true));
  for (const char* button : {"iUpOff", "IUpOff2", "IUpOff3", "IUpOff4", kButtonDownOff, kButtonUpOn, kButtonDownOn}) {
    layout.push_back(Source(button, 38, 46));
  }

  // What the face plate shows in one picture; the form hides these.
  TLayoutEntry metal = Placed(TLayoutKind::BrushedMetal, "BrushedMetal", 0, 285, 566, 292);
  metal.Visible = false;
  layout.push_back(metal);
  const struct {
    const char* name;
    int32_t left, top, width, height;
  } panels[] = {{"PaintedPanel4", 23, 291, 514, 41},
                {"PaintedPanel1", 23, 336, 114, 234},
                {"PaintedPanel2", 141, 336, 396, 118},
                {"PaintedPanel3", 141, 458, 396, 112}};
  for (const auto& panel : panels) {
    TLayoutEntry entry =
        Placed(TLayoutKind::PaintedPanel, panel.name, panel.left, panel.top, panel.width, panel.height);
    entry.Visible = false;
    layout.push_back(entry);
  }
  TLayoutEntry logo = Picture("LogoImage", 31, 8, 155, 39, "LogoImage");
  logo.Transparent = true;
  layout.push_back(logo);
  layout.push_back(Placed(TLayoutKind::Bevel, "Bevel1", 17, 0, 9, 292));
  layout.push_back(Placed(TLayoutKind::Bevel, "Bevel2", 540, 0, 9, 292));
  layout.push_back(Picture("imageScrew1", 2, 6, 12, 12));
  layout.push_back(Picture("imageScrew2", 545, 6, 12, 12));
  layout.push_back(Picture("imageScrew3", 2, 273, 12, 12));
  layout.push_back(Picture("imageScrew4", 545, 273, 12, 12));
  layout.push_back(Picture("i4ButtonHole", 255, 188, 161, 51));
  layout.push_back(Picture("iBassModeButtonHole", 57, 188, 44, 51));
  layout.push_back(Picture("iLoFiButtonHole", 175, 188, 44, 51));
  const TColour nearWhite = 0xF2F2F2;
  AddLabelPair(layout, "labCutoff", 61, 146, "Cutoff", true, clWhite, 42, 16);
  AddLabelPair(layout, "labDelay", 178, 146, "Delay", true, clWhite, 36, 16);
  AddLabelPair(layout, "labDepth", 273, 146, "Depth", true, clWhite, 40, 16);
  AddLabelPair(layout, "labRate", 368, 146, "Rate", true, clWhite, 30, 16);
  AddLabelPair(layout, "labFeedback", 443, 146, "Feedback", true, clWhite, 64, 16);
  AddLabelPair(layout, "labBassMode", 60, 246, "Bass mode", true, clWhite, 40, 32);
  AddLabelPair(layout, "labLoFi", 182, 262, "Lo-fi", true, clWhite, 32, 16);
  AddLabelPair(layout, "labChannelMode", 286, 262, "Channel mode", true, clWhite, 96, 16);
  AddLabelPair(layout, "labMix", 467, 262, "Mix", true, clWhite, 26, 16);
  AddLabelPair(layout, "labMono", 263, 243, "Mono", false, nearWhite, 30, 13);
  AddLabelPair(layout, "labStereo", 300, 243, "Stereo", false, nearWhite, 34, 13);
  AddLabelPair(layout, "labDual", 344, 243, "Dual", false, nearWhite, 26, 13);
  AddLabelPair(layout, "labHaas", 382, 243, "Haas", false, nearWhite, 28, 13);
  AddLabelPair(layout, "labCopyright", 348, 12, "\xC2\xA9 2026 Ondrel Audio", false, nearWhite, 120, 13);
  AddLabelPair(layout, "labWebsite", 406, 28, "ondrel-audio.example", false, nearWhite, 126, 13);

  // What a musician sees and plays, bottom to top.
  layout.push_back(Picture("IFacePlate", 0, 0, kFormWidth, kFormHeight, "IFacePlate"));
  layout.push_back(Knob("rkDepth", 239, 49, 104, "iKnob", {"Min", "Max"}));
  layout.push_back(Knob("rkRate", 332, 49, 104, "iKnobDark", {"Min", "Max"}));
  layout.push_back(Knob("rkFeedback", 425, 49, 104, "iKnobDark", {"Min", "Max"}));
  TLayoutEntry loFi = Button("rbLoFi", 178, 191, "IUpOff2", false);
  loFi.OnChange = "rbLoFiChange";
  layout.push_back(loFi);
  TLayoutEntry mix = Knob("rkMix", 425, 163, 104, "iKnobDark", {"Dry", "Wet"});
  mix.Hilight = clSilver;
  layout.push_back(mix);
  layout.push_back(ModeButton("rbHaas", 375, "IUpOff2"));
  layout.push_back(ModeButton("rbMono", 258, "IUpOff3"));
  layout.push_back(ModeButton("rbStereo", 297, "IUpOff4"));
  layout.push_back(ModeButton("rbDual", 336, "iUpOff"));
  TLayoutEntry cutoff = Knob("rkCutoff", 27, 49, 104, "iKnobLight", {"50", "100", "200", "400", "800"});
  cutoff.Ticks = 5;
  layout.push_back(cutoff);
  TLayoutEntry bassMode = Button("rbBassMode", 60, 191, "iUpOff", false);
  bassMode.OnChange = "rbBassModeChange";
  layout.push_back(bassMode);
  layout.push_back(Knob("rkDelay", 145, 49, 105, "iKnob", {"Flanger", "Chorus"}));
  TLayoutEntry versionShadow = Text("labVersionShadow", 185, 29, "V2.1", 0x505050, false, -11);
  TLayoutEntry version = Text("labVersion", 184, 28, "V2.1", 0xFCFCFC, false, -11);
  versionShadow.Width = version.Width = 22;
  versionShadow.Height = version.Height = 13;
  layout.push_back(versionShadow);
  layout.push_back(version);
  return layout;
}

}  // namespace

const std::vector<TLayoutEntry>& OndrelFormLayout() {
  static const std::vector<TLayoutEntry> layout = BuildLayout();
  return layout;
}

float StoredValue(const TParameterBinding& binding, const TFormValues& values) {
  switch (binding.Kind) {
    case TBindingKind::Knob: return values.*binding.Position;
    case TBindingKind::Switch: return values.*binding.Lit ? 1.0f : 0.0f;
    case TBindingKind::NegatedSwitch: return values.*binding.Lit ? 0.0f : 1.0f;
    case TBindingKind::ChannelMode: return static_cast<float>(values.FChannelMode / 3.0);
  }
  return 0.0f;
}
