#pragma once
// Names used by the other schemes of the scheme folder. While the editor runs for an estimate
// program, which sees the names of every scheme of the folder, no figure or formula name may
// repeat one of them.

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "model/EditorState.h"

namespace korvan {

// Where a name was found: the other file (its path) and the name as that file spells it.
struct OtherSchemeUse {
  QString path;
  QString name;
  bool figure = true;  // a figure name; otherwise a formula name
};

// The figure and formula names of every "*.kvn" file of a folder except the open scheme's own.
// Each file is parsed once per Refresh; a file whose path, size and modification time are those of
// the last Refresh is not read again, so a caller that checks names often (every repaint of the
// formula grid) may keep one object and refresh it before each use.
class OtherSchemeNames {
 public:
  // Re-lists folder and reads the files that are new or changed. ownFile is left out: the file
  // whose path, trimmed and in lower case, equals it so.
  void Refresh(const QString& folder, const QString& ownFile);

  // The first use of name in listing order, the figure names of a file before its formula names,
  // both sides trimmed and compared exactly.
  std::optional<OtherSchemeUse> Find(const QString& name) const;

 private:
  struct File {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QStringList figureNames;   // as read
    QStringList formulaNames;  // as read
    QSet<QString> trimmed;     // both lists trimmed
  };
  std::vector<File> files_;
};

// The message naming the other scheme that uses a name.
QString OtherSchemeMessage(const OtherSchemeUse& use);

// True when no other scheme of state.ShemaFolder uses name; otherwise false, after the message
// (caption state.Title) when showMessages is set. With names given, they are refreshed and used;
// without, the folder is read for this one check.
bool CheckNameInOtherShemas(const QString& name, bool showMessages, const EditorState& state,
                            OtherSchemeNames* names = nullptr);

}  // namespace korvan
