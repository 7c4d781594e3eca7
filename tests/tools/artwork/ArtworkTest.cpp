#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "editor/assets/EmbeddedAssets.h"
#include "platform/BmpReader.h"

namespace {

namespace fs = std::filesystem;

struct TExpected {
  const char* Name;
  int32_t Width, Height;
};

// The bitmap sizes the form's layout gives each image component.
const TExpected kPictures[] = {{"IFacePlate", 560, 291},
                               {"iKnobLight", 56, 56},
                               {"iKnobLightDisabled", 56, 56},
                               {"iKnob", 56, 56},
                               {"iKnobDisabled", 56, 56},
                               {"iKnobDark", 56, 56},
                               {"iKnobDarkDisabled", 56, 56},
                               {"InnerDot", 6, 6},
                               {"IShimmer1", 36, 36},
                               {"IShimmer2", 36, 36},
                               {"IShimmer3", 36, 36},
                               {"IShimmer4", 36, 36},
                               {"iUpOff", 38, 45},
                               {"IUpOff2", 38, 45},
                               {"IUpOff3", 38, 45},
                               {"IUpOff4", 38, 45},
                               {"iDownOff", 38, 45},
                               {"iUpOn", 38, 45},
                               {"iDownOn", 38, 45},
                               {"LogoImage", 155, 39}};

const char* const kBodies[] = {"iKnobLight",    "iKnobLightDisabled", "iKnob",
                               "iKnobDisabled", "iKnobDark",          "iKnobDarkDisabled"};

TBitmap Embedded(const std::string& name) {
  TBitmap b;
  const TEmbeddedAsset* asset = FindEmbeddedAsset(name);
  if (asset == nullptr) ADD_FAILURE() << name << " is not embedded";
  std::string error;
  if (asset != nullptr && !ReadBmp(asset->Data, asset->Size, b, &error)) ADD_FAILURE() << name << ": " << error;
  return b;
}

std::vector<char> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> BitmapsIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".bmp") names.insert(entry.path().stem().string());
  }
  return names;
}

TEST(Artwork, TheCommittedPicturesAreWhatTheGeneratorDrawsNow) {
  std::string pattern = (fs::temp_directory_path() / "ondrel-artwork-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path folder = pattern;
  const std::string command = std::string("\"") + ONDREL_ARTWORK_TOOL + "\" \"" + folder.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::set<std::string> expected;
  for (const TExpected& p : kPictures) expected.insert(p.Name);
  EXPECT_EQ(BitmapsIn(folder), expected);
  EXPECT_EQ(BitmapsIn(ONDREL_ASSET_DIR), expected);
  for (const std::string& name : expected) {
    const std::vector<char> drawn = FileBytes(folder / (name + ".bmp"));
    const std::vector<char> committed = FileBytes(fs::path(ONDREL_ASSET_DIR) / (name + ".bmp"));
    EXPECT_TRUE(drawn == committed) << name << ".bmp differs from the generator's: run scripts/make-artwork.sh";
  }
  fs::remove_all(folder);
}

TEST(Artwork, EveryEmbeddedPictureDecodesToItsLayoutSize) {
  EXPECT_EQ(EmbeddedAssetCount(), std::size(kPictures));
  for (const TExpected& p : kPictures) {
    const TBitmap b = Embedded(p.Name);
    EXPECT_EQ(b.Width(), p.Width) << p.Name;
    EXPECT_EQ(b.Height(), p.Height) << p.Name;
  }
  EXPECT_EQ(FindEmbeddedAsset("iKnobLight.bmp"), nullptr);
}

// Pure white is what the knob leaves out of a body: all of it outside the
// 52-pixel disc about (26, 26), none of it inside. And an enabled and a
// disabled body cover the same pixels, or one would peek out from under the
// other on the face plate.
TEST(Artwork, KnobBodiesAreWhiteOutsideTheirDiscOnlyAndShareOneOutline) {
  const TBitmap first = Embedded(kBodies[0]);
  for (const char* name : kBodies) {
    const TBitmap body = Embedded(name);
    ASSERT_EQ(body.Width(), 56);
    for (int32_t y = 0; y < 56; ++y) {
      for (int32_t x = 0; x < 56; ++x) {
        const double r = std::hypot(x + 0.5 - 26.0, y + 0.5 - 26.0);
        const bool white = body.Pixel(x, y) == 0xFFFFFFu;
        if (r > 26.75) {
          ASSERT_TRUE(white) << name << " " << x << "," << y;
        }
        if (r < 25.5) {
          ASSERT_FALSE(white) << name << " " << x << "," << y;
        }
        ASSERT_EQ(white, first.Pixel(x, y) == 0xFFFFFFu) << name << " " << x << "," << y;
      }
    }
  }
}

// The knob draws a new shimmer frame over the last without clearing, so all
// frames must cover the same pixels; and the transparent colour (the
// bottom-left pixel) must not turn up in the light itself.
TEST(Artwork, OverlaysLeaveOutOnlyTheirTransparentColour) {
  const TBitmap frame1 = Embedded("IShimmer1");
  const TColour key = frame1.Pixel(0, 35);
  int32_t lit = 0;
  for (const char* name : {"IShimmer1", "IShimmer2", "IShimmer3", "IShimmer4"}) {
    const TBitmap frame = Embedded(name);
    EXPECT_FALSE(frame == frame1 && std::string(name) != "IShimmer1") << name << " does not move";
    for (int32_t y = 0; y < 36; ++y) {
      for (int32_t x = 0; x < 36; ++x) {
        const bool light = frame.Pixel(x, y) != key;
        ASSERT_EQ(light, frame1.Pixel(x, y) != key) << name << " " << x << "," << y;
        // On the cap, which ends 17 pixels from the knob's centre (18, 18).
        if (light) {
          ASSERT_LT(std::hypot(x + 0.5 - 18, y + 0.5 - 18), 17.0) << name;
        }
        lit += light ? 1 : 0;
      }
    }
  }
  EXPECT_GT(lit, 4 * 20);

  const TBitmap dot = Embedded("InnerDot");
  for (const auto& [x, y] : {std::pair{0, 0}, {5, 0}, {5, 5}}) EXPECT_EQ(dot.Pixel(x, y), dot.Pixel(0, 5));
  EXPECT_NE(dot.Pixel(2, 2), dot.Pixel(0, 5));
}

// The face plate shows each knob body and button where the live controls
// draw theirs: a body's top-left corner 26 pixels up and left of the knob's
// centre, a button's picture at the button's corner.
TEST(Artwork, TheFacePlateShowsBodiesAndButtonsWhereTheControlsDrawThem) {
  const TBitmap plate = Embedded("IFacePlate");
  const struct {
    int32_t Left, Top, Width, Height;
    const char* Body;
  } knobs[] = {{27, 49, 104, 104, "iKnobLight"}, {145, 49, 105, 104, "iKnob"},     {239, 49, 104, 104, "iKnob"},
               {332, 49, 104, 104, "iKnobDark"}, {425, 49, 104, 104, "iKnobDark"}, {425, 163, 104, 104, "iKnobDark"}};
  for (const auto& k : knobs) {
    const TBitmap body = Embedded(k.Body);
    const int32_t left = k.Left + k.Width / 2 - 26, top = k.Top + k.Height / 2 - 26;
    for (int32_t y = 0; y < 56; ++y) {
      for (int32_t x = 0; x < 56; ++x) {
        if (body.Pixel(x, y) == 0xFFFFFFu) continue;
        ASSERT_EQ(plate.Pixel(left + x, top + y), body.Pixel(x, y))
            << k.Body << " at " << k.Left << " " << x << "," << y;
      }
    }
  }
  const struct {
    int32_t Left, Top;
    const char* Picture;
  } buttons[] = {{60, 191, "iUpOff"},   {178, 191, "IUpOff2"}, {258, 191, "IUpOff3"},
                 {297, 191, "IUpOff4"}, {336, 191, "iUpOff"},  {375, 191, "IUpOff2"}};
  for (const auto& b : buttons) {
    const TBitmap picture = Embedded(b.Picture);
    for (int32_t y = 0; y < picture.Height(); ++y) {
      for (int32_t x = 0; x < picture.Width(); ++x) {
        ASSERT_EQ(plate.Pixel(b.Left + x, b.Top + y), picture.Pixel(x, y)) << b.Picture << " at " << b.Left;
      }
    }
  }
}

}  // namespace
