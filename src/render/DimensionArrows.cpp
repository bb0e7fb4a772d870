// Dimension lines beside a figure with its measures written on them: the height to the side,
// reading upward, the length below (or, for triangles, on the side of the base).

#include <cmath>
#include <cstdlib>

#include "render/FigureDrawing.h"

namespace korvan {

using pixel::Coord;

namespace {

const QString& LabelFace() {
  static const QString face = QStringLiteral("Arial");
  return face;
}

const QString& MeasureLabel(PaintCache& cache, double value) {
  static const QString zero = QStringLiteral("0");
  const QString& text = cache.Number(value);
  // FormatNumber shows 0 as nothing; a dimension shows it.
  if (text.isEmpty() || text.trimmed().isEmpty()) return zero;
  return text;
}

Coord Distance(std::uint8_t byHand, std::int32_t distance, int nineHeight) {
  if (byHand != 0) return distance;
  return static_cast<Coord>(std::trunc(nineHeight * 1.3));
}

}  // namespace

void DrawDimensionArrows(PaintContext& ctx, const stFigure& f) {
  if (!f.ShowStrelki) return;
  const Coord x0 = f.X0, y0 = f.Y0, x1 = f.X1, y1 = f.Y1;
  // Small figures being drawn or dragged would drown in their own dimensions.
  if (ctx.options.MousePressed && (std::llabs(x0 - x1) < 20 || std::llabs(y0 - y1) < 20)) return;

  const int kind = f.Vid;
  const bool box = kind == 2;
  const bool centred = kind == 3 || kind == 4 || kind == 5 || kind == 9;
  const bool rightTriangle = kind == 6;
  const bool triangle = kind == 5 || kind == 6;
  if (!box && !centred && !rightTriangle) return;

  Canvas& c = ctx.canvas;
  const EditorState& st = ctx.state;
  const bool ownColours = st.StrelkiVidColor != 1;
  const ColorRef lineColor = ownColours ? f.PenColor : st.StrelkiColor;
  const ColorRef headColor = ownColours ? f.BrushColor : st.StrelkiColor;
  c.PenColor = lineColor;
  c.PenWidth = 1;
  c.PenStyle = kPenSolid;
  c.BrushStyle = kBrushSolid;
  c.SetFont(f.Font, &LabelFace());

  // The automatic distance is measured in the label font.
  const int nine = c.TextHeight();
  const Coord dh = Distance(f.VidStrelkaLineLengthHor, f.StrelkaLineLengthHor, nine);
  const Coord dv = Distance(f.VidStrelkaLineLengthVer, f.StrelkaLineLengthVer, nine);

  // Height: the vertical line to the right of the figure, or on the side of the right triangle's leg.
  Coord xs = 0, xe = 0;
  if (box) {
    xs = x1 > x0 ? x1 : x0;
    xe = xs + dv;
  } else if (rightTriangle) {
    xs = x0;
    xe = x1 > x0 ? x0 - dv : x0 + dv;
  } else if (x1 > x0) {
    xs = x0 + (x1 - x0) / 2;
    xe = x1 + dv;
  } else {
    xs = x1 + (x0 - x1) / 2;
    xe = x0 + dv;
  }
  c.Line(xs, y0, xe, y0);
  c.Line(xs, y1, xe, y1);
  DrawDoubleArrow(ctx, xe, y0, xe, y1, lineColor, 1, kPenSolid, headColor, kBrushSolid, true);

  const QString height = MeasureLabel(c.Cache(), f.Height);
  c.SetFont(f.Font, &LabelFace());
  c.BrushStyle = kBrushClear;
  const Coord ymid = std::min(y0, y1) + std::llabs(y1 - y0) / 2;
  c.TextOutUpward(xe - c.TextHeight(), ymid + c.TextWidth(height) / 2, height);

  // Length: the horizontal line below the figure, or on the side of a triangle's base.
  Coord ys = 0, ye = 0;
  if (box) {
    ys = y1 > y0 ? y1 : y0;
    ye = ys + dh;
  } else if (triangle) {
    ys = y1;
    ye = y1 > y0 ? y1 + dh : y1 - dh;
  } else if (y1 > y0) {
    ys = y0 + (y1 - y0) / 2;
    ye = y1 + dh;
  } else {
    ys = y1 + (y0 - y1) / 2;
    ye = y0 + dh;
  }
  c.PenColor = lineColor;
  c.PenWidth = 1;
  c.PenStyle = kPenSolid;
  c.Line(x0, ys, x0, ye);
  c.Line(x1, ys, x1, ye);
  DrawDoubleArrow(ctx, x0, ye, x1, ye, lineColor, 1, kPenSolid, headColor, kBrushSolid, true);

  const QString length = MeasureLabel(c.Cache(), f.Width);
  c.SetFont(f.Font, &LabelFace());
  c.BrushStyle = kBrushClear;
  const Coord xmid = std::min(x0, x1) + std::llabs(x1 - x0) / 2;
  c.TextOut(xmid - c.TextWidth(length) / 2, ye - c.TextHeight(), length);
}

}  // namespace korvan
