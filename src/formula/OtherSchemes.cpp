#include "formula/OtherSchemes.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include "model/SchemeFile.h"
#include "support/Cp1251.h"
#include "support/IniDocument.h"
#include "support/IniValues.h"
#include "support/Prompter.h"
#include "support/ZDirFile.h"

namespace korvan {
namespace {

// Paths compare as the system the schemes come from compares them: blanks and letter case aside.
// The separators are tidied first so that "folder//name" and "folder/name" are one file.
QString PathKey(const QString& path) {
  const QString t = path.trimmed();
  return cp1251::ToLower(t.isEmpty() ? t : QDir::cleanPath(t));
}

void ReadNames(const IniDocument& doc, const QString& countSection, const QString& countKey,
               const QString& sectionPrefix, int cap, QStringList& out) {
  int count = 0;
  ReadIniInt(doc, countSection, countKey, count);
  count = std::clamp(count, 0, cap);
  for (int i = 1; i <= count; ++i) {
    QString name;
    ReadIniString(doc, sectionPrefix + QString::number(i), QStringLiteral("Name"), name);
    out.append(name);
  }
}

}  // namespace

void OtherSchemeNames::Refresh(const QString& folder, const QString& ownFile) {
  QStringList paths;
  ZDirFile().ListFiles(folder, QStringLiteral("*.kvn"), paths);
  const QString own = PathKey(ownFile);

  QHash<QString, File*> known;
  for (File& f : files_) known.insert(f.path, &f);
  std::vector<File> fresh;
  fresh.reserve(static_cast<size_t>(paths.size()));
  for (const QString& path : paths) {
    if (PathKey(path) == own) continue;
    const QFileInfo info(path);
    File f;
    f.path = path;
    f.size = info.size();
    f.modified = info.lastModified();
    File* old = known.value(path, nullptr);
    if (old && old->size == f.size && old->modified == f.modified) {
      fresh.push_back(std::move(*old));
      continue;
    }
    IniDocument doc;
    // A file that cannot be read contributes no names, as a failed profile read leaves defaults.
    if (doc.LoadFile(path)) {
      ReadNames(doc, QStringLiteral("COMMON"), QStringLiteral("FigCount"), QStringLiteral("FIG_"), kMaxSchemeFigures,
                f.figureNames);
      ReadNames(doc, QStringLiteral("Formula"), QStringLiteral("Count"), QStringLiteral("Formula_"),
                kMaxSchemeFormulas, f.formulaNames);
    }
    for (const QString& n : f.figureNames) f.trimmed.insert(n.trimmed());
    for (const QString& n : f.formulaNames) f.trimmed.insert(n.trimmed());
    fresh.push_back(std::move(f));
  }
  files_ = std::move(fresh);
}

std::optional<OtherSchemeUse> OtherSchemeNames::Find(const QString& name) const {
  const QString key = name.trimmed();
  for (const File& f : files_) {
    if (!f.trimmed.contains(key)) continue;
    for (const QString& n : f.figureNames)
      if (n.trimmed() == key) return OtherSchemeUse{f.path, n, true};
    for (const QString& n : f.formulaNames)
      if (n.trimmed() == key) return OtherSchemeUse{f.path, n, false};
  }
  return std::nullopt;
}

QString OtherSchemeMessage(const OtherSchemeUse& use) {
  const QString where = use.figure ? QStringLiteral("\" используется в имени фигуры схемы \"")
                                   : QStringLiteral("\" используется в имени формулы схемы \"");
  const QString fileName = use.path.mid(use.path.lastIndexOf(QLatin1Char('/')) + 1);
  return QStringLiteral("Параметр \"") + use.name + where + fileName +
         QStringLiteral("\"! Измените наименование параметра.");
}

bool CheckNameInOtherShemas(const QString& name, bool showMessages, const EditorState& state,
                            OtherSchemeNames* names) {
  OtherSchemeNames local;
  OtherSchemeNames& n = names ? *names : local;
  n.Refresh(state.ShemaFolder, state.ShemaFile);
  const std::optional<OtherSchemeUse> use = n.Find(name);
  if (!use) return true;
  if (showMessages) CurrentPrompter().Warn(state.Title, OtherSchemeMessage(*use));
  return false;
}

}  // namespace korvan
