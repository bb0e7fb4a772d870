#pragma once
// What the editor learns before its window exists: the two arguments of its command line and the
// folders it works in. No widgets here, so tests run it directly.

#include <QString>
#include <QStringList>

namespace korvan {

struct CommandLineArgs {
  QString ShemaFolderArg;  // before the first "?", untrimmed
  QString SmetaFileArg;    // after it, untrimmed, further "?" included
};

// The program's arguments joined by single spaces form the raw text, split at its first "?";
// without a "?" both parts stay empty.
CommandLineArgs ParseCommandLine(const QStringList& arguments);

struct EditorFolders {
  QString Base;           // ".../Korvan/", where the settings file and the sample folder live
  QString SettingsFile;   // Base + "Korvan.ini"
  QString SampleFolder;   // Base + "Sample/"
  QString HelpFile;       // Base + "DOC/ShemaHelp.html"
  QString ShemaFolder;    // the folder of the schemes, with a trailing "/"
  bool UsingFallback = false;  // Base is the per-user folder, not the one next to the program
};

// executableDir + "Korvan/" when that folder can be created and written; otherwise userDataDir +
// "Korvan/" (an installed program's folder is read-only), into which the sample schemes and the
// help are copied from the program's folder once, when missing. ShemaFolder is ShemaFolderArg
// without trailing blanks and with a trailing "/", or the sample folder when the argument is
// blank; it is created with its parents.
EditorFolders ResolveEditorFolders(const QString& executableDir, const QString& userDataDir,
                                   const CommandLineArgs& args);

}  // namespace korvan
