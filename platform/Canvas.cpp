#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TCanvas::TCanvas(TBitmap& target) : TCanvas(target, TPoint{0, 0}, target.BoundsRect()) {}

TCanvas::TCanvas(TBitmap& target, TPoint origin, const TRect& clip)
    : target_(target), origin_(origin), clip_(clip.Intersect(target.BoundsRect())) {}

TColour TCanvas::Pixel(int32_t x, int32_t y) const {
  const int64_t tx = int64_t{origin_.X} + x;
  const int64_t ty = int64_t{origin_.Y} + y;
  if (!Visible(tx, ty)) return kNoPixel;
  return target_.Pixel(static_cast<int32_t>(tx), static_cast<int32_t>(ty));
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColour colour) {
  const int64_t tx = int64_t{origin_.X} + x;
  const int64_t ty = int64_t{origin_.Y} + y;
  if (Visible(tx, ty)) target_.SetPixel(static_cast<int32_t>(tx), static_cast<int32_t>(ty), colour);
}

void TCanvas::FillRect(const TRect& rect, TColour colour) {
  const TRect area = rect.Offset(origin_.X, origin_.Y).Intersect(clip_);
  const TColour value = ColourToRGB(colour);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    std::fill(target_.Row(y) + area.Left, target_.Row(y) + area.Right, value);
  }
}

namespace {

// The columns a rounded rectangle covers on one row, both inclusive.
struct TSpan {
  int64_t First;
  int64_t Last;
};

class TRoundedShape {
 public:
  TRoundedShape(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t ellipseWidth, int64_t ellipseHeight)
      : left_(left), top_(top), right_(right), bottom_(bottom) {
    const int64_t ew = std::clamp<int64_t>(ellipseWidth, 0, right - left);
    const int64_t eh = std::clamp<int64_t>(ellipseHeight, 0, bottom - top);
    rx_ = std::max(0.0, (static_cast<double>(ew) - 1.0) / 2.0);
    ry_ = std::max(0.0, (static_cast<double>(eh) - 1.0) / 2.0);
  }

  bool HasRow(int64_t y) const { return y >= top_ && y < bottom_; }

  // Pixel centres inside the quarter ellipses of the corners.
  TSpan Row(int64_t y) const {
    double dy = 0.0;
    if (static_cast<double>(y) < static_cast<double>(top_) + ry_)
      dy = static_cast<double>(top_) + ry_ - static_cast<double>(y);
    const double bottomCentre = static_cast<double>(bottom_ - 1) - ry_;
    if (static_cast<double>(y) > bottomCentre) dy = static_cast<double>(y) - bottomCentre;
    int64_t inset = 0;
    if (dy > 0.0 && ry_ > 0.0) {
      const double q = dy / ry_;
      const double extent = rx_ * std::sqrt(std::max(0.0, 1.0 - q * q));
      inset = static_cast<int64_t>(std::ceil(rx_ - extent - 1e-9));
    }
    return {left_ + inset, right_ - 1 - inset};
  }

 private:
  int64_t left_, top_, right_, bottom_;
  double rx_ = 0.0;
  double ry_ = 0.0;
};

}  // namespace

void TCanvas::RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, TColour pen, TColour brush) {
  const int64_t left = int64_t{origin_.X} + std::min(rect.Left, rect.Right);
  const int64_t right = int64_t{origin_.X} + std::max(rect.Left, rect.Right);
  const int64_t top = int64_t{origin_.Y} + std::min(rect.Top, rect.Bottom);
  const int64_t bottom = int64_t{origin_.Y} + std::max(rect.Top, rect.Bottom);
  if (right <= left || bottom <= top) return;
  const TRoundedShape shape(left, top, right, bottom, ellipseWidth, ellipseHeight);
  const TColour penValue = ColourToRGB(pen);
  const TColour brushValue = ColourToRGB(brush);

  const int64_t firstRow = std::max<int64_t>(top, clip_.Top);
  const int64_t lastRow = std::min<int64_t>(bottom, clip_.Bottom);
  for (int64_t y = firstRow; y < lastRow; ++y) {
    const TSpan span = shape.Row(y);
    const bool edgeRow = !shape.HasRow(y - 1) || !shape.HasRow(y + 1);
    const TSpan above = edgeRow ? span : shape.Row(y - 1);
    const TSpan below = edgeRow ? span : shape.Row(y + 1);
    const int64_t firstColumn = std::max<int64_t>(span.First, clip_.Left);
    const int64_t lastColumn = std::min<int64_t>(span.Last, int64_t{clip_.Right} - 1);
    TColour* row = target_.Row(static_cast<int32_t>(y));
    for (int64_t x = firstColumn; x <= lastColumn; ++x) {
      // A pixel of the shape with a 4-neighbour outside it is outline.
      const bool outline = edgeRow || x == span.First || x == span.Last || x < above.First || x > above.Last ||
                           x < below.First || x > below.Last;
      row[x] = outline ? penValue : brushValue;
    }
  }
}

void TCanvas::DottedPolyline(const TPoint* points, int32_t count, TColour colour) {
  const TColour value = ColourToRGB(colour);
  int64_t step = 0;
  for (int32_t i = 0; i + 1 < count; ++i) {
    int64_t x = points[i].X;
    int64_t y = points[i].Y;
    const int64_t x1 = points[i + 1].X;
    const int64_t y1 = points[i + 1].Y;
    const int64_t dx = std::llabs(x1 - x);
    const int64_t dy = -std::llabs(y1 - y);
    const int64_t sx = x < x1 ? 1 : -1;
    const int64_t sy = y < y1 ? 1 : -1;
    int64_t error = dx + dy;
    while (x != x1 || y != y1) {
      if (step++ % 2 == 0) {
        const int64_t tx = origin_.X + x;
        const int64_t ty = origin_.Y + y;
        if (Visible(tx, ty)) target_.SetPixel(static_cast<int32_t>(tx), static_cast<int32_t>(ty), value);
      }
      const int64_t twice = 2 * error;
      if (twice >= dy) {
        error += dy;
        x += sx;
      }
      if (twice <= dx) {
        error += dx;
        y += sy;
      }
    }
  }
}

void TCanvas::CopyRows(int32_t x, int32_t y, const TBitmap& source, bool transparent, TColour key) {
  const TRect placed = TRect::Bounds(ClampCoordinate(int64_t{origin_.X} + x), ClampCoordinate(int64_t{origin_.Y} + y),
                                     source.Width(), source.Height());
  const TRect area = placed.Intersect(clip_);
  if (area.IsEmpty()) return;
  const int32_t columns = area.Width();
  for (int32_t ty = area.Top; ty < area.Bottom; ++ty) {
    const TColour* from = source.Row(ty - placed.Top) + (area.Left - placed.Left);
    TColour* to = target_.Row(ty) + area.Left;
    if (!transparent) {
      std::copy(from, from + columns, to);
      continue;
    }
    for (int32_t i = 0; i < columns; ++i) {
      if (from[i] != key) to[i] = from[i];
    }
  }
}

void TCanvas::Draw(int32_t x, int32_t y, const TBitmap& source) { CopyRows(x, y, source, false, 0); }

void TCanvas::DrawTransparent(int32_t x, int32_t y, const TBitmap& source, TColour transparent) {
  CopyRows(x, y, source, true, ColourToRGB(transparent));
}

TTextExtent TCanvas::TextExtent(const TFont& font, std::string_view text) const {
  return CurrentFontEngine().Measure(font, text);
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text, const TFont& font) {
  const TColour value = ColourToRGB(font.Colour);
  const int64_t left = int64_t{origin_.X} + x;
  const int64_t top = int64_t{origin_.Y} + y;
  CurrentFontEngine().Rasterise(font, text, [&](int32_t px, int32_t py) {
    const int64_t tx = left + px;
    const int64_t ty = top + py;
    if (Visible(tx, ty)) target_.SetPixel(static_cast<int32_t>(tx), static_cast<int32_t>(ty), value);
  });
}
