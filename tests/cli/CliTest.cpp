// korvan-cli run as a process, the way scripts and users run it.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/CliRunner.h"
#include "common/QtPrinters.h"

namespace {

using korvan::test::Cli;
using korvan::test::CliRun;
using korvan::test::Fixture;
using korvan::test::ReadBytes;

TEST(Cli, HelpListsTheCommands) {
  const CliRun r = Cli({QStringLiteral("--help")});
  EXPECT_EQ(r.code, 0);
  for (const char* name : {"report", "resave", "version"})
    EXPECT_TRUE(r.out.contains(QStringLiteral("  ") + QString::fromLatin1(name))) << name;
}

TEST(Cli, UnknownCommandAndMissingArgumentsAreUsageErrors) {
  EXPECT_EQ(Cli({QStringLiteral("frobnicate")}).code, 2);
  EXPECT_EQ(Cli({}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("report")}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("resave"), Fixture("golden.kvn")}).code, 2);
}

TEST(Cli, ReportPrintsTheScheme) {
  const CliRun r = Cli({QStringLiteral("report"), Fixture("golden.kvn")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[0], QStringLiteral("scheme\t1600\t1200\t16777215\t3\t2"));
  EXPECT_EQ(lines[1], QStringLiteral("figure\t1\t6F9619FF-8B86-D011-B42D-00C04FC964FF\t\tСтена\t2\t1\t100\t80\t400\t280\t"
                                     "3.5\t2.0\t0\t0x0\t7.0\t11.0"));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("figure\t2\t0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9\t"
                                                 "6F9619FF-8B86-D011-B42D-00C04FC964FF\tОкно\t14\t0\t120\t90\t300\t65535\t"
                                                 "1.25\t\t3\t0x0\t")));
  EXPECT_TRUE(lines[3].contains(QStringLiteral("\tФото\t11\t")));
  EXPECT_TRUE(lines[3].contains(QStringLiteral("\t0.3333333333\t0\t2x2\t")));
  EXPECT_EQ(lines[4], QStringLiteral("formula\t1\tПлощадь_стен\t(Стена_Площадь-Окно_Площадь)*2\t14.0"));
  EXPECT_EQ(lines[5], QStringLiteral("formula\t2\tИтог\tПлощадь_стен*1.1\t15.4"));
}

TEST(Cli, ReportEscapesTabsAndLineBreaks) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.kvn"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  // A value cannot hold a line break, but a tab or a backslash-n pair can reach the file.
  f.write("[COMMON]\r\nFormatFile=KVN 1.0\r\nFigCount=1\r\n\r\n[FIG_1]\r\nName=a\tb\r\nGUID=g\r\n");
  f.close();
  const CliRun r = Cli({QStringLiteral("report"), path});
  ASSERT_EQ(r.code, 0);
  EXPECT_TRUE(r.out.contains(QStringLiteral("\tg\t\ta\\tb\t0\t")));
}

TEST(Cli, RefusedAndMissingFilesExitWithTwo) {
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("bad.kvn"));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[COMMON]\r\nFormatFile=kvn 1.0\r\n");
  f.close();
  CliRun r = Cli({QStringLiteral("report"), bad});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.err.contains(QStringLiteral("Неизвестный формат файла!"))) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());

  r = Cli({QStringLiteral("report"), dir.filePath(QStringLiteral("absent.kvn"))});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.err.contains(QStringLiteral("Файл не найден: "))) << r.err.toStdString();
}

TEST(Cli, ResaveWritesTheSameBytes) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("out.kvn"));
  const CliRun r = Cli({QStringLiteral("resave"), Fixture("golden.kvn"), out});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(ReadBytes(out), ReadBytes(Fixture("golden.kvn")));

  const CliRun failed = Cli({QStringLiteral("resave"), Fixture("golden.kvn"), dir.filePath(QStringLiteral("no/dir/x.kvn"))});
  EXPECT_EQ(failed.code, 1);
  EXPECT_TRUE(failed.err.contains(QStringLiteral("Не удалось сохранить схему: ")));
}

}  // namespace
