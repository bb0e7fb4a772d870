// korvan-cli report and resave: a scheme file read and shown, or read and written again.

#include <QFileInfo>

#include "cli/CliCommands.h"
#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"
#include "model/SchemeFile.h"
#include "support/ZString.h"

namespace korvan::cli {
namespace {

QString Escaped(QString s) {
  s.replace(QLatin1Char('\t'), QLatin1String("\\t"));
  s.replace(QLatin1Char('\r'), QLatin1String("\\r"));
  s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  return s;
}

// Loads path for a command; on failure the message is already out and the exit code is returned.
int LoadForCommand(const QString& path, stScena& scene, FormulaGrid& rows, EditorState& state, Streams& io,
                   const SchemeLoadHooks& hooks = {}) {
  if (!QFileInfo(path).isFile()) {
    io.err << "Файл не найден: " << path << '\n';
    return kExitUsage;
  }
  io.err.flush();
  // The format message goes through the prompter, which on a console writes it to stderr.
  if (!LoadShemaFile(path, scene, rows, state, hooks)) return kExitUsage;
  return kExitOk;
}

int Report(const QStringList& args, Streams& io) {
  if (args.size() != 1) {
    io.err << "usage: korvan-cli report FILE.kvn\n";
    return kExitUsage;
  }
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  // Formula values are recomputed as the editor does on load; the name the editor proposes for an
  // empty table is not part of the file and is left out.
  SchemeLoadHooks hooks = MakeSchemeLoadHooks(state, EstimateLink{});
  hooks.proposeFormulaName = nullptr;
  if (const int rc = LoadForCommand(args[0], scene, rows, state, io, hooks); rc != kExitOk) return rc;

  FormulaGrid shown;
  for (const QStringList& row : rows)
    if (RowHasText(row)) shown.append(row);

  const QChar tab(QLatin1Char('\t'));
  io.out << "scheme" << tab << state.ImageWidth << tab << state.ImageHeight << tab << state.BackgroundColor << tab
         << scene.Figures.size() << tab << shown.size() << '\n';
  int i = 0;
  for (const stFigure& f : scene.Figures) {
    io.out << "figure" << tab << ++i << tab << Escaped(f.Guid) << tab << Escaped(f.GuidParent) << tab
           << Escaped(f.Name) << tab << f.Vid << tab << f.VidFill << tab << f.X0 << tab << f.Y0 << tab << f.X1
           << tab << f.Y1 << tab << ZString::FormatNumber(f.Width) << tab << ZString::FormatNumber(f.Height)
           << tab << f.Points.size() << tab << f.Picture.width() << 'x' << f.Picture.height() << tab
           << AreaText(f, state) << tab << PerimeterText(f, state) << '\n';
  }
  int k = 0;
  for (const QStringList& row : shown)
    io.out << "formula" << tab << ++k << tab << Escaped(row.value(0)) << tab << Escaped(row.value(1)) << tab
           << Escaped(row.value(2)) << '\n';
  return kExitOk;
}

int Resave(const QStringList& args, Streams& io) {
  if (args.size() != 2) {
    io.err << "usage: korvan-cli resave IN.kvn OUT.kvn\n";
    return kExitUsage;
  }
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  if (const int rc = LoadForCommand(args[0], scene, rows, state, io); rc != kExitOk) return rc;
  if (!SaveShemaFile(args[1], scene, rows, state)) {
    io.err << "Не удалось сохранить схему: " << args[1] << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

const CliCommand kReportCommand{"report", "FILE.kvn",
                                "print the scheme, its figures and formulas as tab-separated lines", &Report};
const CliCommand kResaveCommand{"resave", "IN.kvn OUT.kvn", "read a scheme and write it again", &Resave};

}  // namespace korvan::cli
