#pragma once
// The ".kvn" scheme file: canvas settings, every figure in drawing order and the formula table, in
// an INI text of Windows-1251. A file is read in one parse and written in one atomic replace.

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

#include "model/EditorState.h"
#include "model/Scene.h"
#include "support/IniDocument.h"

namespace korvan {

// Counts a file may ask for; larger ones are lowered to these, far above any real scheme, so a
// damaged count cannot make the reader build billions of figures.
inline constexpr int kMaxSchemeFigures = 100000;
inline constexpr int kMaxSchemeFormulas = 100000;

// What the formula table contributes while a scheme is read. Without them the proposed name of an
// empty table stays blank and each row shows the value text stored in the file.
struct SchemeLoadHooks {
  // The name put into the first row of a table that the file leaves empty.
  std::function<QString(const stScena& scene, const FormulaGrid& rows)> proposeFormulaName;
  // The value cell of row index (0-based) once its name and formula are read; rows after it are
  // not read yet.
  std::function<QString(const stScena& scene, const FormulaGrid& rows, int index)> evaluateRow;
};

// Reads path into scene and rows and sets ImageWidth, ImageHeight (each lowered to its maximum) and
// BackgroundColor of state. Every figure of scene is removed first, also when the file is missing
// (false, silently) or of another format (false after "Неизвестный формат файла!"). The saved
// formula rows of scene are left alone. rows becomes the table read, at least one row.
bool LoadShemaFile(const QString& path, stScena& scene, FormulaGrid& rows, EditorState& state,
                   const SchemeLoadHooks& hooks = {});
// The same over a parsed document.
bool ReadShemaDocument(const IniDocument& doc, stScena& scene, FormulaGrid& rows, EditorState& state,
                       const SchemeLoadHooks& hooks = {});

// Writes scene and rows to path, replacing any old file atomically: on failure the old file is
// intact and the result is false. Rows whose cells are all blank are skipped. A text the file
// cannot hold (outside Windows-1251, a line break) fails the save rather than being altered.
// Histories, the modified flag and the exchange file are the caller's business.
bool SaveShemaFile(const QString& path, const stScena& scene, const FormulaGrid& rows, const EditorState& state);
// Builds into doc the document SaveShemaFile writes; false when some text could not be stored.
bool BuildShemaDocument(const stScena& scene, const FormulaGrid& rows, const EditorState& state, IniDocument& doc);

// A formula row the file keeps: one with a cell that is not blank.
bool RowHasText(const QStringList& row);

// "Point": x then y of every point as four upper-case hex digits, then CR LF, stored as hex bytes.
// Coordinates outside 0..65535 are clamped into it so that every point keeps its place.
void WriteCurvePoints(IniDocument& doc, const QString& section, const std::vector<QPoint>& points);
// Replaces points by the decoded ones; a trailing partial group is ignored, as is a group that
// is not hexadecimal.
void ReadCurvePoints(const IniDocument& doc, const QString& section, std::vector<QPoint>& points);

}  // namespace korvan
