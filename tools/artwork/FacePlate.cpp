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
#include "FaceLooks.h"
#include "Form.h"
#include "FormLayout.h"
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

constexpr int32_t kPlateWidth = kFormWidth;
constexpr int32_t kPlateHeight = kFormHeight;

struct TKnobPlace {
  const TLayoutEntry* Entry;
  TKnobFamily Family;
};

TKnobFamily FamilyOf(const std::string& mainImage) {
  if (mainImage == "iKnobLight") return TKnobFamily::Light;
  if (mainImage == "iKnobDark") return TKnobFamily::Dark;
  return TKnobFamily::Normal;
}

// The form's knobs, drawn here with their legends as the live knobs draw
// everything else over the plate.
const std::vector<TKnobPlace>& KnobPlaces() {
  static const std::vector<TKnobPlace> places = [] {
    std::vector<TKnobPlace> found;
    for (const TLayoutEntry& entry : OndrelFormLayout()) {
      if (entry.Kind == TLayoutKind::Knob) found.push_back({&entry, FamilyOf(entry.MainImage)});
    }
    return found;
  }();
  return places;
}

// Where a knob puts the top-left corner of its body picture: Diameter 52
// div 2 up and left of its centre.
TPoint BodyCorner(const TKnobPlace& k) {
  const TLayoutEntry& e = *k.Entry;
  return {e.Left + e.Width / 2 - kKnobDiameter / 2, e.Top + e.Height / 2 - kKnobDiameter / 2};
}

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
  ApplyMetalLook(*metal);

  for (const int32_t x : {17, 540}) {
    auto* bevel = new TBevel(&form);
    bevel->SetParent(&form);
    bevel->SetBounds(x, 0, 9, 292);
  }
  const double slots[] = {0.35, 1.1, 0.8, 0.15};
  const TPoint screws[] = {{2, 6}, {545, 6}, {2, 273}, {545, 273}};
  for (int i = 0; i < 4; ++i) AddPrint(form, screws[i].X, screws[i].Y, ScrewHead(slots[i]));

  // The form keeps its panels below the client area; the plate shows them
  // moved up into place.
  constexpr int32_t kPanelStorageOffset = 285;
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Kind != TLayoutKind::PaintedPanel) continue;
    auto* panel = new TPaintedPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(entry.Left, entry.Top - kPanelStorageOffset, entry.Width, entry.Height);
    ApplyPanelLook(*panel);
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
  const TLayoutEntry& entry = *place.Entry;
  auto* knob = new TRubberKnob(&form);
  knob->SetName(entry.Name);
  knob->SetParent(&form);
  knob->SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
  ApplyKnobLook(*knob, entry);
  knob->SetMainImage(body);
  knob->SetDisabledImage(disabled);
}

// The headings and captions the form keeps as hidden label pairs; the plate
// prints them. Headings are the bold ones; a label taller than a line wraps.
void AddPrinting(TForm& form) {
  TTextStyle heading;
  heading.Size = 13;
  heading.Bold = true;
  TTextStyle caption;
  caption.Size = 11;
  constexpr int32_t kHeadingLine = 16;
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Kind != TLayoutKind::Label || entry.Caption.empty()) continue;
    const std::string& name = entry.Name;
    const bool shadowTwin = name.size() > 6 && name.compare(name.size() - 6, 6, "Shadow") == 0;
    if (shadowTwin || name == "labVersion") continue;
    const bool wraps = entry.Bold && entry.Height > kHeadingLine;
    AddText(form, entry.Left, entry.Top, entry.Caption, entry.Bold ? heading : caption, entry.FontColour, kKnobShadow,
            wraps ? entry.Width : 0, wraps ? kHeadingLine : 0);
  }
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

  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Kind != TLayoutKind::LEDButton) continue;
    TImage* upOff = nullptr;
    for (const TPicture& p : pictures) {
      if (p.Name == entry.UpOff) upOff = AddHiddenImage(form, p.Bitmap);
    }
    auto* button = new TRubberLEDButton(&form);
    button->SetParent(&form);
    button->SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
    button->SetUpOff(upOff);
    button->SetButtonState(rlbUpOff);
  }

  AddPrinting(form);
  form.InvalidateAll();
  window.ProcessPaint();
  pictures.push_back({"IFacePlate", window.Screen()});
  return pictures;
}
