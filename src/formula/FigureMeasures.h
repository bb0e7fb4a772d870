#pragma once
// The four measures a named figure offers to formulas: area and perimeter from its kind, length
// (Width) and height (Height); their names, their display texts and their formula texts.

#include <QString>

#include "model/EditorState.h"
#include "model/Figure.h"

namespace korvan {

// Area and perimeter by kind; kinds without a surface give 0. Pi is the state's.
// An ellipse whose length and height add up to 0 (0 by 0, or W = -H) has perimeter 0: its formula
// divides by W+H, and a degenerate ellipse has no outline to measure.
double AreaOf(const stFigure& f, const EditorState& state);
double PerimeterOf(const stFigure& f, const EditorState& state);

// The display text of a value with the given decimals: FormatRounded for a finite value (0 is the
// empty text), and for the values number formatting cannot show one of the words below. Measures
// and formulas can reach them: a power overflows to infinity, a negative base with a fractional
// exponent gives no number, a huge length times a huge height overflows.
QString FormatValue(double value, int decimals);
inline const QString kPlusInfinityText = QStringLiteral("Бесконечность");
inline const QString kMinusInfinityText = QStringLiteral("-Бесконечность");
inline const QString kNotANumberText = QStringLiteral("Не число");
// True for the three texts above (blanks around them ignored).
bool IsNonFiniteText(const QString& text);

// FormatValue(AreaOf, AreaZnak) and FormatValue(PerimeterOf, PerimetrZnak).
QString AreaText(const stFigure& f, const EditorState& state);
QString PerimeterText(const stFigure& f, const EditorState& state);

// The measures as formula texts over the figure's length and height names (Name + LengthSuffix,
// Name + HeightSuffix); empty for kinds without a surface.
QString AreaFormulaText(const stFigure& f, const EditorState& state);
QString PerimeterFormulaText(const stFigure& f, const EditorState& state);

// Name + suffix, with nothing between them.
QString AreaName(const QString& figureName, const EditorState& state);
QString PerimeterName(const QString& figureName, const EditorState& state);
QString LengthName(const QString& figureName, const EditorState& state);
QString HeightName(const QString& figureName, const EditorState& state);

}  // namespace korvan
