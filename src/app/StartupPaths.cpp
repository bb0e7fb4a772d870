#include "app/StartupPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "support/ZString.h"

namespace korvan {
namespace {

bool WritableFolder(const QString& folder) {
  if (!QDir().mkpath(folder)) return false;
  QTemporaryFile probe(folder + QStringLiteral("probe-XXXXXX"));
  return probe.open();
}

// Copies files under from that are missing under to, keeping the tree.
void CopyMissing(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + QDir(from).relativeFilePath(source);
    if (QFileInfo::exists(target)) continue;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(source, target);
  }
}

}  // namespace

CommandLineArgs ParseCommandLine(const QStringList& arguments) {
  const QString raw = arguments.join(QLatin1Char(' '));
  CommandLineArgs args;
  const qsizetype q = raw.indexOf(QLatin1Char('?'));
  if (q < 0) return args;
  args.ShemaFolderArg = raw.left(q);
  args.SmetaFileArg = raw.mid(q + 1);
  return args;
}

EditorFolders ResolveEditorFolders(const QString& executableDir, const QString& userDataDir,
                                   const CommandLineArgs& args) {
  EditorFolders f;
  const QString installed = ZString::IncludeTrailingBackslash(executableDir) + QStringLiteral("Korvan/");
  if (WritableFolder(installed) || userDataDir.isEmpty()) {
    f.Base = installed;
  } else {
    f.Base = ZString::IncludeTrailingBackslash(userDataDir) + QStringLiteral("Korvan/");
    f.UsingFallback = true;
    QDir().mkpath(f.Base);
    CopyMissing(installed, f.Base);
  }
  f.SettingsFile = f.Base + QStringLiteral("Korvan.ini");
  f.SampleFolder = f.Base + QStringLiteral("Sample/");
  f.HelpFile = f.Base + QStringLiteral("DOC/ShemaHelp.html");
  QString folder = args.ShemaFolderArg;
  // Blanks before the "?" end the folder name as the file system of the estimate program ignores
  // them; a folder passed without its separator still gets names appended inside it.
  while (!folder.isEmpty() && folder.back().isSpace()) folder.chop(1);
  f.ShemaFolder = ZString::IncludeTrailingBackslash(folder.trimmed().isEmpty() ? f.SampleFolder : folder);
  QDir().mkpath(f.ShemaFolder);
  return f;
}

}  // namespace korvan
