#include "support/ZDirFile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "support/Prompter.h"
#include "support/ZString.h"

namespace korvan {

int ZDirFile::ListFiles(const QString& folder, const QString& mask, QStringList& list) const {
  if (folder.isEmpty()) return 0;
  const QString prefix = ZString::IncludeTrailingBackslash(folder);
  QDir dir(prefix);
  if (!dir.exists()) return 0;
  const QStringList names = dir.entryList(QStringList{mask},
                                          QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Unsorted);
  for (const QString& name : names) list.append(prefix + name);
  return static_cast<int>(names.size());
}

bool ZDirFile::OpenWithShell(const QString& path) const {
  const QFileInfo info(path);
  if (info.exists() && info.isFile()) {
    CurrentPrompter().OpenExternal(QUrl::fromLocalFile(info.absoluteFilePath()));
    return true;
  }
  CurrentPrompter().Warn(title_, QStringLiteral("Файл не найден: ") + path);
  return false;
}

}  // namespace korvan
