// One routine per figure kind and the dispatcher that picks it. What a kind draws, whether it
// carries a text and whether it gets dimension lines are all decided in this file.

#include "render/FigureDrawing.h"

#include <algorithm>

#include "render/FigureGeometry.h"

namespace korvan {

using pixel::Coord;

namespace {

constexpr double kHeadAngle = 20;
constexpr double kHeadLength = 14;

void PenFrom(Canvas& c, const stFigure& f) {
  c.PenColor = f.PenColor;
  c.PenWidth = f.PenWidth;
  c.PenStyle = f.PenStyle;
}

void BrushFrom(Canvas& c, const stFigure& f) {
  c.BrushColor = f.BrushColor;
  c.BrushStyle = f.BrushStyle;
}

// Outline variants draw with a clear brush and put the previous style back.
template <typename Draw>
void WithClearBrush(Canvas& c, Draw draw) {
  const std::uint8_t kept = c.BrushStyle;
  c.BrushStyle = kBrushClear;
  draw();
  c.BrushStyle = kept;
}

void DrawLine(PaintContext& ctx, const stFigure& f) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  BrushFrom(c, f);
  c.Line(f.X0, f.Y0, f.X1, f.Y1);
}

void DrawRectangle(PaintContext& ctx, stFigure& f) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  BrushFrom(c, f);
  // Four lines, each starting where the last one stopped, so the frame covers the same outer
  // pixels as the filled variant.
  c.Frame(f.X0, f.Y0, f.X1, f.Y1);
  LayoutAndDrawText(ctx, f);
  DrawDimensionArrows(ctx, f);
}

// Also the framed text box and the table cell; only the rectangle has dimension lines to draw.
void DrawFillRectangle(PaintContext& ctx, stFigure& f) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  BrushFrom(c, f);
  c.Rectangle(f.X0, f.Y0, Coord{f.X1} + 1, Coord{f.Y1} + 1);
  LayoutAndDrawText(ctx, f);
  if (!f.Is(FigureKind::Table)) DrawDimensionArrows(ctx, f);
}

void DrawRoundRect(PaintContext& ctx, const stFigure& f, bool filled) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  const int corner = static_cast<int>(std::clamp<Coord>(Coord{ctx.state.RoundRectRadius} * 2, 0, pixel::kCoordLimit));
  auto draw = [&] { c.RoundRect(f.X0, f.Y0, Coord{f.X1} + 1, Coord{f.Y1} + 1, corner, corner); };
  if (filled) {
    BrushFrom(c, f);
    draw();
  } else {
    WithClearBrush(c, draw);
  }
  DrawDimensionArrows(ctx, f);
}

void DrawEllipse(PaintContext& ctx, const stFigure& f, bool filled) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  if (filled) {
    BrushFrom(c, f);
    c.Ellipse(f.X0, f.Y0, f.X1, f.Y1);
  } else {
    c.BrushStyle = kBrushClear;
    c.Ellipse(f.X0, f.Y0, f.X1, f.Y1);
    // Unlike the other outlines, the ellipse leaves a solid brush behind.
    c.BrushStyle = kBrushSolid;
  }
  DrawDimensionArrows(ctx, f);
}

void DrawPolygonFigure(PaintContext& ctx, const stFigure& f, bool filled, const CPoint* points, std::size_t count) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  if (filled) {
    BrushFrom(c, f);
    c.Polygon(points, count);
  } else {
    WithClearBrush(c, [&] { c.Polygon(points, count); });
  }
  DrawDimensionArrows(ctx, f);
}

// Apex in the middle of the Y0 edge, base along Y1: dragged upward it stands on its head.
void DrawTriangle(PaintContext& ctx, const stFigure& f, bool filled) {
  const CPoint p[3] = {{f.X0, f.Y1}, {f.X0 + (Coord{f.X1} - f.X0) / 2, f.Y0}, {f.X1, f.Y1}};
  DrawPolygonFigure(ctx, f, filled, p, 3);
}

// The right angle at (X0, Y1).
void DrawSquareTriangle(PaintContext& ctx, const stFigure& f, bool filled) {
  const CPoint p[3] = {{f.X0, f.Y0}, {f.X1, f.Y1}, {f.X0, f.Y1}};
  DrawPolygonFigure(ctx, f, filled, p, 3);
}

void DrawRomb(PaintContext& ctx, const stFigure& f, bool filled) {
  const Coord mx = f.X0 + (Coord{f.X1} - f.X0) / 2, my = f.Y0 + (Coord{f.Y1} - f.Y0) / 2;
  const CPoint p[4] = {{f.X0, my}, {mx, f.Y0}, {f.X1, my}, {mx, f.Y1}};
  DrawPolygonFigure(ctx, f, filled, p, 4);
}

// Pen and brush of an arrow: a dashed shaft shows the scene background in its gaps, and so do
// the tail dot and the filled heads.
void ArrowPenAndBrush(PaintContext& ctx, ColorRef penColor, int penWidth, std::uint8_t penStyle, ColorRef brushColor,
                      std::uint8_t brushStyle) {
  Canvas& c = ctx.canvas;
  c.PenColor = penColor;
  c.PenWidth = penWidth;
  c.PenStyle = penStyle;
  c.BrushColor = penStyle != kPenSolid ? ctx.sceneBackground : brushColor;
  c.BrushStyle = brushStyle;
}

void DrawHead(Canvas& c, Coord fromX, Coord fromY, Coord tipX, Coord tipY, bool filled) {
  const CPoint a = ArrowHeadPoint(fromX, tipX, fromY, tipY, kHeadAngle, kHeadLength);
  const CPoint b = ArrowHeadPoint(fromX, tipX, fromY, tipY, -kHeadAngle, kHeadLength);
  if (filled) {
    const CPoint head[3] = {{tipX, tipY}, a, b};
    c.Polygon(head, 3);
  } else {
    c.Line(tipX, tipY, a.X, a.Y);
    c.Line(tipX, tipY, b.X, b.Y);
  }
}

void DrawStrelka(PaintContext& ctx, const stFigure& f, bool filled) {
  Canvas& c = ctx.canvas;
  ArrowPenAndBrush(ctx, f.PenColor, f.PenWidth, f.PenStyle, f.BrushColor, f.BrushStyle);
  c.Line(f.X0, f.Y0, f.X1, f.Y1);
  c.PenStyle = kPenSolid;
  c.BrushStyle = kBrushSolid;
  c.Ellipse(Coord{f.X0} - 4, Coord{f.Y0} - 4, Coord{f.X0} + 4, Coord{f.Y0} + 4);
  DrawHead(c, f.X0, f.Y0, f.X1, f.Y1, filled);
}

void DrawTextBox(PaintContext& ctx, stFigure& f, bool filled) {
  if (filled) {
    DrawFillRectangle(ctx, f);
  } else {
    LayoutAndDrawText(ctx, f);
  }
}

void DrawPicture(PaintContext& ctx, const stFigure& f) {
  PenFrom(ctx.canvas, f);
  ctx.canvas.StretchDraw(f.X0, f.Y0, f.X1, f.Y1, f.Picture);
}

void DrawCurve(PaintContext& ctx, const stFigure& f, bool filled) {
  Canvas& c = ctx.canvas;
  PenFrom(c, f);
  BrushFrom(c, f);
  if (f.Points.empty()) return;
  if (filled) {
    c.Polygon(f.Points.data(), f.Points.size());
  } else {
    // Move to the first point and line to every point, the first included: one point shows nothing.
    c.Polyline(f.Points.data(), f.Points.size());
  }
}

// The body for the figure's kind and fill; a code that names no kind draws nothing.
void DrawBody(PaintContext& ctx, stFigure& f) {
  const bool filled = f.VidFill != 0;
  if (f.Vid >= kFigureKindCount) return;
  switch (f.Kind()) {
    case FigureKind::None: return;
    case FigureKind::Line: return DrawLine(ctx, f);
    case FigureKind::Rectangle: return filled ? DrawFillRectangle(ctx, f) : DrawRectangle(ctx, f);
    case FigureKind::RoundRect: return DrawRoundRect(ctx, f, filled);
    case FigureKind::Ellipse: return DrawEllipse(ctx, f, filled);
    case FigureKind::Triangle: return DrawTriangle(ctx, f, filled);
    case FigureKind::SquareTriangle: return DrawSquareTriangle(ctx, f, filled);
    case FigureKind::Strelka: return DrawStrelka(ctx, f, filled);
    case FigureKind::DoubleStrelka:
      return DrawDoubleArrow(ctx, f.X0, f.Y0, f.X1, f.Y1, f.PenColor, f.PenWidth, f.PenStyle, f.BrushColor,
                             f.BrushStyle, filled);
    case FigureKind::Romb: return DrawRomb(ctx, f, filled);
    case FigureKind::Text: return DrawTextBox(ctx, f, filled);
    case FigureKind::Picture:
    case FigureKind::Photo: return DrawPicture(ctx, f);
    case FigureKind::Table: return DrawFillRectangle(ctx, f);
    case FigureKind::Curve: return DrawCurve(ctx, f, filled);
  }
}

}  // namespace

void DrawDoubleArrow(PaintContext& ctx, Coord x0, Coord y0, Coord x1, Coord y1, ColorRef penColor, int penWidth,
                     std::uint8_t penStyle, ColorRef brushColor, std::uint8_t brushStyle, bool filled) {
  Canvas& c = ctx.canvas;
  ArrowPenAndBrush(ctx, penColor, penWidth, penStyle, brushColor, brushStyle);
  c.Line(x0, y0, x1, y1);
  c.PenStyle = kPenSolid;
  c.BrushStyle = kBrushSolid;
  DrawHead(c, x1, y1, x0, y0, filled);
  DrawHead(c, x0, y0, x1, y1, filled);
}

void DrawSelectionMarks(PaintContext& ctx, stFigure& f) {
  Canvas& c = ctx.canvas;
  const ColorRef mark = InvertedColor(ctx.sceneBackground);
  ctx.state.MarkColor = mark;
  c.PenColor = mark;
  c.BrushColor = mark;
  c.PenWidth = 1;

  f.MarkRects = MarkRectsOf(f, ctx.state.MarkSize);
  for (int i : {kMarkTopLeft, kMarkTopRight, kMarkBottomRight, kMarkBottomLeft, kMarkTopMiddle, kMarkLeftMiddle,
                kMarkBottomMiddle, kMarkRightMiddle}) {
    const MarkRect& m = f.MarkRects[static_cast<std::size_t>(i)];
    c.FillRect(pixel::WinRect{m.Left, m.Top, m.Right, m.Bottom}, mark);
  }

  // The dotted frame; its gaps show the background, which needs a solid brush of that colour.
  const std::uint8_t keptPenStyle = c.PenStyle;
  c.PenStyle = kPenDot;
  c.BrushColor = ctx.state.BackgroundColor;
  c.BrushStyle = kBrushSolid;
  const int l = std::min(f.X0, f.X1), r = std::max(f.X0, f.X1);
  const int t = std::min(f.Y0, f.Y1), b = std::max(f.Y0, f.Y1);
  const QPoint frame[5] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
  c.Polyline(frame, 5);
  c.PenStyle = keptPenStyle;
}

void DrawFigure(PaintContext& ctx, stFigure& f) {
  DrawBody(ctx, f);
  if (!f.Selected) return;
  const bool curveBeingDrawn = f.Is(FigureKind::Curve) && ctx.options.MousePressed && !ctx.options.DragExisting;
  if (!curveBeingDrawn) DrawSelectionMarks(ctx, f);
}

}  // namespace korvan
