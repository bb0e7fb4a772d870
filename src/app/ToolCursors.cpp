#include "app/ToolCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include <array>
#include <vector>

namespace korvan {
namespace {

enum class Glyph {
  Line, Rect, RoundRect, Ellipse, Triangle, SquareTriangle, Strelka, DoubleStrelka, Romb, Text, Picture, Photo,
  Table, Curve, Pipette
};

struct CursorSpec {
  const char* name;
  Glyph glyph;
  bool filled;
};

constexpr std::array<CursorSpec, kToolCursorCount> kSpecs = {{
    {"Line", Glyph::Line, false},
    {"Rectangle", Glyph::Rect, false},
    {"FillRect", Glyph::Rect, true},
    {"RoundRect", Glyph::RoundRect, false},
    {"FillRoundRect", Glyph::RoundRect, true},
    {"Ellipse", Glyph::Ellipse, false},
    {"FillEllipse", Glyph::Ellipse, true},
    {"Triangle", Glyph::Triangle, false},
    {"FillTriangle", Glyph::Triangle, true},
    {"SquareTriangle", Glyph::SquareTriangle, false},
    {"FillSquareTriangle", Glyph::SquareTriangle, true},
    {"Strelka", Glyph::Strelka, false},
    {"DoubleStrelka", Glyph::DoubleStrelka, false},
    {"Romb", Glyph::Romb, false},
    {"FillRomb", Glyph::Romb, true},
    {"Text", Glyph::Text, false},
    {"Picture", Glyph::Picture, false},
    {"Photo", Glyph::Photo, false},
    {"Table", Glyph::Table, false},
    {"Curve", Glyph::Curve, false},
    {"FillCurve", Glyph::Curve, true},
    {"Pipetka", Glyph::Pipette, false},
}};

constexpr int kSize = 32;
constexpr QPoint kHotSpot(7, 7);

void DrawGlyph(QPainter& p, Glyph g, bool filled) {
  // The glyph sits in the lower right 16 x 16 square.
  const QRect box(14, 14, 15, 15);
  p.setBrush(filled ? QBrush(Qt::black) : Qt::NoBrush);
  switch (g) {
    case Glyph::Line:
      p.drawLine(box.bottomLeft(), box.topRight());
      break;
    case Glyph::Rect:
      p.drawRect(box.adjusted(0, 3, 0, -3));
      break;
    case Glyph::RoundRect:
      p.drawRoundedRect(box.adjusted(0, 3, 0, -3), 4, 4);
      break;
    case Glyph::Ellipse:
      p.drawEllipse(box.adjusted(0, 3, 0, -3));
      break;
    case Glyph::Triangle:
      p.drawPolygon(QPolygon({QPoint(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()}));
      break;
    case Glyph::SquareTriangle:
      p.drawPolygon(QPolygon({box.topLeft(), box.bottomRight(), box.bottomLeft()}));
      break;
    case Glyph::Strelka:
    case Glyph::DoubleStrelka: {
      const int y = box.center().y();
      p.drawLine(box.left(), y, box.right(), y);
      p.drawLine(box.right(), y, box.right() - 5, y - 4);
      p.drawLine(box.right(), y, box.right() - 5, y + 4);
      if (g == Glyph::DoubleStrelka) {
        p.drawLine(box.left(), y, box.left() + 5, y - 4);
        p.drawLine(box.left(), y, box.left() + 5, y + 4);
      }
      break;
    }
    case Glyph::Romb: {
      const QPoint c = box.center();
      p.drawPolygon(QPolygon({QPoint(c.x(), box.top()), QPoint(box.right(), c.y()), QPoint(c.x(), box.bottom()),
                              QPoint(box.left(), c.y())}));
      break;
    }
    case Glyph::Text: {
      QFont f(QStringLiteral("Liberation Serif"));
      f.setPixelSize(16);
      f.setBold(true);
      p.setFont(f);
      p.drawText(box, Qt::AlignCenter, QStringLiteral("T"));
      break;
    }
    case Glyph::Picture:
      p.drawRect(box.adjusted(0, 2, 0, -2));
      p.drawPolyline(QPolygon({QPoint(box.left() + 1, box.bottom() - 3), QPoint(box.left() + 6, box.top() + 6),
                               QPoint(box.left() + 9, box.bottom() - 6), QPoint(box.left() + 11, box.bottom() - 8),
                               QPoint(box.right() - 1, box.bottom() - 3)}));
      break;
    case Glyph::Photo:
      p.drawRect(box.adjusted(0, 4, 0, -1));
      p.drawRect(QRect(box.left() + 4, box.top() + 1, 5, 3));
      p.drawEllipse(QRect(box.left() + 4, box.top() + 6, 7, 7));
      break;
    case Glyph::Table:
      p.drawRect(box.adjusted(0, 2, 0, -2));
      p.drawLine(box.center().x(), box.top() + 2, box.center().x(), box.bottom() - 2);
      for (int y = box.top() + 6; y < box.bottom() - 2; y += 4) p.drawLine(box.left(), y, box.right(), y);
      break;
    case Glyph::Curve: {
      QPainterPath path(QPointF(box.left(), box.bottom()));
      path.cubicTo(QPointF(box.left() + 4, box.top()), QPointF(box.right() - 4, box.bottom()),
                   QPointF(box.right(), box.top()));
      if (filled) path.closeSubpath();
      p.drawPath(path);
      break;
    }
    case Glyph::Pipette:
      p.drawLine(box.left() + 1, box.bottom() - 1, box.right() - 4, box.top() + 4);
      p.setBrush(Qt::black);
      p.drawEllipse(QRect(box.right() - 6, box.top(), 6, 6));
      break;
  }
}

QCursor Draw(const CursorSpec& spec) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  // A white halo under black strokes keeps the cursor visible on any background.
  for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
    p.setPen(QPen(colour, width));
    p.drawLine(kHotSpot.x() - 7, kHotSpot.y(), kHotSpot.x() + 7, kHotSpot.y());
    p.drawLine(kHotSpot.x(), kHotSpot.y() - 7, kHotSpot.x(), kHotSpot.y() + 7);
    DrawGlyph(p, spec.glyph, spec.filled && colour == Qt::black);
  }
  p.end();
  return QCursor(pixmap, kHotSpot.x(), kHotSpot.y());
}

std::vector<QCursor>& Cursors() {
  static std::vector<QCursor> cursors;
  return cursors;
}

}  // namespace

void RegisterToolCursors() {
  std::vector<QCursor>& cursors = Cursors();
  if (!cursors.empty()) return;
  for (const CursorSpec& spec : kSpecs) cursors.push_back(Draw(spec));
}

QCursor ToolCursor(int number) {
  const std::vector<QCursor>& cursors = Cursors();
  if (number < 1 || number > static_cast<int>(cursors.size())) return QCursor(Qt::ArrowCursor);
  return cursors[static_cast<size_t>(number - 1)];
}

QString ToolCursorName(int number) {
  if (number < 1 || number > kToolCursorCount) return QString();
  return QString::fromLatin1(kSpecs[static_cast<size_t>(number - 1)].name);
}

}  // namespace korvan
