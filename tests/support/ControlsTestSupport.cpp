#include "ControlsTestSupport.h"

#include <cmath>

#include "platform/FontEngine.h"

TTestForm::TTestForm(int32_t width, int32_t height) {
  SetFontEngine(BuiltinFontEngine());
  form.SetClientSize(width, height);
  form.SetColour(0x202020);
  window = &AttachHeadlessWindow(form);
}

TImage* MakeImage(TForm& form, const TBitmap& bitmap, bool transparent) {
  auto* image = new TImage(&form);
  image->SetBounds(0, 0, bitmap.Width(), bitmap.Height());
  image->SetPicture(bitmap);
  image->SetTransparent(transparent);
  image->SetVisible(false);
  image->SetParent(&form);
  return image;
}

TBitmap SolidBitmap(int32_t width, int32_t height, TColour colour) { return TBitmap(width, height, colour); }

TBitmap BodyBitmap(int32_t size, TColour cap) {
  TBitmap bitmap(size, size, clWhite);
  const double c = (size - 1) / 2.0;
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const double r = std::hypot(x - c, y - c);
      if (r <= c - 4) {
        // A cap lit from the upper left.
        const double light = 1.0 - 0.35 * ((x + y) / (2.0 * size));
        bitmap.SetPixel(
            x, y,
            MakeColour(static_cast<uint32_t>(RedOf(cap) * light), static_cast<uint32_t>(GreenOf(cap) * light),
                       static_cast<uint32_t>(BlueOf(cap) * light)));
      } else if (r <= c) {
        bitmap.SetPixel(x, y, 0x282828);
      }
    }
  }
  return bitmap;
}

TBitmap DotBitmap(int32_t size, TColour colour) {
  TBitmap bitmap(size, size, clWhite);
  const double c = (size - 1) / 2.0;
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      if (std::hypot(x - c, y - c) <= c + 0.3) bitmap.SetPixel(x, y, colour);
    }
  }
  return bitmap;
}

TRect InkBox(const TBitmap& bitmap, TColour colour, const TRect& area) {
  TRect box;
  const TRect clipped = area.Intersect(bitmap.BoundsRect());
  for (int32_t y = clipped.Top; y < clipped.Bottom; ++y) {
    for (int32_t x = clipped.Left; x < clipped.Right; ++x) {
      if (bitmap.Pixel(x, y) == colour) box = box.Union(TRect{x, y, x + 1, y + 1});
    }
  }
  return box;
}

TRect InkBox(const TBitmap& bitmap, TColour colour) { return InkBox(bitmap, colour, bitmap.BoundsRect()); }

int32_t CountPixels(const TBitmap& bitmap, TColour colour) {
  int32_t count = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) count += bitmap.Pixel(x, y) == colour ? 1 : 0;
  }
  return count;
}
