#include "formula/FormulaTable.h"

#include <cmath>
#include <exception>
#include <optional>

#include "formula/CFormula.h"
#include "formula/FigureMeasures.h"
#include "formula/NamingRules.h"
#include "support/Prompter.h"
#include "support/ZString.h"

namespace korvan {
namespace {

// A measure's replacement: a zero value shows as the empty text, and a name must never vanish
// from a formula, so it stands as "0".
QString Replacement(const QString& shown) { return shown.isEmpty() ? QStringLiteral("0") : shown; }

// Lengths and heights are shown as typed numbers; one that is not finite (only a caller outside the
// editor can set one) shows as FormatValue's word rather than as the C library's "inf".
QString LengthText(double x) { return std::isfinite(x) ? ZString::FormatNumber(x) : FormatValue(x, 0); }

FormulaValue RecalculateRowWith(FormulaGrid& rows, int index, bool showMessages, FormulaNames& names,
                                const EditorState& state, FormulaTableState& table) {
  const FormulaValue r = CalculateFormulaText(RowCell(rows, index, 1), showMessages, names, &table);
  RowCells(rows, index)[2] = FormatValue(r.Value, state.FormulaZnak);
  names.UpdateRow(index, rows[index]);
  if (index == table.CurrentRow) table.Status = FormulaStatusText(rows, index, names);
  return r;
}

}  // namespace

QString RowCell(const FormulaGrid& rows, int index, int column) {
  if (index < 0 || index >= rows.size()) return QString();
  return rows[index].value(column);
}

QStringList& RowCells(FormulaGrid& rows, int index) {
  QStringList& row = rows[index];
  while (row.size() < 3) row.append(QString());
  return row;
}

FormulaNames::FormulaNames(const std::vector<stFigure>& figures, const FormulaGrid& rows, const EditorState& state) {
  for (const stFigure& f : figures) {
    if (f.Name.trimmed().isEmpty()) continue;
    const double area = AreaOf(f, state), perimeter = PerimeterOf(f, state);
    table_.Add(AreaName(f.Name, state), Replacement(FormatValue(area, state.AreaZnak)), !std::isfinite(area));
    table_.Add(PerimeterName(f.Name, state), Replacement(FormatValue(perimeter, state.PerimetrZnak)),
               !std::isfinite(perimeter));
    table_.Add(LengthName(f.Name, state), Replacement(LengthText(f.Width)), !std::isfinite(f.Width));
    table_.Add(HeightName(f.Name, state), Replacement(LengthText(f.Height)), !std::isfinite(f.Height));
  }
  firstRowPair_ = table_.Size();
  for (int i = 0; i < rows.size(); ++i) UpdateRow(i, rows[i]);
}

void FormulaNames::UpdateRow(int index, const QStringList& row) {
  if (index < 0) return;
  while (rowCount_ <= index) {
    table_.Add(QString(), QString());
    ++rowCount_;
  }
  const QString value = Replacement(row.value(2).trimmed());
  const bool nonFinite = IsNonFiniteText(value);
  table_.Set(firstRowPair_ + index, row.value(0).trimmed(), value, nonFinite);
}

QString FormulaNames::Replace(QStringView text, bool* usesNonFinite) const { return table_.Apply(text, usesNonFinite); }

QString ReplaceAllNames(const QString& text, const std::vector<stFigure>& figures, const FormulaGrid& rows,
                        const EditorState& state) {
  return FormulaNames(figures, rows, state).Replace(text);
}

FormulaValue CalculateFormulaText(const QString& text, bool showMessages, const FormulaNames& names,
                                  FormulaTableState* table) {
  FormulaValue r;
  if (text.trimmed().isEmpty()) return r;
  try {
    bool nonFinite = false;
    const QString substituted = names.Replace(text, &nonFinite).trimmed();
    if (nonFinite) {
      r.Failure = FormulaFailure::NonFiniteInput;
      r.Message = kNonFiniteInputText;
    } else {
      CFormula engine;
      if (engine.Calculate(substituted)) {
        r.Value = engine.GetResult();
      } else if (engine.GetOutcome() == CFormula::Outcome::SyntaxError) {
        r.Failure = FormulaFailure::Engine;
        r.Message = engine.GetErrorText();
      } else {
        r.Failure = FormulaFailure::Unknown;
      }
    }
  } catch (const std::exception&) {
    r.Failure = FormulaFailure::Unknown;
  }
  switch (r.Failure) {
    case FormulaFailure::None:
      break;
    case FormulaFailure::Engine:
    case FormulaFailure::NonFiniteInput:
      if (showMessages) CurrentPrompter().Warn(kFormulaCaption, r.Message);
      if (table) table->Status = kFormulaStatusPrefix;
      break;
    case FormulaFailure::Unknown:
      r.Message = kUnknownFailureText;
      if (showMessages) CurrentPrompter().Warn(kUnknownFailureCaption, kUnknownFailureText);
      break;
  }
  if (r.Failed()) r.Value = 0;
  return r;
}

FormulaValue CalculateFormulaText(const QString& text, bool showMessages, const std::vector<stFigure>& figures,
                                  const FormulaGrid& rows, const EditorState& state, FormulaTableState* table) {
  if (text.trimmed().isEmpty()) return FormulaValue{};
  return CalculateFormulaText(text, showMessages, FormulaNames(figures, rows, state), table);
}

FormulaValue RecalculateRow(FormulaGrid& rows, int index, bool showMessages, const std::vector<stFigure>& figures,
                            const EditorState& state, FormulaTableState& table) {
  if (index < 0 || index >= rows.size()) return FormulaValue{};
  FormulaNames names(figures, rows, state);
  return RecalculateRowWith(rows, index, showMessages, names, state, table);
}

void RecalculateAll(FormulaGrid& rows, bool showMessages, const std::vector<stFigure>& figures,
                    const EditorState& state, FormulaTableState& table) {
  FormulaNames names(figures, rows, state);
  for (int i = 0; i < rows.size(); ++i) RecalculateRowWith(rows, i, showMessages, names, state, table);
}

QString FormulaStatusText(const FormulaGrid& rows, int index, const FormulaNames& names) {
  const QString formula = RowCell(rows, index, 1);
  if (formula.isEmpty()) return kFormulaStatusPrefix;
  return kFormulaStatusPrefix + names.Replace(formula) + QLatin1Char('=') + RowCell(rows, index, 2);
}

void UpdateFormulaStatus(const FormulaGrid& rows, int index, const std::vector<stFigure>& figures,
                         const EditorState& state, FormulaTableState& table) {
  if (RowCell(rows, index, 1).isEmpty()) {
    table.Status = kFormulaStatusPrefix;
    return;
  }
  table.Status = FormulaStatusText(rows, index, FormulaNames(figures, rows, state));
}

void ResetFormulaTable(FormulaGrid& rows, FormulaTableState& table, const std::vector<stFigure>& figures,
                       const EditorState& state, const EstimateLink& link) {
  rows = FormulaGrid{QStringList{QString(), QString(), QString()}};
  rows[0][0] = UniqueFormulaName(rows, NamingScope{figures, state, link});
  table.CurrentRow = 0;
  table.Status = kFormulaStatusPrefix;
}

void InsertIntoFormula(FormulaGrid& rows, int index, const QString& text, int position) {
  if (index < 0 || index >= rows.size()) return;
  QString& formula = RowCells(rows, index)[1];
  if (position > 0)
    formula.insert(std::min<qsizetype>(position - 1, formula.size()), text);
  else
    formula.append(text);
}

SchemeLoadHooks MakeSchemeLoadHooks(const EditorState& state, const EstimateLink& link) {
  // The names are built at the first row and then kept in step with the rows as they are read:
  // between two calls only the previous row's value and the new row's cells have changed.
  struct Loader {
    EditorState state;
    EstimateLink link;
    std::optional<FormulaNames> names;
    const stScena* scene = nullptr;
    int lastIndex = -1;
  };
  auto loader = std::make_shared<Loader>(Loader{state, link, std::nullopt, nullptr, -1});

  SchemeLoadHooks hooks;
  hooks.proposeFormulaName = [loader](const stScena& scene, const FormulaGrid& rows) {
    return UniqueFormulaName(rows, NamingScope{scene.Figures, loader->state, loader->link});
  };
  hooks.evaluateRow = [loader](const stScena& scene, const FormulaGrid& rows, int index) {
    if (index < 0 || index >= rows.size()) return QString();
    Loader& l = *loader;
    if (!l.names || index == 0 || l.scene != &scene || index != l.lastIndex + 1) {
      l.names.emplace(scene.Figures, rows, l.state);
    } else {
      l.names->UpdateRow(index - 1, rows[index - 1]);
      l.names->UpdateRow(index, rows[index]);
    }
    l.scene = &scene;
    l.lastIndex = index;
    const FormulaValue r = CalculateFormulaText(rows[index].value(1), false, *l.names);
    return FormatValue(r.Value, l.state.FormulaZnak);
  };
  return hooks;
}

}  // namespace korvan
