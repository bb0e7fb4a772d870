#include "formula/NamingRules.h"

#include <QHash>
#include <QSet>

#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"
#include "formula/NameSubstitution.h"
#include "support/Cp1251.h"
#include "support/Prompter.h"

namespace korvan {
namespace {

const QString kNoFormulaName = QStringLiteral("Задайте имя формулы!");
const QString kFormulaNameUsed = QStringLiteral("Имя формулы уже используется!");
const QString kFormulaNameIsFigure = QStringLiteral("Имя формулы уже используется в имени фигуры!");
const QString kFormulaNameInSmeta = QStringLiteral("Имя формулы уже используется в смете!");
const QString kNoFigureName = QStringLiteral("Задайте имя фигуры!");
const QString kFigureNameUsed = QStringLiteral("Имя фигуры уже используется!");
const QString kFigureNameIsFormula = QStringLiteral("Имя фигуры уже используется в имени формулы!");
const QString kFigureNameInSmeta = QStringLiteral("Имя фигуры уже используется в формулах сметы!");

void Tell(bool showMessages, const NamingScope& scope, const QString& text) {
  if (showMessages) CurrentPrompter().Warn(scope.State.Title, text);
}

// Lower-case trimmed names of the reserved estimate entries.
QSet<QString> ReservedNames(const EstimateLink& link) {
  QSet<QString> out;
  for (const stFormula& e : link.SmetaFormulas)
    if (e.Vid == 0) out.insert(cp1251::ToLower(e.Name.trimmed()));
  return out;
}

// Step 4 of a figure rename: the name alone or with any measure suffix is reserved.
bool FigureNameReserved(const QString& trimmedName, const QSet<QString>& reserved, const EditorState& s) {
  if (reserved.isEmpty()) return false;
  for (const QString& candidate : {trimmedName, AreaName(trimmedName, s), PerimeterName(trimmedName, s),
                                   LengthName(trimmedName, s), HeightName(trimmedName, s)})
    if (reserved.contains(cp1251::ToLower(candidate))) return true;
  return false;
}

bool UsedInOtherSchemes(const QString& name, bool showMessages, const NamingScope& scope) {
  if (!scope.Link.Linked()) return false;
  return !CheckNameInOtherShemas(name, showMessages, scope.State, scope.Others);
}

}  // namespace

bool CheckFormulaName(const FormulaGrid& rows, int index, bool showMessages, const NamingScope& scope) {
  const QString name = RowCell(rows, index, 0);
  if (name.trimmed().isEmpty()) {
    Tell(showMessages, scope, kNoFormulaName);
    return false;
  }
  for (int i = 0; i < rows.size(); ++i) {
    if (i != index && rows[i].value(0) == name) {
      Tell(showMessages, scope, kFormulaNameUsed);
      return false;
    }
  }
  for (const stFigure& f : scope.Figures) {
    if (f.Name == name) {
      Tell(showMessages, scope, kFormulaNameIsFigure);
      return false;
    }
  }
  const QString lower = cp1251::ToLower(name);
  for (const stFormula& e : scope.Link.SmetaFormulas) {
    if (e.Vid == 0 && cp1251::ToLower(e.Name) == lower) {
      Tell(showMessages, scope, kFormulaNameInSmeta);
      return false;
    }
  }
  return !UsedInOtherSchemes(name, showMessages, scope);
}

bool ValidateFormulaName(FormulaGrid& rows, int index, bool showMessages, const NamingScope& scope,
                         stOldNameFormula& oldName) {
  if (!CheckFormulaName(rows, index, showMessages, scope)) return false;
  if (index == oldName.Row) {
    RenameFormulaInTexts(rows, oldName.Name, RowCell(rows, index, 0));
    oldName.Row = -1;
  }
  return true;
}

void RenameFormulaInTexts(FormulaGrid& rows, const QString& oldName, const QString& newName) {
  const QString from = oldName.trimmed(), to = newName.trimmed();
  if (from.isEmpty() || to.isEmpty()) return;
  const FormulaList list{stFormula{0, QString(), from, to}};
  for (int i = 0; i < rows.size(); ++i) {
    QStringList& row = RowCells(rows, i);
    row[1] = SubstituteNames(row[1], list);
  }
}

QString UniqueFormulaName(const FormulaGrid& rows, const NamingScope& scope) {
  QSet<QString> taken;
  for (const QStringList& row : rows) taken.insert(row.value(0).trimmed());
  for (const stFigure& f : scope.Figures) taken.insert(f.Name.trimmed());
  const QSet<QString> reserved = ReservedNames(scope.Link);
  const bool linked = scope.Link.Linked();
  OtherSchemeNames local;
  OtherSchemeNames& others = scope.Others ? *scope.Others : local;
  if (linked) others.Refresh(scope.State.ShemaFolder, scope.State.ShemaFile);
  for (long long n = 1;; ++n) {
    const QString candidate = scope.State.FormulaPrefix + QString::number(n);
    if (taken.contains(candidate) || reserved.contains(cp1251::ToLower(candidate))) continue;
    if (linked && others.Find(candidate)) continue;
    return candidate;
  }
}

bool RenameFigure(stFigure& figure, const QString& newName, FormulaGrid& rows, const NamingScope& scope) {
  const QString name = newName.trimmed();
  if (name.isEmpty()) {
    Tell(true, scope, kNoFigureName);
    return false;
  }
  for (const stFigure& f : scope.Figures) {
    if (f.Guid != figure.Guid && f.Name.trimmed() == name) {
      Tell(true, scope, kFigureNameUsed);
      return false;
    }
  }
  for (const QStringList& row : rows) {
    if (row.value(0).trimmed() == name) {
      Tell(true, scope, kFigureNameIsFormula);
      return false;
    }
  }
  if (FigureNameReserved(name, ReservedNames(scope.Link), scope.State)) {
    Tell(true, scope, kFigureNameInSmeta);
    return false;
  }
  if (UsedInOtherSchemes(newName, true, scope)) return false;
  if (!figure.Name.trimmed().isEmpty()) RenameFigureInFormulas(figure, newName, rows, scope.State);
  figure.Name = newName;
  return true;
}

void RenameFigureInFormulas(const stFigure& figure, const QString& newName, FormulaGrid& rows,
                            const EditorState& state) {
  const QString& from = figure.Name;
  if (from.trimmed().isEmpty() || newName.trimmed().isEmpty()) return;
  const FormulaList list{
      stFormula{0, QString(), AreaName(from, state), AreaName(newName, state)},
      stFormula{0, QString(), PerimeterName(from, state), PerimeterName(newName, state)},
      stFormula{0, QString(), LengthName(from, state), LengthName(newName, state)},
      stFormula{0, QString(), HeightName(from, state), HeightName(newName, state)},
  };
  for (int i = 0; i < rows.size(); ++i) {
    QStringList& row = RowCells(rows, i);
    row[1] = SubstituteNames(row[1], list);
  }
}

QString UniqueFigureName(const FormulaGrid& rows, const NamingScope& scope) {
  QSet<QString> taken;
  for (const stFigure& f : scope.Figures) taken.insert(f.Name.trimmed());
  for (const QStringList& row : rows) taken.insert(row.value(0).trimmed());
  const QSet<QString> reserved = ReservedNames(scope.Link);
  const bool linked = scope.Link.Linked();
  OtherSchemeNames local;
  OtherSchemeNames& others = scope.Others ? *scope.Others : local;
  if (linked) others.Refresh(scope.State.ShemaFolder, scope.State.ShemaFile);
  for (long long n = 1;; ++n) {
    const QString candidate = scope.State.FigurePrefix + QString::number(n);
    if (taken.contains(candidate) || FigureNameReserved(candidate, reserved, scope.State)) continue;
    if (linked && others.Find(candidate)) continue;
    return candidate;
  }
}

bool ValidateAllNames(bool showMessages, const FormulaGrid& rows, const NamingScope& scope) {
  QHash<QString, int> figureNames;
  for (const stFigure& f : scope.Figures) ++figureNames[f.Name.trimmed()];
  QSet<QString> rowNames;
  for (const QStringList& row : rows) rowNames.insert(row.value(0).trimmed());
  const QSet<QString> reserved = ReservedNames(scope.Link);
  OtherSchemeNames local;
  const NamingScope shared{scope.Figures, scope.State, scope.Link, scope.Others ? scope.Others : &local};

  for (const stFigure& f : scope.Figures) {
    const QString name = f.Name.trimmed();
    if (name.isEmpty()) {
      Tell(showMessages, scope, kNoFigureName);
      return false;
    }
    if (figureNames.value(name) > 1) {
      Tell(showMessages, scope, QStringLiteral("Имя фигуры \"") + name + QStringLiteral("\" уже используется!"));
      return false;
    }
    if (rowNames.contains(name)) {
      Tell(showMessages, scope, kFigureNameIsFormula);
      return false;
    }
    if (FigureNameReserved(name, reserved, scope.State)) {
      Tell(showMessages, scope, kFigureNameInSmeta);
      return false;
    }
    if (UsedInOtherSchemes(f.Name, showMessages, shared)) return false;
  }
  for (int i = 0; i < rows.size(); ++i)
    if (!CheckFormulaName(rows, i, showMessages, shared)) return false;
  return true;
}

}  // namespace korvan
