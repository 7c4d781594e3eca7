// The face plate is composed on a form of the editor's size from the same
// controls the editor uses (brushed metal, painted panels, knobs, LED
// buttons) plus printed details, and taken off the headless window. The
// pictures that stand on the plate with a soft edge (knob bodies, logo) are
// blended over the plate's own pixels beneath them, so their edges match it.
#include <cmath>

#include "Artwork.h"
#include "Bevel.h"
#include "BrushedMetal.h"
#include "ButtonArt.h"
#include "Form.h"
#include "HeadlessWindow.h"
#include "Image.h"
#include "KnobArt.h"
#include "LogoArt.h"
#include "PaintedPanel.h"
#include "PlateParts.h"
#include "Random.h"
#include "RubberKnob.h"
#include "RubberLEDButton.h"

namespace {

constexpr int32_t kPlateWidth = 560;
constexpr int32_t kPlateHeight = 291;

struct TKnobPlace {
  const char* Name;
  int32_t Left, Top, Width, Height;
  TKnobFamily Family;
  int32_t Ticks;
  std::vector<std::string> Labels;
  TColour Hilight;
};

const std::vector<TKnobPlace>& KnobPlaces() {
  static const std::vector<TKnobPlace> places = {
      {"rkCutoff", 27, 49, 104, 104, TKnobFamily::Light, 5, {"50", "100", "200", "400", "800"}, 0xF8F0F8},
      {"rkDelay", 145, 49, 105, 104, TKnobFamily::Normal, 11, {"Flanger", "Chorus"}, 0xF8F0F8},
      {"rkDepth", 239, 49, 104, 104, TKnobFamily::Normal, 11, {"Min", "Max"}, 0xF8F0F8},
      {"rkRate", 332, 49, 104, 104, TKnobFamily::Dark, 11, {"Min", "Max"}, 0xF8F0F8},
      {"rkFeedback", 425, 49, 104, 104, TKnobFamily::Dark, 11, {"Min", "Max"}, 0xF8F0F8},
      {"rkMix", 425, 163, 104, 104, TKnobFamily::Dark, 11, {"Dry", "Wet"}, 0xC0C0C0},
  };
  return places;
}

// Where a knob puts the top-left corner of its body picture: Diameter 52
// div 2 up and left of its centre.
TPoint BodyCorner(const TKnobPlace& k) { return {k.Left + k.Width / 2 - 26, k.Top + k.Height / 2 - 26}; }

struct TButtonPlace {
  int32_t Left, Top;
  const char* UpOff;
};

const TButtonPlace kButtons[] = {{60, 191, "iUpOff"},  {178, 191, "IUpOff2"}, {258, 191, "IUpOff3"},
                                 {297, 191, "IUpOff4"}, {336, 191, "iUpOff"},  {375, 191, "IUpOff2"}};

TImage* AddHiddenImage(TForm& form, const TBitmap& picture) {
  auto* image = new TImage(&form);
  image->SetBounds(0, 0, picture.Width(), picture.Height());
  image->SetPicture(picture);
  image->SetVisible(false);
  image->SetParent(&form);
  return image;
}

// What a knob stands on: the plate beneath the body picture, averaged over
// the knobs of one family (they stand on slightly different greens).
TBackdrop FamilyBackdrop(const TBitmap& plate, TKnobFamily family) {
  std::vector<TPoint> corners;
  for (const TKnobPlace& k : KnobPlaces()) {
    if (k.Family == family) corners.push_back(BodyCorner(k));
  }
  return [&plate, corners](int32_t x, int32_t y) {
    TRgba sum;
    for (const TPoint& c : corners) {
      const TRgba p = Opaque(plate.Pixel(c.X + x, c.Y + y));
      sum = {sum.R + p.R, sum.G + p.G, sum.B + p.B, 1.0};
    }
    const double n = static_cast<double>(corners.size());
    return TRgba{sum.R / n, sum.G / n, sum.B / n, 1.0};
  };
}

void AddSurfaces(TForm& form) {
  auto* metal = new TBrushedMetal(&form);
  metal->SetParent(&form);
  metal->SetBounds(0, 0, kPlateWidth, kPlateHeight);
  metal->SetLight(0xECDFEC);
  metal->SetMedLight(0xE3E3E3);
  metal->SetMedDark(0xDBDBDB);
  metal->SetDark(0xD2D2D2);
  metal->SetShading(4);
  metal->SetQuantise(10);

  for (const int32_t x : {17, 540}) {
    auto* bevel = new TBevel(&form);
    bevel->SetParent(&form);
    bevel->SetBounds(x, 0, 9, 292);
  }
  const double slots[] = {0.35, 1.1, 0.8, 0.15};
  const TPoint screws[] = {{2, 6}, {545, 6}, {2, 273}, {545, 273}};
  for (int i = 0; i < 4; ++i) AddPrint(form, screws[i].X, screws[i].Y, ScrewHead(slots[i]));

  const struct {
    int32_t Left, Top, Width, Height;
  } panels[] = {{23, 6, 514, 41}, {23, 51, 114, 234}, {141, 51, 396, 118}, {141, 173, 396, 112}};
  for (const auto& r : panels) {
    auto* panel = new TPaintedPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(r.Left, r.Top, r.Width, r.Height);
    panel->SetFill1(0x00B300);
    panel->SetFill2(0x006C00);
    panel->SetBorder1(0x808080);
    panel->SetBorder2(0xE0E0E0);
    panel->SetRounding(10);
    panel->SetTexture(4);
    panel->SetShadeInParent(true);
  }

  AddPrint(form, 57, 188, ButtonHole(44, 51));
  AddPrint(form, 175, 188, ButtonHole(44, 51));
  AddPrint(form, 255, 188, ButtonHole(161, 51));
  for (const TKnobPlace& k : KnobPlaces()) {
    const TPoint corner = BodyCorner(k);
    AddPrint(form, corner.X - kShadowMargin, corner.Y - kShadowMargin, KnobShadow());
  }
}

void AddKnob(TForm& form, const TKnobPlace& place, TImage* body, TImage* disabled) {
  auto* knob = new TRubberKnob(&form);
  knob->SetName(place.Name);
  knob->SetParent(&form);
  knob->SetBounds(place.Left, place.Top, place.Width, place.Height);
  knob->SetFont(TFont{"MS Sans Serif", -11, clWindowText, false});
  knob->SetDiameter(52);
  knob->SetTicks(place.Ticks);
  knob->SetWedge(1.0f / 7.0f);
  knob->SetTextRadius(39);
  knob->SetTickRadius(30);
  knob->SetDotRadius(12);
  knob->SetColour(0xFBFBFB);
  knob->SetHilight(place.Hilight);
  knob->SetShadow(0x505050);
  knob->SetDoHilight(false);
  knob->SetDoShadow(true);
  TStringList labels;
  labels.SetStrings(place.Labels);
  knob->SetLabels(&labels);
  knob->SetMainImage(body);
  knob->SetDisabledImage(disabled);
}

void AddPrinting(TForm& form) {
  TTextStyle heading;
  heading.Size = 13;
  heading.Bold = true;
  TTextStyle caption;
  caption.Size = 11;
  constexpr TColour kWhite = 0xFFFFFF, kNearWhite = 0xF2F2F2, kShadow = 0x505050;

  AddText(form, 348, 12, "\xC2\xA9 2026 Ondrel Audio", caption, kNearWhite, kShadow);
  AddText(form, 406, 28, "ondrel-audio.example", caption, kNearWhite, kShadow);

  const struct {
    int32_t X, Y;
    const char* Text;
  } headings[] = {{61, 146, "Cutoff"}, {178, 146, "Delay"},         {273, 146, "Depth"}, {368, 146, "Rate"},
                  {443, 146, "Feedback"}, {182, 262, "Lo-fi"}, {286, 262, "Channel mode"}, {467, 262, "Mix"}};
  for (const auto& h : headings) AddText(form, h.X, h.Y, h.Text, heading, kWhite, kShadow);
  // Wrapped in its 40-pixel label; the second line falls on the row of the
  // other headings beneath the buttons, 16 pixels lower.
  AddText(form, 60, 246, "Bass mode", heading, kWhite, kShadow, 40, 16);

  const struct {
    int32_t X;
    const char* Text;
  } modes[] = {{263, "Mono"}, {300, "Stereo"}, {344, "Dual"}, {382, "Haas"}};
  for (const auto& m : modes) AddText(form, m.X, 243, m.Text, caption, kNearWhite, kShadow);
}

}  // namespace

std::vector<TPicture> MakeArtwork() {
  SetRandomState(0);
  std::vector<TPicture> pictures;

  pictures.push_back({"InnerDot", PointerDot()});
  const std::array<TBitmap, 4> shimmer = ShimmerFrames();
  for (int i = 0; i < 4; ++i) pictures.push_back({"IShimmer" + std::to_string(i + 1), shimmer[static_cast<size_t>(i)]});

  const char* const upOffNames[] = {"iUpOff", "IUpOff2", "IUpOff3", "IUpOff4"};
  for (int i = 0; i < 4; ++i) pictures.push_back({upOffNames[i], ButtonPicture(false, false, i)});
  pictures.push_back({"iDownOff", ButtonPicture(true, false)});
  pictures.push_back({"iUpOn", ButtonPicture(false, true)});
  pictures.push_back({"iDownOn", ButtonPicture(true, true)});

  TForm form;
  form.SetClientSize(kPlateWidth, kPlateHeight);
  THeadlessWindow& window = AttachHeadlessWindow(form);
  AddSurfaces(form);
  window.ProcessPaint();
  const TBitmap bare = window.Screen();

  const struct {
    TKnobFamily Family;
    const char* Name;
  } families[] = {{TKnobFamily::Light, "iKnobLight"}, {TKnobFamily::Normal, "iKnob"}, {TKnobFamily::Dark, "iKnobDark"}};
  std::vector<std::pair<TImage*, TImage*>> bodies;
  for (const auto& f : families) {
    const TBackdrop backdrop = FamilyBackdrop(bare, f.Family);
    TBitmap body = KnobBody(f.Family, false, backdrop);
    TBitmap disabled = KnobBody(f.Family, true, backdrop);
    bodies.emplace_back(AddHiddenImage(form, body), AddHiddenImage(form, disabled));
    pictures.push_back({f.Name, std::move(body)});
    pictures.push_back({std::string(f.Name) + "Disabled", std::move(disabled)});
  }

  const TBitmap logo = Keyed(
      LogoLayer(), [&](int32_t x, int32_t y) { return Opaque(bare.Pixel(31 + x, 8 + y)); }, 0.02, kLogoKey);
  pictures.push_back({"LogoImage", logo});
  auto* logoImage = new TImage(&form);
  logoImage->SetParent(&form);
  logoImage->SetBounds(31, 8, kLogoWidth, kLogoHeight);
  logoImage->SetPicture(logo);
  logoImage->SetTransparent(true);

  for (const TKnobPlace& k : KnobPlaces()) {
    const size_t family = static_cast<size_t>(k.Family);
    AddKnob(form, k, bodies[family].first, bodies[family].second);
  }

  for (const TButtonPlace& b : kButtons) {
    TImage* upOff = nullptr;
    for (const TPicture& p : pictures) {
      if (p.Name == b.UpOff) upOff = AddHiddenImage(form, p.Bitmap);
    }
    auto* button = new TRubberLEDButton(&form);
    button->SetParent(&form);
    button->SetBounds(b.Left, b.Top, 40, 48);
    button->SetUpOff(upOff);
    button->SetButtonState(rlbUpOff);
  }

  AddPrinting(form);
  form.InvalidateAll();
  window.ProcessPaint();
  pictures.push_back({"IFacePlate", window.Screen()});
  return pictures;
}
