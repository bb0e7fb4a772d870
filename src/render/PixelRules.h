#pragma once
// How the scene's raster rules become QPainter calls. Every drawing routine converts through these
// helpers and nowhere else:
//  - a rectangle (left, top, right, bottom) covers left .. right - 1 and top .. bottom - 1, and the
//    shape routines normalise a rectangle given backwards;
//  - a one-pixel line leaves out its end point (a flat-capped QPen does exactly that);
//  - integer halves truncate toward zero (C++ division already does).
// Figure arithmetic such as X1 + 1 or X0 + distance is done in 64 bits so that corners anywhere in
// the 32-bit range cannot overflow; coordinates are brought into QPainter's comfortable range here.

#include <QColor>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/Figure.h"

namespace korvan::pixel {

using Coord = std::int64_t;

// Far beyond any scene image (3000 x 2000 at most) and any pen, yet small enough that QPainter's
// integer and fixed-point paths cannot overflow. Axis-aligned shapes are clamped to it, which keeps
// their visible part exact; slanted ones are clipped instead (Canvas).
inline constexpr Coord kCoordLimit = Coord{1} << 20;

// Pens wider than this are drawn this wide: a wider pen would only flood the image and cost time.
inline constexpr int kMaxPenWidth = 1000;

constexpr Coord Half(Coord v) { return v / 2; }

constexpr Coord ClampCoord(Coord v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

constexpr bool InLimit(Coord v) { return v >= -kCoordLimit && v <= kCoordLimit; }

// A value stored back into a 32-bit field (mark rectangles, text lines) saturates instead of wrapping.
constexpr std::int32_t Saturate32(Coord v) {
  return static_cast<std::int32_t>(
      std::clamp<Coord>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// 0x00BBGGRR to an opaque QColor.
inline QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Rectangle in Windows form, normalised and clamped: left < right and top < bottom when it covers
// anything.
struct WinRect {
  Coord Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

inline WinRect Normalised(Coord l, Coord t, Coord r, Coord b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return {ClampCoord(l), ClampCoord(t), ClampCoord(r), ClampCoord(b)};
}

// The QRect that QPainter outlines (with a one-pixel pen) and fills over the pixels of r:
// drawRect and drawEllipse reach x + width inclusive, so the exclusive right edge is width + 1.
inline QRect ShapeRect(const WinRect& r) {
  return QRect(static_cast<int>(r.Left), static_cast<int>(r.Top), static_cast<int>(r.Right - r.Left - 1),
               static_cast<int>(r.Bottom - r.Top - 1));
}

// The QRect that fillRect covers exactly: x .. x + width - 1.
inline QRect FillRect(const WinRect& r) {
  return QRect(static_cast<int>(r.Left), static_cast<int>(r.Top), static_cast<int>(r.Right - r.Left),
               static_cast<int>(r.Bottom - r.Top));
}

}  // namespace korvan::pixel

namespace korvan {

// A point of figure geometry, wide so that derived corners cannot overflow.
struct CPoint {
  pixel::Coord X = 0, Y = 0;
  friend bool operator==(const CPoint&, const CPoint&) = default;
};

}  // namespace korvan
