#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

#include "app/StartupPaths.h"
#include "common/QtPrinters.h"

namespace korvan {
namespace {

TEST(CommandLine, SplitsAtTheFirstQuestionMark) {
  struct Case {
    QStringList args;
    const char* folder;
    const char* exchange;
  };
  const Case cases[] = {
      {{QStringLiteral("/home/u/Схемы/?/tmp/obmen.ini")}, "/home/u/Схемы/", "/tmp/obmen.ini"},
      {{QStringLiteral("/home/u/Схемы/")}, "", ""},  // no "?": ignored
      {{QStringLiteral("?")}, "", ""},
      {{QStringLiteral("/a/?/b?c?d")}, "/a/", "/b?c?d"},
      {{QStringLiteral("/my"), QStringLiteral("folder/?/x"), QStringLiteral("y.ini")}, "/my folder/", "/x y.ini"},
      {{QStringLiteral("/a/"), QStringLiteral("?"), QStringLiteral("/b.ini")}, "/a/ ", " /b.ini"},  // untrimmed
      {{}, "", ""},
  };
  for (const Case& c : cases) {
    const CommandLineArgs a = ParseCommandLine(c.args);
    EXPECT_EQ(a.ShemaFolderArg, QString::fromUtf8(c.folder)) << c.args.join(' ').toStdString();
    EXPECT_EQ(a.SmetaFileArg, QString::fromUtf8(c.exchange)) << c.args.join(' ').toStdString();
  }
}

TEST(EditorFolders, UseTheFolderNextToTheProgram) {
  QTemporaryDir exe, user;
  const EditorFolders f = ResolveEditorFolders(exe.path(), user.path(), {});
  EXPECT_FALSE(f.UsingFallback);
  EXPECT_EQ(f.Base, exe.path() + QStringLiteral("/Korvan/"));
  EXPECT_EQ(f.SettingsFile, exe.path() + QStringLiteral("/Korvan/Korvan.ini"));
  EXPECT_EQ(f.ShemaFolder, exe.path() + QStringLiteral("/Korvan/Sample/"));
  EXPECT_TRUE(QFileInfo(f.ShemaFolder).isDir());
}

TEST(EditorFolders, SchemeFolderArgumentWins) {
  QTemporaryDir exe, user, schemes;
  struct Case {
    QString arg;
    QString folder;
  };
  const Case cases[] = {
      {schemes.path() + QStringLiteral("/a/"), schemes.path() + QStringLiteral("/a/")},
      {schemes.path() + QStringLiteral("/b"), schemes.path() + QStringLiteral("/b/")},
      {schemes.path() + QStringLiteral("/c/ "), schemes.path() + QStringLiteral("/c/")},
      {QStringLiteral("   "), exe.path() + QStringLiteral("/Korvan/Sample/")},
  };
  for (const Case& c : cases) {
    const EditorFolders f = ResolveEditorFolders(exe.path(), user.path(), {c.arg, QString()});
    EXPECT_EQ(f.ShemaFolder, c.folder);
    EXPECT_TRUE(QFileInfo(f.ShemaFolder).isDir()) << c.folder.toStdString();  // created with its parents
  }
}

TEST(EditorFolders, ReadOnlyProgramFolderFallsBackToTheUserFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  QTemporaryDir exe, user;
  ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("Korvan/Sample")));
  QFile sample(exe.path() + QStringLiteral("/Korvan/Sample/Комната.kvn"));
  ASSERT_TRUE(sample.open(QIODevice::WriteOnly));
  sample.write("[COMMON]\r\n");
  sample.close();
  QFile::setPermissions(exe.path() + QStringLiteral("/Korvan"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const EditorFolders f = ResolveEditorFolders(exe.path(), user.path(), {});
  QFile::setPermissions(exe.path() + QStringLiteral("/Korvan"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_TRUE(f.UsingFallback);
  EXPECT_EQ(f.Base, user.path() + QStringLiteral("/Korvan/"));
  EXPECT_TRUE(QFileInfo::exists(user.path() + QStringLiteral("/Korvan/Sample/Комната.kvn")));
}

TEST(EditorFolders, ProgramFolderThatIsAFileFallsBack) {
  // Works for root too: nothing can create a folder where a file stands.
  QTemporaryDir exe, user;
  QFile blocker(exe.path() + QStringLiteral("/Korvan"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const EditorFolders f = ResolveEditorFolders(exe.path(), user.path(), {});
  EXPECT_TRUE(f.UsingFallback);
  EXPECT_EQ(f.ShemaFolder, user.path() + QStringLiteral("/Korvan/Sample/"));
  EXPECT_TRUE(QFileInfo(f.ShemaFolder).isDir());
}

}  // namespace
}  // namespace korvan
