// The text of rectangles, text boxes and table cells: broken into words, filled into lines as wide
// as the box allows, drawn with its alignment, recorded line by line for the in-place editor.

#include "render/TextLayout.h"

#include <algorithm>

#include "render/FigureDrawing.h"

namespace korvan {

using pixel::Coord;

namespace {

// A view of part of the text without copying it; valid while text lives unchanged.
QString Part(const QString& text, qsizetype start, qsizetype length) {
  return QString::fromRawData(text.constData() + start, length);
}

bool InsideBox(const stFigure& f, Coord x, Coord y) {
  return ((f.X0 <= x && x <= f.X1) || (f.X1 <= x && x <= f.X0)) &&
         ((f.Y0 <= y && y <= f.Y1) || (f.Y1 <= y && y <= f.Y0));
}

// Start of a text of width w between left and right for the alignment (0 left, 1 centre, 2 right,
// anything else left).
Coord AlignedX(std::uint8_t position, Coord left, Coord right, Coord w) {
  switch (position) {
    case 1: return left + (right - left) / 2 - w / 2;
    case 2: return right - w;
    default: return left;
  }
}

bool SameLine(const stTextLine& line, Coord l, Coord t, Coord r, Coord b, const QString& text) {
  return line.Left == pixel::Saturate32(l) && line.Top == pixel::Saturate32(t) &&
         line.Right == pixel::Saturate32(r) && line.Bottom == pixel::Saturate32(b) && line.Text == text;
}

}  // namespace

void SplitWordSpans(const QString& text, std::vector<WordSpan>& words) {
  words.clear();
  qsizetype start = 0;
  const qsizetype n = text.size();
  while (start < n) {
    qsizetype cut = text.indexOf(QLatin1Char(' '), start);
    if (cut < 0) cut = text.indexOf(QLatin1Char('-'), start);
    if (cut < 0) break;
    words.push_back({start, cut + 1 - start});
    start = cut + 1;
  }
  if (start < n) words.push_back({start, n - start});
}

QStringList SplitWords(const QString& text) {
  std::vector<WordSpan> spans;
  SplitWordSpans(text, spans);
  QStringList words;
  words.reserve(static_cast<qsizetype>(spans.size()));
  for (const WordSpan& w : spans) words.append(text.mid(w.start, w.length));
  return words;
}

namespace {

// Fills lines word by word: a word that fits joins the line, one that does not starts the next,
// and a word wider than the whole room stands alone (and is cut when drawn).
void BreakLines(Canvas& c, const QString& text, Coord room, std::vector<WordSpan>& lines) {
  thread_local std::vector<WordSpan> words;
  SplitWordSpans(text, words);
  lines.clear();
  // The words of a line are consecutive, so a line is the stretch of text from lineStart.
  qsizetype lineStart = 0, lineLength = 0;
  std::size_t i = 0;
  const std::size_t count = words.size();
  while (i < count) {
    const WordSpan& w = words[i];
    const qsizetype from = lineLength == 0 ? w.start : lineStart;
    const qsizetype candidate = w.start + w.length - from;
    if (c.MeasureText(Part(text, from, candidate)) <= room) {
      lineStart = from;
      lineLength = candidate;
      ++i;
      if (i < count) continue;
    } else if (lineLength == 0) {
      lineStart = w.start;
      lineLength = w.length;
    } else if (i > 0) {
      --i;  // retried on the next line
    }
    lines.push_back({lineStart, lineLength});
    lineLength = 0;
    ++i;
  }
}

}  // namespace

void LayoutAndDrawText(PaintContext& ctx, stFigure& f) {
  Canvas& c = ctx.canvas;
  const Coord left = std::min(f.X0, f.X1), right = std::max(f.X0, f.X1);
  const Coord top = std::min(f.Y0, f.Y1), bottom = std::max(f.Y0, f.Y1);
  const Coord m = f.PenWidth / 2 + 1;

  c.PenColor = f.PenColor;
  c.BrushColor = f.BrushColor;
  c.BrushStyle = kBrushClear;
  c.SetFont(f.Font);

  // Most figures carry no text; they cost nothing here beyond clearing an empty list.
  std::size_t made = 0;
  if (!f.Text.isEmpty()) {
    const Coord room = (right - left) - 2 * m;
    const std::vector<WordSpan>* lines = c.Cache().Layout(c.Font(), room, f.Text);
    if (lines == nullptr) {
      std::vector<WordSpan> broken;
      BreakLines(c, f.Text, room, broken);
      c.Cache().StoreLayout(c.Font(), room, f.Text, std::move(broken));
      lines = c.Cache().Layout(c.Font(), room, f.Text);
    }
    const Coord h = c.TextHeight();
    Coord n = 0;
    for (const WordSpan& span : *lines) {
      const QString line = Part(f.Text, span.start, span.length);
      const Coord lt = h * n + top + m;
      const Coord lb = std::min(h * (n + 1) + top + m, bottom - m);
      if (made < f.TextLines.size() && SameLine(f.TextLines[made], left + m, lt, right - m, lb, line)) {
        // Unchanged since the last redraw: keep the record and its string.
      } else {
        f.TextLines.resize(made);
        f.TextLines.push_back(stTextLine{pixel::Saturate32(left + m), pixel::Saturate32(lt),
                                         pixel::Saturate32(right - m), pixel::Saturate32(lb),
                                         f.Text.mid(span.start, span.length)});
      }
      const QString& owned = f.TextLines[made].Text;
      ++made;
      ++n;
      if (bottom - m < lt) continue;  // recorded for the caret, but below the box
      const Coord w = c.TextWidth(owned);
      // Centred from the box itself, the other alignments from the margins.
      const Coord x = f.TextPosition == 1 ? left + (right - left) / 2 - w / 2
                      : f.TextPosition == 2 ? right - m - w
                                            : left + m;
      c.TextRect(pixel::WinRect{left + m, lt, right - m, lb}, x, lt, owned);
    }
  }
  f.TextLines.resize(made);

  const bool caretFollows = !ctx.caretFromSelectedOnly || f.Selected;
  if (caretFollows && ctx.state.CaretPos != 0) {
    Coord total = 0;
    for (std::size_t k = 0; k < f.TextLines.size(); ++k) {
      const Coord len = f.TextLines[k].Text.size();
      total += len;
      if (total >= ctx.state.CaretPos) {
        ctx.state.CaretLine = static_cast<std::int32_t>(k);
        ctx.state.CaretColumn = pixel::Saturate32(len + ctx.state.CaretPos - total);
        break;
      }
    }
  }
  DrawTextCaret(ctx, f, m);
}

void DrawTextCaret(PaintContext& ctx, const stFigure& f, Coord m) {
  if (!ctx.options.CaretShown || !f.Selected) return;
  Canvas& c = ctx.canvas;
  c.SetFont(f.Font);
  static const QString kReference = QStringLiteral("W");

  Coord xl = 0, xr = 0, top = 0, bottom = 0, offset = 0;
  QString reference;
  if (f.TextLines.empty()) {
    xl = std::min(f.X0, f.X1) + m;
    xr = std::max(f.X0, f.X1) - m;
    reference = kReference;
    top = Coord{f.Y0} + m;
    bottom = Coord{f.Y0} + c.TextHeight();
  } else {
    const int line = std::clamp(ctx.state.CaretLine, 0, static_cast<int>(f.TextLines.size()) - 1);
    const stTextLine& tl = f.TextLines[static_cast<std::size_t>(line)];
    const int column = std::clamp(ctx.state.CaretColumn, 0, static_cast<int>(tl.Text.size()));
    reference = tl.Text;
    offset = c.MeasureText(tl.Text.left(column));
    xl = std::min(tl.Left, tl.Right);
    xr = std::max(tl.Left, tl.Right);
    top = tl.Top;
    bottom = Coord{tl.Top} + c.TextHeight();
  }
  bottom = std::min<Coord>(bottom, std::max(f.Y0, f.Y1));
  const Coord x = AlignedX(f.TextPosition, xl, xr, c.TextWidth(reference)) + offset;
  if (!InsideBox(f, x, top) || !InsideBox(f, x, bottom)) return;

  const ColorRef mark = InvertedColor(ctx.sceneBackground);
  ctx.state.MarkColor = mark;
  c.PenColor = mark;
  c.PenWidth = 1;
  // Solid whatever the figure's pen was: a dotted caret would vanish between blinks.
  c.PenStyle = kPenSolid;
  c.Line(x, top, x, bottom);
}

}  // namespace korvan
