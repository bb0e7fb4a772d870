#pragma once
// The rules that keep figure names, measure names and formula names of a scheme apart from each
// other, from the estimate program's reserved names and, when the editor runs for an estimate
// program, from the names of the other schemes of the folder. Refusals are told through the
// prompter under the main window's caption (state.Title).

#include <QString>

#include <vector>

#include "formula/FormulaTypes.h"
#include "formula/OtherSchemes.h"
#include "model/EditorState.h"
#include "model/Figure.h"
#include "model/Scene.h"

namespace korvan {

// What the naming rules read besides the formula rows.
struct NamingScope {
  const std::vector<stFigure>& Figures;
  const EditorState& State;
  const EstimateLink& Link;
  // Names of the other schemes, kept between checks; null reads the folder for each operation.
  OtherSchemeNames* Others = nullptr;
};

// The checks of a formula name, in order, stopping at the first failure: the trimmed name is
// empty; another row's name cell is exactly the same text; a figure's Name is exactly the name; a
// reserved estimate entry (Vid 0) has the name in lower case; when linked, another scheme uses it.
// Names differing by blanks around them are different names here.
bool CheckFormulaName(const FormulaGrid& rows, int index, bool showMessages, const NamingScope& scope);

// CheckFormulaName, and on success, when the row is the one whose editor recorded oldName, the
// rename of the old name in every formula text. The old name is then forgotten (Row = -1): the
// rename happens once, when the edited name is first accepted, and a later check of the same row
// (every repaint checks) does not rename again from a name that is no longer there.
bool ValidateFormulaName(FormulaGrid& rows, int index, bool showMessages, const NamingScope& scope,
                         stOldNameFormula& oldName);

// Every whole occurrence of oldName in every formula text becomes newName (SubstituteNames with
// the one pair). Both names are taken trimmed, as formula texts use them; nothing happens when
// either is blank.
void RenameFormulaInTexts(FormulaGrid& rows, const QString& oldName, const QString& newName);

// FormulaPrefix + n for the smallest n from 1 that no row (trimmed, exact), no figure (trimmed,
// exact), no reserved estimate entry (trimmed, any case) and, when linked, no other scheme uses.
QString UniqueFormulaName(const FormulaGrid& rows, const NamingScope& scope);

// Renames figure after five checks, each refusal told and returning false: the name is blank;
// another figure (another Guid) has it, trimmed; a formula row has it, trimmed; a reserved estimate
// entry equals it, or it with one of the four measure suffixes, in any case; when linked, another
// scheme uses it. A figure that had a name has its measure names renamed in every formula text.
// newName is expected trimmed by the caller.
bool RenameFigure(stFigure& figure, const QString& newName, FormulaGrid& rows, const NamingScope& scope);

// The four measure names of figure's current Name become those of newName in every formula text,
// in the order area, perimeter, length, height. A bare figure name is left alone; nothing happens
// when either name is blank.
void RenameFigureInFormulas(const stFigure& figure, const QString& newName, FormulaGrid& rows,
                            const EditorState& state);

// FigurePrefix + n for the smallest n from 1 that no figure and no row uses (trimmed, exact), that
// no reserved estimate entry equals in any case, neither alone nor with a measure suffix, and that,
// when linked, no other scheme uses.
QString UniqueFigureName(const FormulaGrid& rows, const NamingScope& scope);

// Every figure name, then every formula name, checked as RenameFigure and CheckFormulaName check
// them (a repeated figure name is told with the name quoted); false at the first failure.
bool ValidateAllNames(bool showMessages, const FormulaGrid& rows, const NamingScope& scope);

}  // namespace korvan
