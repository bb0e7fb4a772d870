#pragma once
// Pure geometry of the painter, free of any image: arrow heads, selection marks, the mark colour
// and the magnifier's source rectangle. Hit-testing and the window use the same functions.

#include <array>
#include <cstdint>

#include "model/Figure.h"
#include "render/PixelRules.h"

namespace korvan {

// One side point of an arrow head whose tip is (x1, y1) and whose shaft comes from (x0, y0): the
// shaft direction turned by angleDegrees (converted with 57.2958 degrees per radian) about the tip,
// at distance L*length/(L + length) from it, L being the shaft length; coordinates truncate toward
// zero. A zero-length arrow gives the tip itself.
CPoint ArrowHeadPoint(pixel::Coord x0, pixel::Coord x1, pixel::Coord y0, pixel::Coord y1, double angleDegrees,
                      double length);

// Index of each mark in stFigure::MarkRects.
enum MarkIndex : int {
  kMarkTopLeft = 0,
  kMarkBottomLeft = 1,
  kMarkTopRight = 2,
  kMarkBottomRight = 3,
  kMarkTopMiddle = 4,
  kMarkBottomMiddle = 5,
  kMarkLeftMiddle = 6,
  kMarkRightMiddle = 7,
};

// The eight mark rectangles of a figure in MarkRects order: squares (cx - h, cy - h, cx + h, cy + h)
// with h = markSize / 2 about the corners and edge midpoints of the normalised bounding box; the
// midpoints are L + (R - L) / 2 and T + (B - T) / 2, truncated. The same for a figure stored
// backwards as for one stored forwards. Values beyond 32 bits saturate.
std::array<MarkRect, 8> MarkRectsOf(const stFigure& figure, int markSize);

// The channel-wise complement of a colour: what marks and the caret use on that background.
constexpr ColorRef InvertedColor(ColorRef background) { return ~background & 0x00FFFFFFu; }

// A rectangle as (left, top, right, bottom).
struct PixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The part of the scene image the magnifier shows for the mouse at (x, y), magnifierW x
// magnifierH being the magnifier's size and bitmapW x bitmapH the image's: half height 10, half
// width trunc(W / H * 10); the rectangle starts at the mouse minus the half sizes, not left of or
// above 0, and is moved back when its far edge reaches the last pixel row or column. On an image
// narrower or lower than the rectangle it may start at a negative coordinate: the copy then simply
// shows nothing there. A magnifier without height has half width 0.
PixelRect MagnifierSourceRect(int x, int y, int magnifierW, int magnifierH, int bitmapW, int bitmapH);

}  // namespace korvan
