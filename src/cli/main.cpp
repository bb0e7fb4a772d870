// korvan-cli: the editor's core without a window, for batch work and for black-box tests.

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "cli/CliCommands.h"

namespace {

void PrintHelp(QTextStream& out) {
  out << "Usage: korvan-cli <command> [arguments]\n\nCommands:\n";
  for (const auto& c : korvan::cli::Commands()) {
    const QString line = QStringLiteral("  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.usage));
    out << line.leftJustified(40) << ' ' << c.summary << '\n';
  }
  out << "\n  --help" << QString(34, QLatin1Char(' ')) << "show this help\n";
}

}  // namespace

int main(int argc, char* argv[]) {
  // Painting needs fonts, which need a GUI application; a console tool must not need a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  korvan::cli::Streams io{out, err};

  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) {
    PrintHelp(err);
    return korvan::cli::kExitUsage;
  }
  const QString name = args.takeFirst();
  if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
    PrintHelp(out);
    return korvan::cli::kExitOk;
  }
  for (const auto& c : korvan::cli::Commands())
    if (name == QLatin1String(c.name)) return c.run(args, io);
  err << "korvan-cli: unknown command \"" << name << "\"; see korvan-cli --help\n";
  return korvan::cli::kExitUsage;
}
