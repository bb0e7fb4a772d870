#pragma once
// The exchange file shared with the estimate program: one INI section "Formula". The estimate
// program hands over its formula text and its list of names; the editor hands back a formula text
// with its own formula names expanded, with the current values of the figure measures it uses.

#include <QString>

#include <functional>
#include <vector>

#include "formula/FormulaTypes.h"
#include "formula/NamingRules.h"
#include "model/EditorState.h"
#include "model/Figure.h"
#include "model/Scene.h"
#include "support/IniDocument.h"

namespace korvan {

// "FormulaCount" is lowered to this: far above any real estimate list, and a damaged count cannot
// make the reader build billions of entries (as the scheme reader caps its counts).
inline constexpr int kMaxExchangeEntries = 100000;

// Expansion of formula names stops adding text beyond this many characters: a chain of rows that
// each use the previous one twice doubles the text per row, and no estimate needs more.
inline constexpr qsizetype kMaxExpandedFormulaLength = 1'000'000;

// Reads "FormulaNorma" and the numbered entries 1 … FormulaCount (Vid is the low 8 bits of
// "FormulaVid_" n; missing keys read as 0 and empty texts) into link, replacing its lists. The
// exchange path of link is left alone.
void ReadExchangeDocument(const IniDocument& doc, EstimateLink& link);
// The same from a file, parsed once; a missing or unreadable file reads as an empty one.
void ReadExchangeFile(const QString& path, EstimateLink& link);

// text with each row's trimmed name replaced by its trimmed formula text, row after row: a row's
// name is replaced as long as a whole occurrence is left, so a name brought in by an inserted text
// is expanded when its row comes later, and stays a name when its row came earlier. No
// parentheses are added. A row whose formula holds its own name would expand without end: its
// occurrences are expanded once each, and the copies inserted keep the name.
QString ExpandFormulaNames(const QString& text, const FormulaGrid& rows);

// Writes into doc what WriteExchangeFile writes: "FormulaStr" (text expanded), then for every
// measure of a named figure, in figure order, that the expanded text uses or that the estimate
// list holds for this scheme, the keys "FormulaShemaName_", "FormulaName_" and "FormulaValue_" k,
// and last "FormulaCount" = k. Keys already in doc keep their places; numbered keys above k stay.
// False when a text could not be stored (a character outside Windows-1251 or a line break).
bool BuildExchangeDocument(IniDocument& doc, const QString& text, const std::vector<stFigure>& figures,
                           const FormulaGrid& rows, const EditorState& state, const EstimateLink& link);

// Nothing for a blank path. Otherwise reads the file at path (if any), applies
// BuildExchangeDocument and replaces the file atomically; false when a text could not be stored
// or the file could not be read or written, the old file then left as it was.
bool WriteExchangeFile(const QString& path, const QString& text, const std::vector<stFigure>& figures,
                       const FormulaGrid& rows, const EditorState& state, const EstimateLink& link);

enum class SendResult {
  Refused,      // a name was refused (its message shown)
  NotSaved,     // the scheme had changes and the answer to "Сохранить схему?" was not Yes
  SaveFailed,   // the save was attempted and failed
  WriteFailed,  // the exchange file could not be written
  Sent          // the exchange file holds the cell; the window closes
};

// The data part of sending the formula (column 1) or value (column 2) of row index: all names
// checked with messages; the exchange file deleted; when changed (hasChanges: history not empty or
// modified) the question "Сохранить схему?" and on Yes saveScheme (which saves the scheme and writes
// the exchange file with the estimate's formula); then the exchange file written with the cell.
SendResult SendToSmeta(int column, int index, const FormulaGrid& rows, const NamingScope& scope, bool hasChanges,
                       const std::function<bool()>& saveScheme);

}  // namespace korvan
