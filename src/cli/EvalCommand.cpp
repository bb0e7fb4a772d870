// korvan-cli eval: a formula text evaluated the way a formula cell evaluates it, optionally over the
// figures and formula rows of a scheme.

#include <QFileInfo>

#include "cli/CliCommands.h"
#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"
#include "model/SchemeFile.h"

namespace korvan::cli {
namespace {

constexpr int kMaxDigits = 22;  // the rounding works to 10^22, the last power of ten a double holds exactly

int Usage(Streams& io) {
  io.err << "usage: korvan-cli eval TEXT [--scheme FILE.kvn] [--digits N]   (N from 0 to " << kMaxDigits
         << "; -- ends the options)\n";
  return kExitUsage;
}

int Eval(const QStringList& args, Streams& io) {
  QString text, scheme;
  bool haveText = false, optionsEnded = false;
  int digits = 2;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!optionsEnded && a == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && a == QLatin1String("--scheme")) {
      if (++i >= args.size()) return Usage(io);
      scheme = args[i];
    } else if (!optionsEnded && a == QLatin1String("--digits")) {
      if (++i >= args.size()) return Usage(io);
      bool ok = false;
      digits = args[i].toInt(&ok);
      if (!ok || digits < 0 || digits > kMaxDigits) return Usage(io);
    } else if (!haveText) {
      text = a;
      haveText = true;
    } else {
      return Usage(io);
    }
  }
  if (!haveText) return Usage(io);

  stScena scene;
  FormulaGrid rows;
  EditorState state;
  if (!scheme.isEmpty()) {
    if (!QFileInfo(scheme).isFile()) {
      io.err << "Файл не найден: " << scheme << '\n';
      return kExitUsage;
    }
    SchemeLoadHooks hooks = MakeSchemeLoadHooks(state, EstimateLink{});
    hooks.proposeFormulaName = nullptr;
    io.err.flush();
    // The format message goes through the prompter, which on a console writes it to stderr.
    if (!LoadShemaFile(scheme, scene, rows, state, hooks)) return kExitUsage;
  }

  const FormulaValue r = CalculateFormulaText(text, false, scene.Figures, rows, state);
  if (r.Failed()) {
    io.err << r.Message << '\n';
    return kExitFailure;
  }
  io.out << FormatValue(r.Value, digits) << '\n';
  return kExitOk;
}

}  // namespace

const CliCommand kEvalCommand{"eval", "TEXT [--scheme FILE.kvn] [--digits N]",
                              "evaluate a formula text (names from the scheme), print its value cell", &Eval};

}  // namespace korvan::cli
