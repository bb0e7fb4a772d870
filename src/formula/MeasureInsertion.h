#pragma once
// The six commands that put a figure's measure into the current formula, as a formula text over
// its length and height or as a measure name, and the hints of their buttons.

#include <QString>

#include <array>

#include "formula/FormulaTable.h"
#include "formula/NamingRules.h"

namespace korvan {

enum class MeasureKind {
  AreaFormula = 1,       // AreaFormulaText
  AreaName = 2,          // Name + AreaSuffix
  PerimeterFormula = 3,  // PerimeterFormulaText
  PerimeterName = 4,     // Name + PerimetrSuffix
  LengthName = 5,        // Name + LengthSuffix
  HeightName = 6         // Name + HeightSuffix
};

// The text a command inserts for figure (empty for the formula texts of kinds without a surface).
QString MeasureInsertText(MeasureKind kind, const stFigure& figure, const EditorState& state);

// The body of a measure command once the window has taken its undo snapshot and found the selected
// figure: the name typed in the name edit is accepted first (RenameFigure with typedName trimmed;
// on refusal nothing more happens and false is returned), the measure's text is inserted into the
// current row's formula at the 1-based position (InsertIntoFormula), and that row is evaluated with
// messages, its value cell set. The window then shows the grid's editor.
bool InsertMeasure(MeasureKind kind, stFigure& figure, const QString& typedName, int position, FormulaGrid& rows,
                   FormulaTableState& table, const NamingScope& scope);

// The hints of the six measure buttons in MeasureKind order, and whether they are enabled: with a
// selected figure whose trimmed name is not blank, each base hint followed by a blank and the name
// in double quotes, the formula buttons adding " в виде формулы", the name buttons
// " в виде значения"; otherwise the base hints, disabled.
struct MeasureButtonHints {
  std::array<QString, 6> hints;
  bool enabled = false;
};
MeasureButtonHints MeasureHints(const stFigure* selected);

}  // namespace korvan
