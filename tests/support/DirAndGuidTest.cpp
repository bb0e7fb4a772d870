#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"

#include "common/ScriptedPrompter.h"
#include "support/Guid.h"
#include "support/ZDirFile.h"

namespace korvan {
namespace {

void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(ListFiles, ListsMatchingFilesOnly) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("x.kvn")));
  Touch(tmp.filePath(QStringLiteral("y.kvn")));
  Touch(tmp.filePath(QStringLiteral("B.KVN")));
  Touch(tmp.filePath(QStringLiteral("notes.txt")));
  Touch(tmp.filePath(QStringLiteral("y.kvn.bak")));

  for (const QString& folder : {tmp.path(), tmp.path() + QLatin1Char('/')}) {
    QStringList list{QStringLiteral("kept")};
    EXPECT_EQ(ZDirFile().ListFiles(folder, QStringLiteral("*.kvn"), list), 2);
    list.sort();
    EXPECT_EQ(list, (QStringList{tmp.path() + QStringLiteral("/B.KVN"), tmp.path() + QStringLiteral("/y.kvn"),
                                 QStringLiteral("kept")}));
  }
}

TEST(ListFiles, EmptyOrMissingFolderListsNothing) {
  // The current directory holds files of its own; an empty folder string must not list them.
  QStringList list;
  EXPECT_EQ(ZDirFile().ListFiles(QString(), QStringLiteral("*"), list), 0);
  EXPECT_EQ(ZDirFile().ListFiles(QStringLiteral("/no/such/folder"), QStringLiteral("*.kvn"), list), 0);
  EXPECT_TRUE(list.isEmpty());
}

TEST(OpenWithShell, ExistingFileIsHandedToTheDesktop) {
  QTemporaryDir tmp;
  const QString path = tmp.filePath(QStringLiteral("help.html"));
  Touch(path);
  test::ScriptedPrompter prompter;
  ScopedPrompter scope(&prompter);
  EXPECT_TRUE(ZDirFile().OpenWithShell(path));
  ASSERT_EQ(prompter.opened.size(), 1);
  EXPECT_EQ(prompter.opened[0].toLocalFile(), path);
  EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(OpenWithShell, MissingFileIsReportedWithItsPath) {
  test::ScriptedPrompter prompter;
  ScopedPrompter scope(&prompter);
  const QString path = QStringLiteral("/no/such/ShemaHelp.html");
  EXPECT_FALSE(ZDirFile().OpenWithShell(path));
  ASSERT_EQ(prompter.shown.size(), 1);
  EXPECT_EQ(prompter.shown[0].kind, test::ScriptedPrompter::Shown::Warning);
  EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Класс ZDirFile"));
  EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Файл не найден: /no/such/ShemaHelp.html"));
  EXPECT_TRUE(prompter.opened.isEmpty());
}

TEST(Guid, TextIsUpperCaseWithoutBracesAndUnique) {
  const QRegularExpression form(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
  QSet<QString> seen;
  for (int i = 0; i < 1000; ++i) {
    QUuid g;
    ASSERT_TRUE(NewGuid(g));
    const QString text = GuidToText(g);
    EXPECT_TRUE(form.match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(text.count(QLatin1Char('-')), 4);
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 1000);
}

TEST(Guid, NullGuidIsThirtyTwoZeroDigits) {
  EXPECT_EQ(GuidToText(QUuid()), QStringLiteral("00000000-0000-0000-0000-000000000000"));
  const QUuid known(QStringLiteral("{6f9619ff-8b86-d011-b42d-00c04fc964ff}"));
  EXPECT_EQ(GuidToText(known), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
}

}  // namespace
}  // namespace korvan
