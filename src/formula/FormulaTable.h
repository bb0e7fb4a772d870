#pragma once
// The formula table's data: named formula rows (name, formula text, value text) evaluated over the
// figures' measures and the other rows. Rows are FormulaGrid rows; index 0 is the first row below
// the grid's header. Nothing here touches a widget: what the window must do afterwards (give the
// focus back to the grid, show the status text) is returned or left in FormulaTableState.
//
// Substitution order: every named figure in list order (its area, perimeter, length and height
// names), then every named row in row order (its trimmed name by its trimmed value cell, "0" when
// that is empty). Each name replaces its whole occurrences in the text as it stands after the names
// before it, so a value inserted earlier can still be matched by a later name, never by an earlier.
//
// Values that are not finite numbers (a power beyond the double range, a negative base with a
// fractional exponent, a measure that overflows) show as the words of FormatValue. A formula whose
// text uses such a value (a row's value cell or a measure holding one of those words) fails with
// kNonFiniteInputText, so no dependent formula computes with it and the cause is named.

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "formula/FormulaTypes.h"
#include "formula/SubstitutionTable.h"
#include "model/EditorState.h"
#include "model/Figure.h"
#include "model/Scene.h"
#include "model/SchemeFile.h"

namespace korvan {

inline const QString kFormulaStatusPrefix = QStringLiteral(" Расчетная формула: ");
inline const QString kFormulaCaption = QStringLiteral("Формула");
inline const QString kUnknownFailureCaption = QStringLiteral("Формула для объема");
inline const QString kUnknownFailureText = QStringLiteral("Неизвестная ошибка!");
inline const QString kNonFiniteInputText =
    QStringLiteral("Формула использует значение, которое не является конечным числом!");

// The table's own state beside its rows.
struct FormulaTableState {
  int CurrentRow = 0;               // the grid's current row, as a row index
  stOldNameFormula OldNameFormula;  // the name cell's text when its editor was last opened
  QString Status = kFormulaStatusPrefix;  // the status line under the grid
};

// Every name a formula text can use, with its current replacement, in substitution order. Built
// once per recalculation; a row whose cells change is updated in place.
class FormulaNames {
 public:
  FormulaNames(const std::vector<stFigure>& figures, const FormulaGrid& rows, const EditorState& state);

  // Row index now holds this row's cells (name in cell 0, value in cell 2). Rows added beyond the
  // ones the object was built with get places of their own.
  void UpdateRow(int index, const QStringList& row);

  // ReplaceAllNames of text. usesNonFinite, when given, tells whether a replacement that is not a
  // finite number went into the text.
  QString Replace(QStringView text, bool* usesNonFinite = nullptr) const;

 private:
  SubstitutionTable table_;
  int firstRowPair_ = 0;
  int rowCount_ = 0;
};

// Every figure measure name and row name replaced by its value, in the order described above.
QString ReplaceAllNames(const QString& text, const std::vector<stFigure>& figures, const FormulaGrid& rows,
                        const EditorState& state);

enum class FormulaFailure {
  None,
  Engine,          // the engine refused the text; Message is its message
  NonFiniteInput,  // the text uses a value that is not a finite number
  Unknown          // + - * / overflowed or was invalid, or evaluation failed otherwise
};

struct FormulaValue {
  double Value = 0;  // 0 after a failure; may be infinite or NaN after a power
  FormulaFailure Failure = FormulaFailure::None;
  QString Message;  // the failure's message text, empty without failure
  bool Failed() const { return Failure != FormulaFailure::None; }
};

// Evaluates a formula text: blank gives 0; otherwise names are replaced and the engine evaluates
// the trimmed result. With showMessages a failure is shown through the prompter: Engine and
// NonFiniteInput under the caption "Формула" (the window then gives the focus back to the grid),
// Unknown as "Неизвестная ошибка!" under "Формула для объема". Engine and NonFiniteInput failures
// also reset table->Status to the bare prefix, when a table is given.
FormulaValue CalculateFormulaText(const QString& text, bool showMessages, const FormulaNames& names,
                                  FormulaTableState* table = nullptr);
FormulaValue CalculateFormulaText(const QString& text, bool showMessages, const std::vector<stFigure>& figures,
                                  const FormulaGrid& rows, const EditorState& state,
                                  FormulaTableState* table = nullptr);

// Recomputes row index: its value cell becomes FormatValue(value, FormulaZnak) (empty for 0 and
// after a failure); when it is the current row, the status line follows it.
FormulaValue RecalculateRow(FormulaGrid& rows, int index, bool showMessages, const std::vector<stFigure>& figures,
                            const EditorState& state, FormulaTableState& table);

// RecalculateRow for every row from the first to the last, in one pass: each row sees the rows
// above it already recomputed and the rows below with their previous values, so a formula that
// uses a later row lags one pass behind and one that uses its own name gets its previous value.
void RecalculateAll(FormulaGrid& rows, bool showMessages, const std::vector<stFigure>& figures,
                    const EditorState& state, FormulaTableState& table);

// " Расчетная формула: " + ReplaceAllNames(formula) + "=" + value cell, or the prefix alone when
// the row's formula cell is empty.
QString FormulaStatusText(const FormulaGrid& rows, int index, const FormulaNames& names);
void UpdateFormulaStatus(const FormulaGrid& rows, int index, const std::vector<stFigure>& figures,
                         const EditorState& state, FormulaTableState& table);

// One row left, its name the first free formula name, the status line bare, the first row current.
void ResetFormulaTable(FormulaGrid& rows, FormulaTableState& table, const std::vector<stFigure>& figures,
                       const EditorState& state, const EstimateLink& link);

// Inserts text into the formula cell of row index so that it starts at the 1-based position
// (beyond the end: appended); a position of 0 or less appends.
void InsertIntoFormula(FormulaGrid& rows, int index, const QString& text, int position);

// The formula table's part of loading a scheme: the first free formula name for the table the file
// leaves empty, and each row's value computed as the rows are read (rows not read yet have no name
// and so stand for nothing). state and link are copied when the hooks are made.
SchemeLoadHooks MakeSchemeLoadHooks(const EditorState& state, const EstimateLink& link);

// The cell of a row, empty when the row is short; and a row widened to three cells.
QString RowCell(const FormulaGrid& rows, int index, int column);
QStringList& RowCells(FormulaGrid& rows, int index);

}  // namespace korvan
