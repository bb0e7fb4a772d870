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
#include <QPen>
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

  QFont Font;
  QFontMetrics Metrics{QFont()};
  int LineHeight = 0;  // text height of any string: ascent + descent
  int Ascent = 0;
};

// Resolved fonts kept across redraws; a scene uses a handful, so a short list searched in order
// beats hashing, and the oldest entry is replaced when it is full.
class FontCache {
 public:
  // faceOverride, when given, replaces the description's face name (the dimension labels).
  const CanvasFont& Get(const stFont& font, const QString* faceOverride = nullptr);

 private:
  static constexpr std::size_t kCapacity = 16;
  std::vector<std::unique_ptr<CanvasFont>> entries_;
  std::size_t next_ = 0;
};

class Canvas {
 public:
  // painter is active on image.
  Canvas(QPainter& painter, QImage& image, FontCache& fonts);
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
  int TextWidth(const QString& text) const { return font_->Metrics.horizontalAdvance(text); }

  // Line from (x0, y0) to (x1, y1) without its end point.
  void Line(pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1);
  // Lines through the points in order (move to the first, line to each next one).
  void Polyline(const QPoint* points, std::size_t count);
  // Closed polygon: pen outline, brush interior (alternate filling).
  void Polygon(const CPoint* points, std::size_t count);
  void Polygon(const QPoint* points, std::size_t count);
  // Shapes in a rectangle (left, top, right, bottom), normalised, right and bottom exclusive.
  void Rectangle(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  void RoundRect(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b, int cornerW, int cornerH);
  void Ellipse(pixel::Coord l, pixel::Coord t, pixel::Coord r, pixel::Coord b);
  // The rectangle with the brush only.
  void FillRect(const pixel::WinRect& r);
  void FillRect(const pixel::WinRect& r, ColorRef color);

  // Text with its top-left corner at (x, y).
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
  bool ThinPen() const { return PenWidth <= 1; }
  // A one-pixel line straight into the image: start included, end left out whichever way it
  // runs (QPainter normalises the direction and would leave out the start of lines running left
  // or up), dashes counted from the start, gaps opaque under a solid brush.
  void ThinLine(pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1);

  QPainter& p_;
  QImage& image_;
  uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  QSize device_;
  QRectF guard_;
  FontCache& fonts_;
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
  const CanvasFont* painterFont_ = nullptr;
};

}  // namespace korvan
