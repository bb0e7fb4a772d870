#include "render/FigureGeometry.h"

#include <algorithm>
#include <cmath>

namespace korvan {

using pixel::Coord;

CPoint ArrowHeadPoint(Coord x0, Coord x1, Coord y0, Coord y1, double angleDegrees, double length) {
  // Not 180/pi: the drawings this editor reproduces were made with this constant.
  const double theta = angleDegrees / 57.2958;
  // Every head is drawn at +-20 degrees: their sines and cosines are worked out once.
  static const double kCos20 = std::cos(20 / 57.2958), kSin20 = std::sin(20 / 57.2958);
  const bool usual = angleDegrees == 20 || angleDegrees == -20;
  const double cosT = usual ? kCos20 : std::cos(theta);
  const double sinT = usual ? (angleDegrees > 0 ? kSin20 : -kSin20) : std::sin(theta);
  const double dx = static_cast<double>(x0 - x1), dy = static_cast<double>(y0 - y1);
  const double fx1 = static_cast<double>(x1), fy1 = static_cast<double>(y1);
  const double gx = cosT * dx - sinT * dy + fx1;
  const double gy = sinT * dx + cosT * dy + fy1;
  const double shaft = std::sqrt((gx - fx1) * (gx - fx1) + (gy - fy1) * (gy - fy1));
  const double u = length != 0 ? shaft / length : 0;
  if (!std::isfinite(u) || 1 + u == 0) return {x1, y1};
  return {static_cast<Coord>(std::trunc((gx + fx1 * u) / (1 + u))),
          static_cast<Coord>(std::trunc((gy + fy1 * u) / (1 + u)))};
}

std::array<MarkRect, 8> MarkRectsOf(const stFigure& f, int markSize) {
  const Coord l = std::min(f.X0, f.X1), r = std::max(f.X0, f.X1);
  const Coord t = std::min(f.Y0, f.Y1), b = std::max(f.Y0, f.Y1);
  const Coord h = markSize / 2;
  const Coord mx = l + (r - l) / 2, my = t + (b - t) / 2;
  auto mark = [h](Coord cx, Coord cy) {
    return MarkRect{pixel::Saturate32(cx - h), pixel::Saturate32(cy - h), pixel::Saturate32(cx + h),
                    pixel::Saturate32(cy + h)};
  };
  std::array<MarkRect, 8> m;
  m[kMarkTopLeft] = mark(l, t);
  m[kMarkBottomLeft] = mark(l, b);
  m[kMarkTopRight] = mark(r, t);
  m[kMarkBottomRight] = mark(r, b);
  m[kMarkTopMiddle] = mark(mx, t);
  m[kMarkBottomMiddle] = mark(mx, b);
  m[kMarkLeftMiddle] = mark(l, my);
  m[kMarkRightMiddle] = mark(r, my);
  return m;
}

PixelRect MagnifierSourceRect(int x, int y, int magnifierW, int magnifierH, int bitmapW, int bitmapH) {
  const Coord hh = 10;
  Coord hw = 0;
  if (magnifierH > 0) {
    const double q = static_cast<double>(magnifierW) / magnifierH * 10;
    // Bounded only so that an absurd magnifier shape cannot overflow the arithmetic below.
    hw = static_cast<Coord>(std::trunc(std::clamp(q, 0.0, static_cast<double>(1 << 30))));
  }
  Coord left = std::max<Coord>(Coord{x} - hw, 0);
  Coord right = left + 2 * hw;
  if (right >= Coord{bitmapW} - 1) {
    right = Coord{bitmapW} - 2;
    left = right - 2 * hw;
  }
  Coord top = std::max<Coord>(Coord{y} - hh, 0);
  Coord bottom = top + 2 * hh;
  if (bottom >= Coord{bitmapH} - 1) {
    bottom = Coord{bitmapH} - 2;
    top = bottom - 2 * hh;
  }
  return {pixel::Saturate32(left), pixel::Saturate32(top), pixel::Saturate32(right), pixel::Saturate32(bottom)};
}

}  // namespace korvan
