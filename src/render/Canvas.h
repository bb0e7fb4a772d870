#pragma once
// The drawing surface the figure routines work on: a pen, a brush and a font that routines set and
// read, over a QPainter on the scene image. Pen and brush reach the painter lazily and only when they
// changed, so a scene of figures sharing their colours builds no QPen or QBrush per figure.
//
// Windows raster behaviour kept here (see PixelRules.h for the coordinate rules):
//  - a solid brush makes the gaps of a dashed or dotted pen opaque in the brush colour; any other
//    brush style leaves them transparent, as it leaves the gaps between hatch lines;
//  - text is drawn in the font colour, from its top-left corner, transparently while the brush
//    style is clear (every routine sets it so before writing).

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QHash>
#include <QPen>
#include <QStaticText>
#include <QString>

#include <memory>
#include <vector>

#include "model/Figure.h"
#include "render/PixelRules.h"

namespace korvan {

// Brush style codes of the figure record.
inline constexpr std::uint8_t kBrushSolid = 0;
inline constexpr std::uint8_t kBrushClear = 1;
// Pen style codes.
inline constexpr std::uint8_t kPenSolid = 0;
inline constexpr std::uint8_t kPenDot = 2;

// Font sizes beyond these are drawn at these: a damaged file must not make us render glyphs the
// size of a house.
inline constexpr int kMaxFontPixels = 1000;

// A font description resolved once: the QFont and its metrics.
struct CanvasFont {
  // What the QFont was made from.
  std::int32_t Height = 0, Size = 0;
  QString Name;
  std::uint8_t Pitch = 0;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;

  int Id = 0;  // unique for the life of the cache, unlike the address
  QFont Font;
  QFontMetrics Metrics{QFont()};
  int LineHeight = 0;  // text height of any string: ascent + descent
  int Ascent = 0;
};

// A string measured and shaped once in one font, for every later redraw.
struct TextRun {
  int Width = 0;
  QStaticText Upright;
  bool UprightReady = false;
};

// Words of a text, as positions in it.
struct WordSpan {
  qsizetype start = 0, length = 0;
};

// What painting keeps across redraws: resolved fonts, measured and shaped strings, and the line
// breaks of laid-out texts. A redraw of an unchanged scene then shapes no text at all; every
// result is the one the uncached computation gives.
class PaintCache {
 public:
  // faceOverride, when given, replaces the description's face name (the dimension labels).
  const CanvasFont& Font(const stFont& font, const QString* faceOverride = nullptr);
  // The run of text in font; text must own its characters (not a raw-data view).
  TextRun& Run(const CanvasFont& font, const QString& text);
  // The text drawn upright in colour and turned a quarter counter-clockwise, with a margin of
  // UpwardMargin(font) pixels round the text cell: turning the pixels keeps every label crisp
  // and alike.
  const QImage& Upward(const CanvasFont& font, ColorRef color, const QString& text);
  static int UpwardMargin(const CanvasFont& font) { return font.LineHeight / 2 + 1; }
  // ZString::FormatNumber of the value, formatted once.
  const QString& Number(double value);
  // The line breaks of text laid out in font within room pixels, if known.
  const std::vector<WordSpan>* Layout(const CanvasFont& font, std::int64_t room, const QString& text) const;
  void StoreLayout(const CanvasFont& font, std::int64_t room, const QString& text, std::vector<WordSpan> lines);

 private:
  struct Key {
    int font = 0;
    std::int64_t room = 0;
    QString text;
    friend bool operator==(const Key&, const Key&) = default;
    friend size_t qHash(const Key& k, size_t seed) { return qHashMulti(seed, k.font, k.room, k.text); }
  };
  // Scenes are edited, so old strings pile up; past these sizes the tables start over.
  static constexpr qsizetype kMaxRuns = 20000;
  static constexpr qsizetype kMaxLayouts = 5000;
  static constexpr std::size_t kMaxFonts = 16;

  std::vector<std::unique_ptr<CanvasFont>> fonts_;
  std::size_t nextFont_ = 0;
  int fontIds_ = 0;
  QHash<Key, TextRun> runs_;
  QHash<Key, std::vector<WordSpan>> layouts_;
  QHash<Key, QImage> upward_;  // room holds the colour
  QHash<quint64, QString> numbers_;  // by the bits of the value
};

class Canvas {
 public:
  // painter is active on image.
  Canvas(QPainter& painter, QImage& image, PaintCache& cache);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The state the routines set and read.
  ColorRef PenColor = 0;
  int PenWidth = 1;
  std::uint8_t PenStyle = kPenSolid;
  ColorRef BrushColor = 0xFFFFFF;
  std::uint8_t BrushStyle = kBrushSolid;

  // Font of the next text: the description's face, or faceOverride; its colour is the text colour.
  void SetFont(const stFont& font, const QString* faceOverride = nullptr);
  const CanvasFont& Font() const { return *font_; }
  int TextHeight() const { return font_->LineHeight; }
  // Width of a string that owns its characters, measured once per font.
  int TextWidth(const QString& text) { return cache_.Run(*font_, text).Width; }
  // Width of any string, views included, measured now.
  int MeasureText(const QString& text) const { return font_->Metrics.horizontalAdvance(text); }
  PaintCache& Cache() { return cache_; }

  // Line from (x0, y0) to (x1, y1) without its end point.
  void Line(pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1);
  // Lines through the points in order (move to the first, line to each next one).
  void Polyline(const QPoint* points, std::size_t count);
  // Closed polygon: pen outline, brush interior (alternate filling).
  void Polygon(const CPoint* points, std::size_t count);
  void Polygon(const QPoint* points, std::size_t count);
  // The four lines (l, t) -> (r, t) -> (r, b) -> (l, b) -> (l, t).
  void Frame(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  // Shapes in a rectangle (left, top, right, bottom), normalised, right and bottom exclusive.
  void Rectangle(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  void RoundRect(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b, int cornerW, int cornerH);
  void Ellipse(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  // The rectangle with the brush only.
  void FillRect(const pixel::WinRect& r);
  void FillRect(const pixel::WinRect& r, ColorRef color);

  // Text with its top-left corner at (x, y). Strings must own their characters.
  void TextOut(pixel::Coord x, pixel::Coord y, const QString& text);
  // The same, cut to the clip rectangle.
  void TextRect(const pixel::WinRect& clip, pixel::Coord x, pixel::Coord y, const QString& text);
  // Text reading upward: the baseline runs from (x, y) toward the top of the image, the glyph tops
  // face left, and (x, y) is the top-left corner of the text as it would stand unrotated.
  void TextOutUpward(pixel::Coord x, pixel::Coord y, const QString& text);

  // The image stretched over (x0, y0) .. (x1, y1), right and bottom exclusive; a corner pair given
  // right to left or bottom to top mirrors the image, as a stretch with a negative size does.
  void StretchDraw(pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1, const QImage& image);

 private:
  void UsePen();
  void UseBrush();
  void UseTextPen();
  void UseNoPen();
  template <typename Pt>
  void PolygonOf(const Pt* points, std::size_t count);
  // The inside of a convex polygon in the solid brush colour, written into the image; false
  // (nothing drawn) for other brushes or far-out points.
  bool FillConvex(const CPoint* points, std::size_t count);
  bool ThinPen() const { return PenWidth <= 1; }
  // A wide solid pen along the edges l, r (columns) and t, b (rows) of a normalised box, as four
  // fills: QPainter's general stroker is many times slower for the commonest wide shape. False
  // when the pen is thin or not solid.
  bool WideBands(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  // A one-pixel line straight into the image: start included, end left out whichever way it
  // runs (QPainter normalises the direction and would leave out the start of lines running left
  // or up), dashes counted from the start, gaps opaque under a solid brush.
  void ThinLine(pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1);

  QPainter& p_;
  uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  QSize device_;
  QRectF guard_;
  PaintCache& cache_;
  const CanvasFont* font_;
  ColorRef fontColor_ = 0;

  // What the painter holds now.
  enum class Held { None, Shape, Text, NoPen } held_ = Held::None;
  QPen noPen_{Qt::NoPen};
  bool penBuilt_ = false;
  ColorRef builtPenColor_ = 0;
  int builtPenWidth_ = 0;
  std::uint8_t builtPenStyle_ = 0;
  QPen pen_;
  bool brushBuilt_ = false;
  ColorRef builtBrushColor_ = 0;
  std::uint8_t builtBrushStyle_ = 0;
  QBrush brush_;
  bool textPenBuilt_ = false;
  ColorRef builtTextColor_ = 0;
  QPen textPen_;
  int painterFont_ = 0;  // Id of the font the painter holds; an evicted entry's address may come back
};

}  // namespace korvan
