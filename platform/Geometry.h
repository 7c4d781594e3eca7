// Points and rectangles in pixels. Coordinates are kept inside
// +-kCoordinateLimit so that a right edge (left + width) or a few pixels of
// offset can never overflow int32, whatever a control is told.
#pragma once

#include <algorithm>
#include <cstdint>

constexpr int32_t kCoordinateLimit = 1 << 29;

inline int32_t ClampCoordinate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, -kCoordinateLimit, kCoordinateLimit));
}

inline int32_t ClampExtent(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, kCoordinateLimit)); }

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }
  friend bool operator!=(const TPoint& a, const TPoint& b) { return !(a == b); }
};

// Right and Bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  static TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, ClampCoordinate(int64_t{left} + width), ClampCoordinate(int64_t{top} + height)};
  }
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  TRect Offset(int32_t dx, int32_t dy) const {
    return {ClampCoordinate(int64_t{Left} + dx), ClampCoordinate(int64_t{Top} + dy),
            ClampCoordinate(int64_t{Right} + dx), ClampCoordinate(int64_t{Bottom} + dy)};
  }
  TRect Intersect(const TRect& o) const {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
  }
  TRect Union(const TRect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right), std::max(Bottom, o.Bottom)};
  }
  friend bool operator==(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
  friend bool operator!=(const TRect& a, const TRect& b) { return !(a == b); }
};
