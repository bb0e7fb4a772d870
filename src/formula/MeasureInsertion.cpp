#include "formula/MeasureInsertion.h"

#include "formula/FigureMeasures.h"

namespace korvan {

QString MeasureInsertText(MeasureKind kind, const stFigure& figure, const EditorState& state) {
  switch (kind) {
    case MeasureKind::AreaFormula: return AreaFormulaText(figure, state);
    case MeasureKind::AreaName: return AreaName(figure.Name, state);
    case MeasureKind::PerimeterFormula: return PerimeterFormulaText(figure, state);
    case MeasureKind::PerimeterName: return PerimeterName(figure.Name, state);
    case MeasureKind::LengthName: return LengthName(figure.Name, state);
    case MeasureKind::HeightName: return HeightName(figure.Name, state);
  }
  return QString();
}

bool InsertMeasure(MeasureKind kind, stFigure& figure, const QString& typedName, int position, FormulaGrid& rows,
                   FormulaTableState& table, const NamingScope& scope) {
  if (!RenameFigure(figure, typedName.trimmed(), rows, scope)) return false;
  const int row = table.CurrentRow;
  if (row < 0 || row >= rows.size()) return true;
  InsertIntoFormula(rows, row, MeasureInsertText(kind, figure, scope.State), position);
  const FormulaValue r = CalculateFormulaText(rows[row][1], true, scope.Figures, rows, scope.State, &table);
  rows[row][2] = FormatValue(r.Value, scope.State.FormulaZnak);
  return true;
}

MeasureButtonHints MeasureHints(const stFigure* selected) {
  MeasureButtonHints out;
  const QString area = QStringLiteral("Добавить в формулу площадь");
  const QString perimeter = QStringLiteral("Добавить в формулу периметр");
  out.hints = {area, area, perimeter, perimeter, QStringLiteral("Добавить в формулу длину"),
               QStringLiteral("Добавить в формулу высоту")};
  if (!selected || selected->Name.trimmed().isEmpty()) return out;
  const QString quoted = QStringLiteral(" \"") + selected->Name.trimmed() + QLatin1Char('"');
  const QString asFormula = QStringLiteral(" в виде формулы"), asValue = QStringLiteral(" в виде значения");
  out.hints[0] += quoted + asFormula;
  out.hints[1] += quoted + asValue;
  out.hints[2] += quoted + asFormula;
  out.hints[3] += quoted + asValue;
  out.hints[4] += quoted;
  out.hints[5] += quoted;
  out.enabled = true;
  return out;
}

}  // namespace korvan
