#include "formula/FigureMeasures.h"

#include <cmath>

#include "support/ZMath.h"
#include "support/ZString.h"

namespace korvan {
namespace {

// The outline a kind's measures follow. Every kind is listed here once; the compiler names a
// kind added to FigureKind and forgotten here.
enum class Outline { None, Rectangle, RoundRect, Ellipse, Triangle, SquareTriangle, Romb };

Outline OutlineOf(const stFigure& f) {
  switch (f.Kind()) {
    case FigureKind::Rectangle:
    case FigureKind::Picture:
    case FigureKind::Photo:
      return Outline::Rectangle;
    case FigureKind::RoundRect:
      return Outline::RoundRect;
    case FigureKind::Ellipse:
      return Outline::Ellipse;
    case FigureKind::Triangle:
      return Outline::Triangle;
    case FigureKind::SquareTriangle:
      return Outline::SquareTriangle;
    case FigureKind::Romb:
      return Outline::Romb;
    case FigureKind::None:
    case FigureKind::Line:
    case FigureKind::Strelka:
    case FigureKind::DoubleStrelka:
    case FigureKind::Text:
    case FigureKind::Table:
    case FigureKind::Curve:
      return Outline::None;
  }
  return Outline::None;  // a kind code no figure kind has (read from a damaged file)
}

}  // namespace

double AreaOf(const stFigure& f, const EditorState& state) {
  const double w = f.Width, h = f.Height;
  switch (OutlineOf(f)) {
    case Outline::Rectangle: return w * h;
    case Outline::RoundRect: return w * h * 0.95;
    case Outline::Ellipse: return state.Pi * w * h;
    case Outline::Triangle: return 0.5 * w * h;
    case Outline::SquareTriangle: return 0.5 * w * h;
    case Outline::Romb: return w * h * 0.5;
    case Outline::None: return 0;
  }
  return 0;
}

double PerimeterOf(const stFigure& f, const EditorState& state) {
  const double w = f.Width, h = f.Height;
  switch (OutlineOf(f)) {
    case Outline::Rectangle: return (w + h) * 2;
    case Outline::RoundRect: return (w + h) * 1.9;
    case Outline::Ellipse:
      if (w + h == 0) return 0;
      return 4 * ((w - h) * (w - h) + state.Pi * w * h) / (w + h);
    case Outline::Triangle: return w + 2 * std::sqrt(h * h + w * w * 0.25);
    case Outline::SquareTriangle: return std::sqrt(w * w + h * h) + (w + h);
    case Outline::Romb: return 4 * std::sqrt(w * w * 0.25 + h * h * 0.25);
    case Outline::None: return 0;
  }
  return 0;
}

QString FormatValue(double value, int decimals) {
  if (std::isnan(value)) return kNotANumberText;
  if (std::isinf(value)) return value > 0 ? kPlusInfinityText : kMinusInfinityText;
  return ZMath::FormatRounded(value, decimals);
}

bool IsNonFiniteText(const QString& text) {
  const QString t = text.trimmed();
  return t == kPlusInfinityText || t == kMinusInfinityText || t == kNotANumberText;
}

QString AreaText(const stFigure& f, const EditorState& state) { return FormatValue(AreaOf(f, state), state.AreaZnak); }

QString PerimeterText(const stFigure& f, const EditorState& state) {
  return FormatValue(PerimeterOf(f, state), state.PerimetrZnak);
}

QString AreaName(const QString& figureName, const EditorState& state) { return figureName + state.AreaSuffix; }
QString PerimeterName(const QString& figureName, const EditorState& state) { return figureName + state.PerimetrSuffix; }
QString LengthName(const QString& figureName, const EditorState& state) { return figureName + state.LengthSuffix; }
QString HeightName(const QString& figureName, const EditorState& state) { return figureName + state.HeightSuffix; }

QString AreaFormulaText(const stFigure& f, const EditorState& state) {
  const QString l = LengthName(f.Name, state), v = HeightName(f.Name, state);
  switch (OutlineOf(f)) {
    case Outline::Rectangle: return l + QStringLiteral("*") + v;
    case Outline::RoundRect: return l + QStringLiteral("*") + v + QStringLiteral("*0.95");
    case Outline::Ellipse: return ZString::FormatNumber(state.Pi) + QStringLiteral("*") + l + QStringLiteral("*") + v;
    case Outline::Triangle:
    case Outline::SquareTriangle: return QStringLiteral("0.5*") + l + QStringLiteral("*") + v;
    case Outline::Romb: return l + QStringLiteral("*") + v + QStringLiteral("/2");
    case Outline::None: return QString();
  }
  return QString();
}

QString PerimeterFormulaText(const stFigure& f, const EditorState& state) {
  const QString l = LengthName(f.Name, state), v = HeightName(f.Name, state);
  switch (OutlineOf(f)) {
    case Outline::Rectangle: return QStringLiteral("2.*(") + l + QStringLiteral("+") + v + QStringLiteral(")");
    case Outline::RoundRect: return QStringLiteral("2.*0.95*(") + l + QStringLiteral("+") + v + QStringLiteral(")");
    case Outline::Ellipse:
      return QStringLiteral("4.*(") + ZString::FormatNumber(state.Pi) + QStringLiteral("*") + l + QStringLiteral("*") + v + QStringLiteral("+(") + l + QStringLiteral("-") + v + QStringLiteral(")^2)/(") + l +
             QStringLiteral("+") + v + QStringLiteral(")");
    case Outline::Triangle: return QStringLiteral("(") + l + QStringLiteral("+2.*(") + v + QStringLiteral("^2+") + l + QStringLiteral("^2/4)^0.5)");
    case Outline::SquareTriangle: return QStringLiteral("(") + l + QStringLiteral("+") + v + QStringLiteral("+(") + l + QStringLiteral("^2+") + v + QStringLiteral("^2)^0.5)");
    case Outline::Romb: return QStringLiteral("4.*(") + l + QStringLiteral("^2/4.+") + v + QStringLiteral("^2/4.)^0.5");
    case Outline::None: return QString();
  }
  return QString();
}

}  // namespace korvan
