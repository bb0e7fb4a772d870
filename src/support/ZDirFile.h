#pragma once
// Folder listing by mask and handing a document to the desktop.

#include <QString>
#include <QStringList>

namespace korvan {

class ZDirFile {
 public:
  ZDirFile() = default;
  const QString& Title() const { return title_; }

  // Appends folder + "/" + name for every file (not folder) of folder matching mask, in the order
  // the file system gives them; matching ignores letter case as on the system the files come from.
  // An empty folder lists nothing. Returns the number of names appended.
  int ListFiles(const QString& folder, const QString& mask, QStringList& list) const;

  // Asks the desktop to open an existing document and returns true; for a missing one shows
  // "Файл не найден: " + path and returns false.
  bool OpenWithShell(const QString& path) const;

 private:
  QString title_ = QStringLiteral("Класс ZDirFile");
};

}  // namespace korvan
