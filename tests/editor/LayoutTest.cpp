// The stored layout itself: a wrong name or position here shows as a knob
// without a body, a button in the wrong hole or a face plate out of step
// with the controls drawn over it.
#include <gtest/gtest.h>

#include <set>

#include "editor/EditorPictures.h"
#include "editor/FormLayout.h"
#include "editor/OndrelEditForm.h"
#include "platform/FontEngine.h"

namespace {

const TLayoutEntry* Entry(const std::string& name) {
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    if (entry.Name == name) return &entry;
  }
  return nullptr;
}

TEST(FormLayout, NamesAreUniqueAndEveryReferenceResolves) {
  std::set<std::string> names;
  for (const TLayoutEntry& entry : OndrelFormLayout()) EXPECT_TRUE(names.insert(entry.Name).second) << entry.Name;

  std::vector<std::string> images = {kKnobDot, kButtonDownOff, kButtonUpOn, kButtonDownOn};
  for (const char* shimmer : kKnobShimmers) images.push_back(shimmer);
  for (const TLayoutEntry& entry : OndrelFormLayout()) {
    for (const std::string* reference : {&entry.MainImage, &entry.DisabledImage, &entry.UpOff}) {
      if (!reference->empty()) images.push_back(*reference);
    }
    if (!entry.Picture.empty()) {
      EXPECT_FALSE(EditorPicture(entry.Picture).Empty()) << entry.Name << " has no picture " << entry.Picture;
    }
    for (const std::string* handler : {&entry.OnChange, &entry.OnLEDChange}) {
      if (handler->empty()) continue;
      EXPECT_NE(FindFormHandler(*handler), nullptr) << *handler;
    }
  }
  for (const std::string& image : images) {
    const TLayoutEntry* entry = Entry(image);
    ASSERT_NE(entry, nullptr) << image;
    EXPECT_EQ(entry->Kind, TLayoutKind::Image) << image;
    EXPECT_FALSE(EditorPicture(entry->Picture).Empty()) << image;
  }
}

TEST(FormLayout, PicturesHaveTheSizesTheControlsAreMadeFor) {
  struct {
    const char* name;
    int32_t width, height;
  } sizes[] = {{"IFacePlate", 560, 291}, {"iKnobLight", 56, 56}, {"iKnobDarkDisabled", 56, 56}, {"InnerDot", 6, 6},
               {"IShimmer3", 36, 36},    {"iUpOn", 38, 45},      {"IUpOff4", 38, 45},           {"LogoImage", 155, 39}};
  for (const auto& size : sizes) {
    const TBitmap picture = EditorPicture(size.name);
    EXPECT_EQ(picture.Width(), size.width) << size.name;
    EXPECT_EQ(picture.Height(), size.height) << size.name;
  }
  // Outside the round body the knob copies nothing: pure white corners.
  EXPECT_EQ(EditorPicture("iKnob").Pixel(0, 0), clWhite);
  EXPECT_EQ(EditorPicture("iKnobLightDisabled").Pixel(55, 55), clWhite);
}

TEST(FormLayout, VisibleComponentsLieOnTheFormAndKnobsCentreWhereThePlateDrawsThem) {
  SetFontEngine(BuiltinFontEngine());
  TOndrelEditForm form;
  int32_t shown = 0;
  for (const TGraphicControl* control : form.Controls()) {
    if (!control->Visible()) continue;
    ++shown;
    EXPECT_FALSE(control->BoundsRect().Intersect(form.ClientRect()) != control->BoundsRect()) << control->Name();
  }
  // The plate, 6 knobs with their dots, 6 buttons, the version and its shadow.
  EXPECT_EQ(shown, 1 + 12 + 6 + 2);
  const struct {
    const char* name;
    int32_t x, y;
  } centres[] = {{"rkCutoff", 79, 101}, {"rkDelay", 197, 101},    {"rkDepth", 291, 101},
                 {"rkRate", 384, 101},  {"rkFeedback", 477, 101}, {"rkMix", 477, 215}};
  for (const auto& centre : centres) {
    const TLayoutEntry* knob = Entry(centre.name);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->Left + knob->Width / 2, centre.x) << centre.name;
    EXPECT_EQ(knob->Top + knob->Height / 2, centre.y) << centre.name;
  }
  // The face plate lies under every control; the version text on top.
  const std::vector<TLayoutEntry>& layout = OndrelFormLayout();
  size_t plate = layout.size();
  for (size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].Name == "IFacePlate") plate = i;
    const bool control = layout[i].Kind == TLayoutKind::Knob || layout[i].Kind == TLayoutKind::LEDButton;
    if (!control) continue;
    EXPECT_GT(i, plate) << layout[i].Name << " lies under the face plate";
  }
  EXPECT_EQ(layout.back().Name, "labVersion");
}

}  // namespace
