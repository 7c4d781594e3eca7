// The drawing side of TRubberKnob: the paint handler and the composition of
// the cached picture (labels, body bitmap, tick marks), and the shimmer.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/BlendColour.h"
#include "controls/DesignFrame.h"
#include "controls/NumericText.h"
#include "controls/Random.h"
#include "controls/RubberKnob.h"
#include "core/FloatGuard.h"
#include "core/Rounding.h"

namespace {

// More ticks than this only overdraw one another; the cap keeps a wild Ticks
// from stalling the paint.
constexpr int32_t kMaxDrawnTicks = 4096;

// The body bitmaps' transparent colour, whatever TransColour is.
constexpr TColour kBodyTransparent = 0xFFFFFF;

int32_t Half(int32_t v) { return v / 2; }

}  // namespace

void TRubberKnob::Paint(TCanvas& canvas) {
  FloatGuard::Apply();
  if (!imageValid_) {
    imageCache_.SetSize(Width(), Height());
    ComposeImage();
    imageValid_ = true;
  }
  canvas.DrawTransparent(0, 0, imageCache_, transColour_);
  if (Enabled() && shimmerCount_ > 0) {
    if (const TImage* shimmer = shimmerList_[static_cast<size_t>(shimmerIndex_)]) {
      shimmer->DrawPicture(canvas, shimmerX_, shimmerY_);
    }
  }
  if (Designing()) DrawDesignFrame(canvas, Width(), Height());
}

void TRubberKnob::ComposeImage() {
  ++compositionCount_;
  centreX_ = Half(Width());
  centreY_ = Half(Height());
  imageCache_.FillRect(imageCache_.BoundsRect(), transColour_);
  labelFont_ = Font();
  DrawLabels();
  if (diameter_ > 0 && mainImage_ != nullptr && disabledImage_ != nullptr) DrawBody();
  DrawTicks();
  ChooseShimmer();
  // Puts the dot where the new centre says.
  SetValue(value_);
}

void TRubberKnob::DrawLabels() {
  if (labels_ == nullptr) return;
  const TStringList& labels = *labels_;
  const int32_t n = labels.Count();
  for (int32_t i = 0; i < n; ++i) {
    const TPoint p = DialPoint(centreX_, centreY_, static_cast<float>(i), n, angleOffset_, wedge_,
                               static_cast<float>(textRadius_), true)
                         .Point;
    int32_t nudge = 0;
    if ((i == 0 || i == n - 1) && !IsNumericText(labels[i])) {
      const int32_t widest =
          std::max(imageCache_.TextWidth(labelFont_, labels[0]), imageCache_.TextWidth(labelFont_, labels[n - 1]));
      nudge = ClampCoordinate(Round(static_cast<double>(widest) * static_cast<double>(botLabNudge_)));
      if (i != 0) nudge = -nudge;
    }
    const float sx = NarrowToFloat(Ratio(static_cast<double>(p.X) - centreX_, textRadius_));
    const float sy = NarrowToFloat(Ratio(static_cast<double>(centreY_) - p.Y, textRadius_));
    DrawLabel(p.X, p.Y, labels[i], nudge, sx, sy);
  }
}

void TRubberKnob::DrawLabel(int32_t x, int32_t y, const std::string& text, int32_t nudge, float sx, float sy) {
  if (text.empty()) return;
  const TTextExtent extent = imageCache_.TextExtent(labelFont_, text);
  const int32_t w = extent.Width;
  const int32_t h = extent.Height;
  const double length = static_cast<double>(text.size());
  const int32_t cw = text.size() == 1 ? Round(0.9 * w) : Round(w / length);

  // Wide arithmetic: a rounding of a degenerate ratio gives kRoundInvalid.
  int64_t left = x;
  int64_t top = int64_t{y} - Half(h);
  const bool side = text.size() > 2 || labels_->Count() % 2 != 0;
  const double pull = std::fabs(static_cast<double>(sx)) * cw;
  if (static_cast<double>(sx) < -0.01) {
    left = side ? left - w + Round(pull) : left - Half(w);
  } else if (static_cast<double>(sx) > 0.01) {
    left = side ? left - Round(pull) : left - Half(w);
  } else {
    left -= Half(w);
  }
  if (sy < 0.0f) top -= Round((1.0 - std::fabs(static_cast<double>(sy))) * 0.2 * h);

  const bool off = text == "Off";
  if (off) labelFont_.Bold = true;
  left += nudge;
  const int32_t px = ClampCoordinate(left);
  const int32_t py = ClampCoordinate(top);

  TFont font = labelFont_;
  if (doHilight_) {
    font.Colour = hilight_;
    imageCache_.TextOut(px - 1, py - 1, text, font);
  }
  if (doShadow_) {
    font.Colour = shadow_;
    imageCache_.TextOut(px + 1, py + 1, text, font);
  }
  font.Colour = colour_;
  imageCache_.TextOut(px, py, text, font);
  if (off) labelFont_.Bold = false;
}

void TRubberKnob::DrawBody() {
  const int32_t h = Half(diameter_);
  const int32_t k = Round(tickRadius_ / std::sqrt(2.0));
  const TBitmap& main = mainImage_->Picture();
  const TBitmap& source = Enabled() ? main : disabledImage_->Picture();
  const int32_t width = main.Width();
  const int32_t height = main.Height();
  const TColour colour = ColourToRGB(colour_);
  const TColour hilight = ColourToRGB(hilight_);
  const TColour shadow = ColourToRGB(shadow_);
  const double ringInner = static_cast<double>(tickRadius_) - 2.0;
  const double ringOuter = static_cast<double>(tickRadius_) + 2.0;

  for (int32_t i = 0; i < width; ++i) {
    const int64_t destX = int64_t{centreX_} - h + i;
    const int64_t ox = std::llabs(destX - centreX_);
    for (int32_t j = 0; j < height; ++j) {
      const int64_t destY = int64_t{centreY_} - h + j;
      if (destX < 0 || destY < 0 || destX >= imageCache_.Width() || destY >= imageCache_.Height()) continue;
      const int32_t dx = static_cast<int32_t>(destX);
      const int32_t dy = static_cast<int32_t>(destY);
      const int64_t oy = std::llabs(destY - centreY_);
      const double r = std::sqrt(static_cast<double>(ox * ox + oy * oy));
      // Near the diagonals of the tick ring the body must not cover the
      // ticks' text-coloured pixels already there.
      if (ox > k && oy > k && r > ringInner && r < ringOuter) {
        const TColour there = imageCache_.Pixel(dx, dy);
        if (there == colour || (doHilight_ && there == hilight) || (doShadow_ && there == shadow)) continue;
      }
      // A disabled picture smaller than the main one has nothing here.
      const TColour pixel = source.Pixel(i, j);
      if (pixel == kNoPixel || pixel == kBodyTransparent) continue;
      imageCache_.SetPixel(dx, dy, pixel);
    }
  }
}

void TRubberKnob::DrawTicks() {
  const TColour e = BlendColour(ColourToRGB(shadow_), ColourToRGB(colour_), 0.3, 1.0, 0.0);
  const TColour c = ColourToRGB(colour_);
  const int32_t count = std::min(ticks_, kMaxDrawnTicks);
  for (int32_t i = 0; i < count; ++i) {
    TDialPoint point = DialPoint(centreX_, centreY_, static_cast<float>(i), ticks_, angleOffset_, wedge_,
                                 static_cast<float>(tickRadius_), false);
    int64_t d = point.Degrees;
    if (d < 0) d += 360;
    const bool full = !(static_cast<size_t>(i) < showTicks_.size() && showTicks_[static_cast<size_t>(i)] == ' ');
    if (!full) {
      imageCache_.SetPixel(point.Point.X, point.Point.Y, c);
      continue;
    }
    // Ticks on the lower right face away from the light.
    if (d > 330) {
      DrawTick(point.Point, {e, c, e, c});
    } else if (d > 300) {
      DrawTick(point.Point, {e, e, e, c});
    } else if (d > 295) {
      DrawTick(point.Point, {e, e, c, c});
    } else {
      DrawTick(point.Point, {c, c, c, c});
    }
  }
}

void TRubberKnob::DrawTick(TPoint point, const std::array<TColour, 4>& pattern) {
  const int32_t s = doShadow_ && !doHilight_ ? -1 : 0;
  const int32_t x = point.X + s;
  const int32_t y = point.Y + s;
  if (doHilight_) imageCache_.FillRect(TRect{x - 1, y - 1, x + 1, y + 1}, hilight_);
  if (doShadow_) imageCache_.FillRect(TRect{x + 1, y + 1, x + 3, y + 3}, shadow_);
  imageCache_.SetPixel(x, y, pattern[0]);
  imageCache_.SetPixel(x + 1, y, pattern[1]);
  imageCache_.SetPixel(x, y + 1, pattern[2]);
  imageCache_.SetPixel(x + 1, y + 1, pattern[3]);
}

void TRubberKnob::ChooseShimmer() {
  shimmerCount_ = 0;
  for (TImage* shimmer : shimmers_) {
    if (shimmer != nullptr) shimmerList_[static_cast<size_t>(shimmerCount_++)] = shimmer;
  }
  if (shimmerCount_ == 0) return;
  shimmerIndex_ = Random(RandomStateOf(*this), shimmerCount_);
  // Sized by Shimmer1, or by the first frame there is when Shimmer1 is unset.
  const TBitmap& reference = (shimmers_[0] != nullptr ? shimmers_[0] : shimmerList_[0])->Picture();
  shimmerX_ = centreX_ - Half(reference.Width());
  shimmerY_ = centreY_ - Half(reference.Height());
  if (diameter_ % 2 != 0) {
    ++shimmerX_;
    ++shimmerY_;
  }
}
