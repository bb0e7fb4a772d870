// korvan-cli render run as a process on the golden scheme.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/CliRunner.h"
#include "common/QtPrinters.h"

namespace {

using korvan::test::Cli;
using korvan::test::CliRun;
using korvan::test::Fixture;
using korvan::test::ReadBytes;

QString Golden() { return Fixture("golden.kvn"); }

QImage Rendered(const QStringList& extra, const QString& out) {
  const CliRun r = Cli(QStringList{QStringLiteral("render"), Golden(), out} + extra);
  EXPECT_EQ(r.code, 0) << r.err.toStdString();
  return QImage(out).convertToFormat(QImage::Format_RGB32);
}

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrid = 0xFFC0C0C0;

TEST(RenderCli, PaintsTheSchemeAtItsImageSize) {
  QTemporaryDir dir;
  for (const char* name : {"plain.png", "plain.bmp", "UPPER.PNG"}) {
    const QImage img = Rendered({}, dir.filePath(QString::fromUtf8(name)));
    EXPECT_EQ(img.size(), QSize(1600, 1200)) << name;
    // The first figure: a red-framed rectangle (100, 80)-(400, 280) filled white, its length
    // dimension 20 pixels or so below it in grey.
    EXPECT_EQ(img.pixel(250, 180), kWhite) << name;
    EXPECT_EQ(img.pixel(1500, 1100), kWhite) << name;
    EXPECT_EQ(img.pixel(98, 78), kWhite) << "no marks without a selection";
    int red = 0;
    for (int x = 110; x < 390; ++x) red += qRed(img.pixel(x, 280)) == 255 && qGreen(img.pixel(x, 280)) == 0;
    EXPECT_GT(red, 150) << name;
  }
  EXPECT_EQ(QImage(dir.filePath(QStringLiteral("plain.png"))).convertToFormat(QImage::Format_RGB32),
            QImage(dir.filePath(QStringLiteral("plain.bmp"))).convertToFormat(QImage::Format_RGB32));
}

TEST(RenderCli, GridAndSelectionOnRequest) {
  QTemporaryDir dir;
  const QImage plain = Rendered({}, dir.filePath(QStringLiteral("a.png")));
  const QImage grid = Rendered({QStringLiteral("--grid")}, dir.filePath(QStringLiteral("b.png")));
  EXPECT_EQ(plain.pixel(1500, 7), kWhite);
  EXPECT_EQ(grid.pixel(1500, 7), kGrid);
  EXPECT_EQ(grid.pixel(1501, 7), kWhite);
  EXPECT_EQ(grid.pixel(1000, 1180), kGrid);

  const QImage selected = Rendered({QStringLiteral("--select"), QStringLiteral("1")}, dir.filePath(QStringLiteral("c.png")));
  EXPECT_EQ(selected.pixel(98, 78), kBlack) << "top-left mark of the first figure";
  EXPECT_EQ(selected.pixel(398, 278), kBlack) << "bottom-right mark";
  const QImage third = Rendered({QStringLiteral("--select"), QStringLiteral("3"), QStringLiteral("--grid")},
                                dir.filePath(QStringLiteral("d.bmp")));
  EXPECT_EQ(third.pixel(98, 78), kWhite);
  EXPECT_EQ(third.pixel(418, 58), kBlack) << "top-left mark of the picture (500, 100)-(420, 60)";
}

TEST(RenderCli, EveryKindLeavesInkInItsBox) {
  // The figures' boxes come from the report of the same file.
  const QString scheme = QStringLiteral(KORVAN_FIXTURES_DIR "/every_kind.kvn");
  QProcess report;
  report.start(QStringLiteral(KORVAN_CLI_PATH), {QStringLiteral("report"), scheme});
  ASSERT_TRUE(report.waitForFinished(60000));
  const QStringList lines = QString::fromUtf8(report.readAllStandardOutput()).split(QLatin1Char('\n'));
  QTemporaryDir dir;
  const QImage img = [&] {
    const QString out = dir.filePath(QStringLiteral("every.png"));
    const CliRun r = Cli({QStringLiteral("render"), scheme, out, QStringLiteral("--select"), QStringLiteral("28")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return QImage(out).convertToFormat(QImage::Format_RGB32);
  }();
  ASSERT_EQ(img.size(), QSize(1280, 1024));
  QSet<int> kinds;
  int figures = 0;
  for (const QString& line : lines) {
    const QStringList c = line.split(QLatin1Char('\t'));
    if (c.value(0) != QLatin1String("figure")) continue;
    ++figures;
    kinds.insert(c[5].toInt());
    const QRect box = QRect(QPoint(c[7].toInt(), c[8].toInt()), QPoint(c[9].toInt(), c[10].toInt())).normalized();
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) ink += img.pixel(x, y) != kWhite;
    EXPECT_GT(ink, 100) << c[4].toStdString() << " (kind " << c[5].toStdString() << ")";
  }
  EXPECT_EQ(figures, 28);
  EXPECT_EQ(kinds.size(), 14);
  // The selected last figure, a rectangle at (1020, 820)-(1170, 920), shows its marks.
  EXPECT_EQ(img.pixel(1018, 818), kBlack);
  EXPECT_EQ(img.pixel(1168, 918), kBlack);
}

TEST(RenderCli, RefusesBadArgumentsAndInputsWithTwo) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("x.png"));
  struct Row {
    QStringList args;
    const char* message;
  };
  const Row rows[] = {
      {{QStringLiteral("render")}, "usage"},
      {{QStringLiteral("render"), Golden()}, "usage"},
      {{QStringLiteral("render"), Golden(), dir.filePath(QStringLiteral("x.jpg"))}, ".bmp or .png"},
      {{QStringLiteral("render"), Golden(), out, QStringLiteral("--select")}, "--select"},
      {{QStringLiteral("render"), Golden(), out, QStringLiteral("--select"), QStringLiteral("0")}, "--select"},
      {{QStringLiteral("render"), Golden(), out, QStringLiteral("--select"), QStringLiteral("4")}, "no figure 4"},
      {{QStringLiteral("render"), Golden(), out, QStringLiteral("--zoom")}, "unknown option"},
      {{QStringLiteral("render"), dir.filePath(QStringLiteral("absent.kvn")), out}, "Файл не найден"},
  };
  for (const Row& r : rows) {
    const CliRun run = Cli(r.args);
    EXPECT_EQ(run.code, 2) << r.args.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(r.message))) << run.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(out));

  const QString bad = dir.filePath(QStringLiteral("bad.kvn"));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[COMMON]\r\nFormatFile=KVN 2.0\r\n");
  f.close();
  const CliRun run = Cli({QStringLiteral("render"), bad, out});
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Неизвестный формат файла!"))) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(out));
}

TEST(RenderCli, WriteFailureExitsWithOne) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("missing/dir/x.png"));
  const CliRun run = Cli({QStringLiteral("render"), Golden(), out});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.err.contains(out)) << run.err.toStdString();
}

TEST(RenderCli, ListedInTheHelp) {
  QProcess p;
  p.start(QStringLiteral(KORVAN_CLI_PATH), {QStringLiteral("--help")});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("  render IN.kvn OUT.(bmp|png)")));
}

}  // namespace
