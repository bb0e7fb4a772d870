#include "render/Canvas.h"

#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "model/FontConversion.h"
#include "support/ZString.h"

namespace korvan {

using pixel::Coord;

namespace {

bool SameKey(const CanvasFont& e, const stFont& f, const QString& name) {
  return e.Height == f.Height && e.Size == f.Size && e.Pitch == f.Pitch && e.Bold == f.Bold &&
         e.Italic == f.Italic && e.Underline == f.Underline && e.StrikeOut == f.StrikeOut && e.Name == name;
}

// Dash lengths of the standard cosmetic pens in pixels (pen widths for wider pens), on first.
struct Dashes {
  int count = 0;
  int lengths[6] = {};
  int period = 0;
};

Dashes DashesOf(std::uint8_t style) {
  auto make = [](std::initializer_list<int> l) {
    Dashes d;
    for (int v : l) d.lengths[d.count++] = v, d.period += v;
    return d;
  };
  switch (style) {
    case 1: return make({18, 6});
    case 2: return make({3, 3});
    case 3: return make({9, 6, 3, 6});
    case 4: return make({9, 3, 3, 3, 3, 3});
    default: return {};
  }
}

QList<qreal> DashPattern(std::uint8_t style) {
  const Dashes d = DashesOf(style);
  QList<qreal> out;
  for (int i = 0; i < d.count; ++i) out.append(d.lengths[i]);
  return out;
}

QRgb Rgb(ColorRef c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QPen MakePen(ColorRef color, int width, std::uint8_t style) {
  const int w = std::clamp(width, 1, pixel::kMaxPenWidth);
  QPen pen(pixel::ToQColor(color), w);
  // One-pixel lines leave out their end point; wide ones end and join round like the platform's
  // geometric pens.
  pen.setCapStyle(w == 1 ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(w == 1 ? Qt::MiterJoin : Qt::RoundJoin);
  if (style == 5) {
    pen.setStyle(Qt::NoPen);
  } else if (const QList<qreal> dashes = DashPattern(style); !dashes.isEmpty()) {
    pen.setDashPattern(dashes);
  }
  // 0 solid, 6 inside-frame and unknown codes draw solid.
  return pen;
}

Qt::BrushStyle QtBrushStyle(std::uint8_t style) {
  switch (style) {
    case 1: return Qt::NoBrush;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::FDiagPattern;  // "\": down from left to right
    case 5: return Qt::BDiagPattern;  // "/": up from left to right
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

// Dashed and dotted styles; clear (5) draws nothing and every other code draws solid.
bool QtPenIsPatterned(std::uint8_t style) { return style >= 1 && style <= 4; }

bool Solid(std::uint8_t brushStyle) { return QtBrushStyle(brushStyle) == Qt::SolidPattern; }

// Liang-Barsky: cuts the segment to the box; false when nothing of it is inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const QRectF& box) {
  const double dx = x1 - x0, dy = y1 - y0;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left(), box.right() - x0, y0 - box.top(), box.bottom() - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  const double ox = x0, oy = y0;
  x0 = ox + t0 * dx;
  y0 = oy + t0 * dy;
  x1 = ox + t1 * dx;
  y1 = oy + t1 * dy;
  return true;
}

// Sutherland-Hodgman against the four sides of box.
QPolygonF ClipPolygon(QPolygonF poly, const QRectF& box) {
  auto clipSide = [](const QPolygonF& in, auto inside, auto cross) {
    QPolygonF out;
    for (qsizetype i = 0; i < in.size(); ++i) {
      const QPointF a = in[i], b = in[(i + 1) % in.size()];
      const bool ia = inside(a), ib = inside(b);
      if (ia) out.append(a);
      if (ia != ib) out.append(cross(a, b));
    }
    return out;
  };
  auto atX = [](QPointF a, QPointF b, double x) {
    return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
  };
  auto atY = [](QPointF a, QPointF b, double y) {
    return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
  };
  const double l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
  poly = clipSide(poly, [&](QPointF p) { return p.x() >= l; }, [&](QPointF a, QPointF c) { return atX(a, c, l); });
  poly = clipSide(poly, [&](QPointF p) { return p.x() <= r; }, [&](QPointF a, QPointF c) { return atX(a, c, r); });
  poly = clipSide(poly, [&](QPointF p) { return p.y() >= t; }, [&](QPointF a, QPointF c) { return atY(a, c, t); });
  poly = clipSide(poly, [&](QPointF p) { return p.y() <= b; }, [&](QPointF a, QPointF c) { return atY(a, c, b); });
  return poly;
}

bool AllInLimit(const QPoint* points, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (!pixel::InLimit(points[i].x()) || !pixel::InLimit(points[i].y())) return false;
  return true;
}

// One axis of a stretch: the visible destination span and the source span drawn into it.
struct StretchAxis {
  double dst = 0, dstLen = 0, src = 0, srcLen = 0;
  bool mirrored = false;
};

bool VisibleAxis(Coord from, Coord to, int sourceLen, int deviceLen, StretchAxis& a) {
  const double lo = static_cast<double>(std::min(from, to)), hi = static_cast<double>(std::max(from, to));
  const double vlo = std::max(lo, 0.0), vhi = std::min(hi, static_cast<double>(deviceLen));
  if (vhi <= vlo) return false;
  const double span = static_cast<double>(to - from);  // signed: negative mirrors
  auto sourceAt = [&](double screen) { return (screen - static_cast<double>(from)) / span * sourceLen; };
  a.mirrored = span < 0;
  a.dst = vlo;
  a.dstLen = vhi - vlo;
  // Screen coordinates grow left to right; in a mirrored axis the source runs the other way.
  const double s0 = a.mirrored ? sourceAt(vhi) : sourceAt(vlo);
  const double s1 = a.mirrored ? sourceAt(vlo) : sourceAt(vhi);
  a.src = s0;
  a.srcLen = s1 - s0;
  return a.srcLen > 0;
}

}  // namespace

const CanvasFont& PaintCache::Font(const stFont& font, const QString* faceOverride) {
  const QString& name = faceOverride ? *faceOverride : font.Name;
  for (const auto& e : fonts_)
    if (SameKey(*e, font, name)) return *e;

  auto e = std::make_unique<CanvasFont>();
  e->Height = font.Height;
  e->Size = font.Size;
  e->Name = name;
  e->Pitch = font.Pitch;
  e->Bold = font.Bold;
  e->Italic = font.Italic;
  e->Underline = font.Underline;
  e->StrikeOut = font.StrikeOut;
  e->Id = ++fontIds_;
  stFont sane = font;
  sane.Name = name;
  sane.Height = std::clamp(font.Height, -kMaxFontPixels, kMaxFontPixels);
  sane.Size = std::min(font.Size, kMaxFontPixels * 72 / kSceneDpi);
  e->Font = ToQFont(sane);
  if (e->Font.pixelSize() <= 0) e->Font.setPixelSize(1);
  e->Metrics = QFontMetrics(e->Font);
  e->LineHeight = e->Metrics.height();
  e->Ascent = e->Metrics.ascent();

  if (fonts_.size() < kMaxFonts) {
    fonts_.push_back(std::move(e));
    return *fonts_.back();
  }
  fonts_[nextFont_] = std::move(e);
  const CanvasFont& out = *fonts_[nextFont_];
  nextFont_ = (nextFont_ + 1) % kMaxFonts;
  return out;
}

TextRun& PaintCache::Run(const CanvasFont& font, const QString& text) {
  Key key{font.Id, 0, text};
  if (auto it = runs_.find(key); it != runs_.end()) return it.value();
  if (runs_.size() >= kMaxRuns) runs_.clear();
  TextRun& run = runs_[key];
  run.Width = font.Metrics.horizontalAdvance(text);
  return run;
}

const QString& PaintCache::Number(double value) {
  quint64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  if (auto it = numbers_.find(bits); it != numbers_.end()) return it.value();
  if (numbers_.size() >= kMaxLayouts) numbers_.clear();
  return numbers_[bits] = ZString::FormatNumber(value);
}

const QImage& PaintCache::Upward(const CanvasFont& font, ColorRef color, const QString& text) {
  Key key{font.Id, color, text};
  if (auto it = upward_.find(key); it != upward_.end()) return it.value();
  if (upward_.size() >= kMaxLayouts) upward_.clear();
  const int m = UpwardMargin(font);
  QImage upright(Run(font, text).Width + 2 * m, font.LineHeight + 2 * m, QImage::Format_ARGB32_Premultiplied);
  upright.fill(Qt::transparent);
  QPainter p(&upright);
  p.setFont(font.Font);
  p.setPen(pixel::ToQColor(color));
  p.drawText(QPoint(m, m + font.Ascent), text);
  p.end();
  return upward_[key] = upright.transformed(QTransform(0, -1, 1, 0, 0, 0));
}

const std::vector<WordSpan>* PaintCache::Layout(const CanvasFont& font, std::int64_t room, const QString& text) const {
  const auto it = layouts_.constFind(Key{font.Id, room, text});
  return it == layouts_.cend() ? nullptr : &it.value();
}

void PaintCache::StoreLayout(const CanvasFont& font, std::int64_t room, const QString& text,
                             std::vector<WordSpan> lines) {
  if (layouts_.size() >= kMaxLayouts) layouts_.clear();
  layouts_.insert(Key{font.Id, room, text}, std::move(lines));
}

Canvas::Canvas(QPainter& painter, QImage& image, PaintCache& cache)
    : p_(painter), device_(image.size()), cache_(cache), font_(&cache.Font(stFont{})) {
  // The painter has the image to itself already, so this neither copies nor detaches it.
  bits_ = image.bits();
  stride_ = image.bytesPerLine();
  const QSize device = device_;
  // Wide enough that a clipped edge never shows, even under the widest pen.
  const double margin = pixel::kMaxPenWidth + 64;
  guard_ = QRectF(-margin, -margin, device.width() + 2 * margin, device.height() + 2 * margin);
}

void Canvas::SetFont(const stFont& font, const QString* faceOverride) {
  font_ = &cache_.Font(font, faceOverride);
  fontColor_ = font.Color;
}

void Canvas::UsePen() {
  if (!penBuilt_ || builtPenColor_ != PenColor || builtPenWidth_ != PenWidth || builtPenStyle_ != PenStyle) {
    pen_ = MakePen(PenColor, PenWidth, PenStyle);
    builtPenColor_ = PenColor;
    builtPenWidth_ = PenWidth;
    builtPenStyle_ = PenStyle;
    penBuilt_ = true;
    held_ = Held::None;
  }
  if (held_ != Held::Shape) {
    p_.setPen(pen_);
    held_ = Held::Shape;
  }
}

void Canvas::UseNoPen() {
  if (held_ != Held::NoPen) {
    p_.setPen(noPen_);
    held_ = Held::NoPen;
  }
}

void Canvas::UseTextPen() {
  if (!textPenBuilt_ || builtTextColor_ != fontColor_) {
    textPen_ = QPen(pixel::ToQColor(fontColor_));
    builtTextColor_ = fontColor_;
    textPenBuilt_ = true;
    if (held_ == Held::Text) held_ = Held::None;
  }
  if (held_ != Held::Text) {
    p_.setPen(textPen_);
    held_ = Held::Text;
  }
  if (painterFont_ != font_->Id) {
    p_.setFont(font_->Font);
    painterFont_ = font_->Id;
  }
}

void Canvas::UseBrush() {
  if (brushBuilt_ && builtBrushColor_ == BrushColor && builtBrushStyle_ == BrushStyle) return;
  brush_ = QBrush(pixel::ToQColor(BrushColor), QtBrushStyle(BrushStyle));
  p_.setBrush(brush_);
  if (Solid(BrushStyle)) {
    p_.setBackground(brush_);
    p_.setBackgroundMode(Qt::OpaqueMode);
  } else {
    p_.setBackgroundMode(Qt::TransparentMode);
  }
  builtBrushColor_ = BrushColor;
  builtBrushStyle_ = BrushStyle;
  brushBuilt_ = true;
}

void Canvas::ThinLine(Coord ax, Coord ay, Coord bx, Coord by) {
  if (PenStyle == 5 || bits_ == nullptr) return;
  const Coord dx = bx - ax, dy = by - ay;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const Coord n = xMajor ? std::llabs(dx) : std::llabs(dy);  // pixels drawn, the end excluded
  if (n == 0) return;
  const Coord major0 = xMajor ? ax : ay, minor0 = xMajor ? ay : ax;
  const Coord majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const Coord minorDelta = xMajor ? dy : dx;
  const Coord minorStep = minorDelta >= 0 ? 1 : -1;
  const Coord d = std::llabs(minorDelta);
  const Coord majorSize = xMajor ? device_.width() : device_.height();
  const Coord minorSize = xMajor ? device_.height() : device_.width();

  // Pixel k (0 .. n - 1) lies at major0 + k * majorStep; only the ones inside the image are walked.
  Coord kFirst = 0, kLast = n - 1;
  if (majorStep > 0) {
    kFirst = std::max<Coord>(kFirst, -major0);
    kLast = std::min<Coord>(kLast, majorSize - 1 - major0);
  } else {
    kFirst = std::max<Coord>(kFirst, major0 - (majorSize - 1));
    kLast = std::min<Coord>(kLast, major0);
  }
  if (kFirst > kLast) return;

  // Minor offset of pixel k: k * d / n rounded half up, kept as quotient and remainder of
  // (2 k d + n) / 2n so that stepping needs no multiplication.
  const __int128 num = static_cast<__int128>(2) * kFirst * d + n;
  const Coord twoN = 2 * n;
  Coord q = static_cast<Coord>(num / twoN);
  Coord r = static_cast<Coord>(num % twoN);

  const Dashes dashes = DashesOf(PenStyle);
  const bool opaque = Solid(BrushStyle);
  const QRgb on = Rgb(PenColor), gap = Rgb(BrushColor);
  if (d == 0 && dashes.count == 0) {
    // Solid and straight along a row or a column: the commonest line of a drawing.
    if (minor0 < 0 || minor0 >= minorSize) return;
    const Coord lo = major0 + (majorStep > 0 ? kFirst : -kLast), hi = major0 + (majorStep > 0 ? kLast : -kFirst);
    if (xMajor) {
      QRgb* row = reinterpret_cast<QRgb*>(bits_ + minor0 * stride_);
      std::fill(row + lo, row + hi + 1, on);
    } else {
      for (Coord y = lo; y <= hi; ++y) reinterpret_cast<QRgb*>(bits_ + y * stride_)[minor0] = on;
    }
    return;
  }
  for (Coord k = kFirst; k <= kLast; ++k) {
    const Coord major = major0 + k * majorStep;
    const Coord minor = minor0 + q * minorStep;
    r += 2 * d;
    if (r >= twoN) {
      r -= twoN;
      ++q;
    }
    if (minor < 0 || minor >= minorSize) continue;
    bool lit = true;
    if (dashes.count > 0) {
      Coord pos = k % dashes.period;
      int i = 0;
      while (pos >= dashes.lengths[i]) pos -= dashes.lengths[i++];
      lit = i % 2 == 0;
      if (!lit && !opaque) continue;
    }
    const Coord x = xMajor ? major : minor, y = xMajor ? minor : major;
    reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = lit ? on : gap;
  }
}

void Canvas::Line(Coord x0, Coord y0, Coord x1, Coord y1) {
  if (ThinPen()) return ThinLine(x0, y0, x1, y1);
  UsePen();
  UseBrush();  // the gaps of a dashed line take the brush
  if (pixel::InLimit(x0) && pixel::InLimit(y0) && pixel::InLimit(x1) && pixel::InLimit(y1)) {
    p_.drawLine(QLine(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)));
    return;
  }
  double fx0 = static_cast<double>(x0), fy0 = static_cast<double>(y0);
  double fx1 = static_cast<double>(x1), fy1 = static_cast<double>(y1);
  if (ClipSegment(fx0, fy0, fx1, fy1, guard_)) p_.drawLine(QLineF(fx0, fy0, fx1, fy1));
}

void Canvas::Polyline(const QPoint* points, std::size_t count) {
  if (count < 2) return;
  if (ThinPen()) {
    for (std::size_t i = 1; i < count; ++i) ThinLine(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
    return;
  }
  UsePen();
  UseBrush();
  if (AllInLimit(points, count)) {
    p_.drawPolyline(points, static_cast<int>(count));
    return;
  }
  for (std::size_t i = 1; i < count; ++i) Line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
}

namespace {
Coord Xof(const QPoint& p) { return p.x(); }
Coord Yof(const QPoint& p) { return p.y(); }
Coord Xof(const CPoint& p) { return p.X; }
Coord Yof(const CPoint& p) { return p.Y; }
}  // namespace

bool Canvas::FillConvex(const CPoint* points, std::size_t count) {
  if (bits_ == nullptr || count < 3 || !Solid(BrushStyle)) return false;
  Coord top = points[0].Y, bottom = points[0].Y;
  for (std::size_t i = 0; i < count; ++i) {
    if (!pixel::InLimit(points[i].X) || !pixel::InLimit(points[i].Y)) return false;
    top = std::min(top, points[i].Y);
    bottom = std::max(bottom, points[i].Y);
  }
  // Pixels whose centres lie inside, row by row; a convex outline cuts each row once.
  const QRgb color = Rgb(BrushColor);
  const Coord rowFrom = std::max<Coord>(top, 0), rowTo = std::min<Coord>(bottom, device_.height() - 1);
  for (Coord y = rowFrom; y <= rowTo; ++y) {
    const double yc = static_cast<double>(y) + 0.5;
    double lo = 0, hi = 0;
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
      const CPoint& a = points[i];
      const CPoint& b = points[(i + 1) % count];
      if (a.Y == b.Y) continue;
      const double ay = static_cast<double>(a.Y), by = static_cast<double>(b.Y);
      if (yc < std::min(ay, by) || yc > std::max(ay, by)) continue;
      const double x = static_cast<double>(a.X) + (yc - ay) * static_cast<double>(b.X - a.X) / (by - ay);
      lo = any ? std::min(lo, x) : x;
      hi = any ? std::max(hi, x) : x;
      any = true;
    }
    if (!any) continue;
    const Coord from = std::max<Coord>(static_cast<Coord>(std::ceil(lo - 0.5)), 0);
    const Coord to = std::min<Coord>(static_cast<Coord>(std::ceil(hi - 0.5)) - 1, device_.width() - 1);
    QRgb* row = reinterpret_cast<QRgb*>(bits_ + y * stride_);
    for (Coord x = from; x <= to; ++x) row[x] = color;
  }
  return true;
}

template <typename Pt>
void Canvas::PolygonOf(const Pt* points, std::size_t count) {
  if (count == 0) return;
  const bool thin = ThinPen();
  if constexpr (std::is_same_v<Pt, CPoint>) {
    // The small convex shapes (heads, triangles, rhombi) are filled here, far cheaper than
    // QPainter's general polygon filler; their outline follows.
    if (thin && FillConvex(points, count)) {
      for (std::size_t i = 0; i < count; ++i) {
        const Pt& a = points[i];
        const Pt& b = points[(i + 1) % count];
        ThinLine(Xof(a), Yof(a), Xof(b), Yof(b));
      }
      return;
    }
  }
  UseBrush();
  // A thin outline is drawn edge by edge below, so that every corner gets its pixel.
  if (thin) {
    UseNoPen();
  } else {
    UsePen();
  }
  if (!thin || QtBrushStyle(BrushStyle) != Qt::NoBrush) {
    bool inLimit = true;
    for (std::size_t i = 0; i < count; ++i) inLimit = inLimit && pixel::InLimit(Xof(points[i])) && pixel::InLimit(Yof(points[i]));
    if constexpr (std::is_same_v<Pt, QPoint>) {
      if (inLimit) p_.drawPolygon(points, static_cast<int>(count), Qt::OddEvenFill);
    } else {
      if (inLimit && count <= 8) {
        QPoint q[8];
        for (std::size_t i = 0; i < count; ++i) q[i] = QPoint(static_cast<int>(points[i].X), static_cast<int>(points[i].Y));
        p_.drawPolygon(q, static_cast<int>(count), Qt::OddEvenFill);
      }
    }
    if (!inLimit || (!std::is_same_v<Pt, QPoint> && count > 8)) {
      QPolygonF poly;
      poly.reserve(static_cast<qsizetype>(count));
      for (std::size_t i = 0; i < count; ++i)
        poly.append(QPointF(static_cast<double>(Xof(points[i])), static_cast<double>(Yof(points[i]))));
      poly = ClipPolygon(poly, guard_);
      if (!poly.isEmpty()) p_.drawPolygon(poly, Qt::OddEvenFill);
    }
  }
  if (thin)
    for (std::size_t i = 0; i < count; ++i) {
      const Pt& a = points[i];
      const Pt& b = points[(i + 1) % count];
      ThinLine(Xof(a), Yof(a), Xof(b), Yof(b));
    }
}

void Canvas::Polygon(const CPoint* points, std::size_t count) { PolygonOf(points, count); }

void Canvas::Polygon(const QPoint* points, std::size_t count) { PolygonOf(points, count); }

bool Canvas::WideBands(Coord l, Coord t, Coord r, Coord b) {
  if (ThinPen() || QtPenIsPatterned(PenStyle)) return false;
  if (PenStyle == 5) return true;
  // A band of the pen's width about each edge, as QPainter centres it: from edge - width / 2.
  const Coord w = std::min(PenWidth, pixel::kMaxPenWidth), a = w / 2;
  const ColorRef c = PenColor;
  FillRect(pixel::Normalised(l - a, t - a, r - a + w, t - a + w), c);
  FillRect(pixel::Normalised(l - a, b - a, r - a + w, b - a + w), c);
  FillRect(pixel::Normalised(l - a, t - a, l - a + w, b - a + w), c);
  FillRect(pixel::Normalised(r - a, t - a, r - a + w, b - a + w), c);
  return true;
}

void Canvas::Frame(Coord l, Coord t, Coord r, Coord b) {
  if (PenStyle == 5) return;
  if (WideBands(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b))) return;
  const QPoint frame[5] = {{static_cast<int>(pixel::ClampCoord(l)), static_cast<int>(pixel::ClampCoord(t))},
                           {static_cast<int>(pixel::ClampCoord(r)), static_cast<int>(pixel::ClampCoord(t))},
                           {static_cast<int>(pixel::ClampCoord(r)), static_cast<int>(pixel::ClampCoord(b))},
                           {static_cast<int>(pixel::ClampCoord(l)), static_cast<int>(pixel::ClampCoord(b))},
                           {static_cast<int>(pixel::ClampCoord(l)), static_cast<int>(pixel::ClampCoord(t))}};
  Polyline(frame, 5);
}

void Canvas::Rectangle(Coord l, Coord t, Coord r, Coord b) {
  const pixel::WinRect w = pixel::Normalised(l, t, r, b);
  if (w.Empty()) return;
  UseBrush();
  // The outline lies on the outer pixels and covers the brush there, so the brush may fill all.
  if (ThinPen() || (PenStyle != 5 && !QtPenIsPatterned(PenStyle))) {
    if (QtBrushStyle(BrushStyle) != Qt::NoBrush) p_.fillRect(pixel::FillRect(w), brush_);
    if (ThinPen()) {
      ThinLine(w.Left, w.Top, w.Right - 1, w.Top);
      ThinLine(w.Right - 1, w.Top, w.Right - 1, w.Bottom - 1);
      ThinLine(w.Right - 1, w.Bottom - 1, w.Left, w.Bottom - 1);
      ThinLine(w.Left, w.Bottom - 1, w.Left, w.Top);
      // A single pixel has four edges of no length.
      if (w.Right - w.Left == 1 && w.Bottom - w.Top == 1) ThinLine(w.Left, w.Top, w.Left + 1, w.Top);
    } else {
      WideBands(w.Left, w.Top, w.Right - 1, w.Bottom - 1);
    }
    return;
  }
  UsePen();
  p_.drawRect(pixel::ShapeRect(w));
}

void Canvas::RoundRect(Coord l, Coord t, Coord r, Coord b, int cornerW, int cornerH) {
  const pixel::WinRect w = pixel::Normalised(l, t, r, b);
  if (w.Empty()) return;
  UsePen();
  UseBrush();
  p_.drawRoundedRect(pixel::ShapeRect(w), cornerW / 2.0, cornerH / 2.0, Qt::AbsoluteSize);
}

void Canvas::Ellipse(Coord l, Coord t, Coord r, Coord b) {
  const pixel::WinRect w = pixel::Normalised(l, t, r, b);
  if (w.Empty()) return;
  UsePen();
  UseBrush();
  p_.drawEllipse(pixel::ShapeRect(w));
}

void Canvas::FillRect(const pixel::WinRect& r) {
  if (r.Empty()) return;
  UseBrush();
  p_.fillRect(pixel::FillRect(r), brush_);
}

void Canvas::FillRect(const pixel::WinRect& r, ColorRef color) {
  if (r.Empty()) return;
  p_.fillRect(pixel::FillRect(r), pixel::ToQColor(color));
}

namespace {

QStaticText& Prepared(QStaticText& st, bool& ready, const QString& text, const QFont& font, const QTransform& t) {
  if (!ready) {
    st.setText(text);
    st.setTextFormat(Qt::PlainText);
    st.setPerformanceHint(QStaticText::AggressiveCaching);
    st.prepare(t, font);
    ready = true;
  }
  return st;
}

}  // namespace

void Canvas::TextOut(Coord x, Coord y, const QString& text) {
  if (text.isEmpty() || !pixel::InLimit(x) || !pixel::InLimit(y)) return;
  UseBrush();  // a solid brush would box the text, as on the platform
  UseTextPen();
  TextRun& run = cache_.Run(*font_, text);
  p_.drawStaticText(QPoint(static_cast<int>(x), static_cast<int>(y)),
                    Prepared(run.Upright, run.UprightReady, text, font_->Font, QTransform()));
}

void Canvas::TextRect(const pixel::WinRect& clip, Coord x, Coord y, const QString& text) {
  // A clip rectangle given backwards holds nothing, unlike a shape's rectangle.
  if (clip.Empty()) return;
  const pixel::WinRect clamped{pixel::ClampCoord(clip.Left), pixel::ClampCoord(clip.Top),
                               pixel::ClampCoord(clip.Right), pixel::ClampCoord(clip.Bottom)};
  const QRect box = pixel::FillRect(clamped).intersected(QRect(QPoint(0, 0), device_));
  if (box.isEmpty() || text.isEmpty() || !pixel::InLimit(x) || !pixel::InLimit(y)) return;
  UseBrush();
  UseTextPen();
  TextRun& run = cache_.Run(*font_, text);
  p_.setClipRect(box);
  p_.drawStaticText(QPoint(static_cast<int>(x), static_cast<int>(y)),
                    Prepared(run.Upright, run.UprightReady, text, font_->Font, QTransform()));
  p_.setClipping(false);
}

void Canvas::TextOutUpward(Coord x, Coord y, const QString& text) {
  if (text.isEmpty() || !pixel::InLimit(x) || !pixel::InLimit(y)) return;
  const QImage& turned = cache_.Upward(*font_, fontColor_, text);
  // Upright pixel (u, v) of the cell lands on (x + v, y - 1 - u): the text reads upward from (x, y).
  const int m = PaintCache::UpwardMargin(*font_);
  p_.drawImage(QPoint(static_cast<int>(x) - m, static_cast<int>(y) - turned.height() + m), turned);
}

void Canvas::StretchDraw(Coord x0, Coord y0, Coord x1, Coord y1, const QImage& image) {
  if (image.isNull()) return;
  StretchAxis ax, ay;
  if (!VisibleAxis(x0, x1, image.width(), device_.width(), ax) ||
      !VisibleAxis(y0, y1, image.height(), device_.height(), ay))
    return;
  const QRectF source(ax.src, ay.src, ax.srcLen, ay.srcLen);
  if (!ax.mirrored && !ay.mirrored) {
    p_.drawImage(QRectF(ax.dst, ay.dst, ax.dstLen, ay.dstLen), image, source);
    return;
  }
  // Draw unmirrored at the origin and let the transform flip it onto its place.
  const double sx = ax.mirrored ? -1 : 1, sy = ay.mirrored ? -1 : 1;
  const double ox = ax.mirrored ? ax.dst + ax.dstLen : ax.dst;
  const double oy = ay.mirrored ? ay.dst + ay.dstLen : ay.dst;
  p_.setTransform(QTransform(sx, 0, 0, sy, ox, oy));
  p_.drawImage(QRectF(0, 0, ax.dstLen, ay.dstLen), image, source);
  p_.resetTransform();
}

}  // namespace korvan
