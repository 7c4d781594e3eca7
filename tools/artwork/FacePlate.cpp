// The face plate is composed on a form of the editor's size from the same
// controls the editor uses (brushed metal, painted panels, knobs, LED
// buttons) plus printed details, and taken off the headless window. The
// pictures that stand on the plate with a soft edge (knob bodies, logo) are
// blended over the plate's own pixels beneath them, so their edges match it.
#include <cmath>
#include <stdexcept>

#include "controls/BrushedMetal.h"
#include "controls/PaintedPanel.h"
#include "controls/RubberKnob.h"
#include "controls/RubberLEDButton.h"
#include "editor/FaceLooks.h"
#include "editor/FormLayout.h"
#include "platform/Bevel.h"
#include "platform/Form.h"
#include "platform/HeadlessWindow.h"
#include "platform/Image.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/ButtonArt.h"
#include "tools/artwork/KnobArt.h"
#include "tools/artwork/LogoArt.h"
#include "tools/artwork/PlateParts.h"

namespace {

constexpr int32_t kPlateWidth = kFormWidth;
constexpr int32_t kPlateHeight = kFormHeight;

struct TKnobPlace {
  const TLayoutEntry* Entry;
  TKnobFamily Family;
};

// The knob families with the names the layout gives their body pictures, in
// the order of TKnobFamily.
const struct {
  TKnobFamily Family;
  const char* Name;
} kFamilies[] = {{TKnobFamily::Light, "iKnobLight"}, {TKnobFamily::Normal, "iKnob"}, {TKnobFamily::Dark, "iKnobDark"}};

TKnobFamily FamilyOf(const std::string& mainImage) {
  for (const auto& f : kFamilies) {
    if (mainImage == f.Name) return f.Family;
  }
  return TKnobFamily::Normal;
}

// The layout's entry of that name; the plate draws what the form shows there.
const TLayoutEntry& LayoutEntry(const std::string& name) {
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Name == name) return entry;
  }
  throw std::runtime_error("the form's layout has no " + name);
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

  for (const char* name : {"Bevel1", "Bevel2"}) {
    const TLayoutEntry& entry = LayoutEntry(name);
    auto* bevel = new TBevel(&form);
    bevel->SetParent(&form);
    bevel->SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
  }
  // Each screw's slot at its own angle.
  const double slots[] = {0.35, 1.1, 0.8, 0.15};
  for (int i = 0; i < 4; ++i) {
    const TLayoutEntry& screw = LayoutEntry("imageScrew" + std::to_string(i + 1));
    AddPrint(form, screw.Left, screw.Top, ScrewHead(slots[i]));
  }

  // The form keeps its panels below the client area, where its metal lies;
  // the plate shows them moved up into place.
  const int32_t panelStorageOffset = LayoutEntry("BrushedMetal").Top;
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Kind != TLayoutKind::PaintedPanel) continue;
    auto* panel = new TPaintedPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(entry.Left, entry.Top - panelStorageOffset, entry.Width, entry.Height);
    ApplyPanelLook(*panel);
  }

  for (const char* name : {"iBassModeButtonHole", "iLoFiButtonHole", "i4ButtonHole"}) {
    const TLayoutEntry& hole = LayoutEntry(name);
    AddPrint(form, hole.Left, hole.Top, ButtonHole(hole.Width, hole.Height));
  }
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
  std::vector<TPicture> pictures;

  pictures.push_back({kKnobDot, PointerDot()});
  const std::array<TBitmap, 4> shimmer = ShimmerFrames();
  for (size_t i = 0; i < 4; ++i) pictures.push_back({kKnobShimmers[i], shimmer[i]});

  const char* const upOffNames[] = {"iUpOff", "IUpOff2", "IUpOff3", "IUpOff4"};
  for (int i = 0; i < 4; ++i) pictures.push_back({upOffNames[i], ButtonPicture(false, false, i)});
  pictures.push_back({kButtonDownOff, ButtonPicture(true, false)});
  pictures.push_back({kButtonUpOn, ButtonPicture(false, true)});
  pictures.push_back({kButtonDownOn, ButtonPicture(true, true)});

  TForm form;
  form.SetClientSize(kPlateWidth, kPlateHeight);
  THeadlessWindow& window = AttachHeadlessWindow(form);
  AddSurfaces(form);
  window.ProcessPaint();
  const TBitmap bare = window.Screen();

  std::vector<std::pair<TImage*, TImage*>> bodies;
  for (const auto& f : kFamilies) {
    const TBackdrop backdrop = FamilyBackdrop(bare, f.Family);
    TBitmap body = KnobBody(f.Family, false, backdrop);
    TBitmap disabled = KnobBody(f.Family, true, backdrop);
    bodies.emplace_back(AddHiddenImage(form, body), AddHiddenImage(form, disabled));
    pictures.push_back({f.Name, std::move(body)});
    pictures.push_back({std::string(f.Name) + "Disabled", std::move(disabled)});
  }

  const TLayoutEntry& logoPlace = LayoutEntry("LogoImage");
  const TBitmap logo = Keyed(
      LogoLayer(), [&](int32_t x, int32_t y) { return Opaque(bare.Pixel(logoPlace.Left + x, logoPlace.Top + y)); },
      0.02, kLogoKey);
  pictures.push_back({logoPlace.Picture, logo});
  auto* logoImage = new TImage(&form);
  logoImage->SetParent(&form);
  logoImage->SetBounds(logoPlace.Left, logoPlace.Top, kLogoWidth, kLogoHeight);
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
