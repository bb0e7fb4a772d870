// korvan-cli eval, and the measure and value columns of korvan-cli report, run as a process.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/CliRunner.h"
#include "common/QtPrinters.h"
#include "support/Cp1251.h"

namespace {

using korvan::test::Cli;
using korvan::test::CliRun;
using korvan::test::Fixture;
using korvan::test::ReadBytes;

QString U(const char* s) { return QString::fromUtf8(s); }
QString Golden() { return Fixture("golden.kvn"); }

// Writes a scheme given as UTF-8 with LF line ends as the Windows-1251, CR LF file it stands for.
QString WriteScheme(const QTemporaryDir& dir, const char* name, const char* utf8) {
  QString text = U(utf8);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray bytes;
  EXPECT_TRUE(korvan::cp1251::Encode(text, bytes));
  const QString path = dir.filePath(U(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  return path;
}

struct EvalCase {
  QStringList args;  // after "eval"
  int code;
  const char* out;  // standard output, exactly
  const char* err;  // a text standard error contains ("" for none expected)
};

void ExpectEval(const std::vector<EvalCase>& cases) {
  for (const EvalCase& c : cases) {
    const CliRun r = Cli(QStringList{QStringLiteral("eval")} + c.args);
    const std::string what = c.args.join(u' ').toStdString();
    EXPECT_EQ(r.code, c.code) << what << "\n" << r.err.toStdString();
    EXPECT_EQ(r.out, U(c.out)) << what;
    if (*c.err) {
      EXPECT_TRUE(r.err.contains(U(c.err))) << what << ": " << r.err.toStdString();
    }
  }
}

TEST(EvalCli, NumbersAndEngineMessages) {
  ExpectEval({
      {{"2+3*4"}, 0, "14.0\n", ""},
      {{"-2^2"}, 0, "4.0\n", ""},
      {{"2,5*2"}, 0, "5.0\n", ""},
      {{"1 000/3", "--digits", "4"}, 0, "333.3333\n", ""},
      {{"--digits", "0", "7/2"}, 0, "4.0\n", ""},
      {{"1/3", "--digits", "0"}, 0, "0.3\n", ""},  // rounds to nothing: more decimals are shown
      {{"0"}, 0, "\n", ""},                          // zero is the empty value cell
      {{"5-5"}, 0, "\n", ""},
      {{""}, 0, "\n", ""},
      {{"10^400"}, 0, "Бесконечность\n", ""},
      {{"-(10^400)"}, 0, "-Бесконечность\n", ""},
      {{"(-8)^0.5"}, 0, "Не число\n", ""},
      {{"1/0"}, 1, "", "Деление на ноль!"},
      {{"(1+2"}, 1, "", "Нет закрывающей скобки!"},
      {{"Стена_Площадь"}, 1, "", "Некорректный символ 'С'!"},  // no scheme, no names
      {{"10^200*10^200"}, 1, "", "Неизвестная ошибка!"},
      {{"--", "--digits"}, 1, "", "Некорректный символ"},
  });
}

TEST(EvalCli, NamesOfAScheme) {
  QTemporaryDir dir;
  // A uses B, which is read after it, so A's value cell is computed without B.
  const QString lag = WriteScheme(dir, "lag.kvn",
                                  "[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\nName=Э\nVid=4\nWidth=3\nHeight=2\n\n"
                                  "[Formula_1]\nName=A\nFormula=B+1\nValue=100\n\n[Formula_2]\nName=B\nFormula=Э_Площадь\n\n"
                                  "[Formula]\nCount=2\n");
  const QString g = Golden();
  ExpectEval({
      {{"Площадь_стен*2", "--scheme", g}, 0, "28.0\n", ""},
      {{"--scheme", g, "Стена_Площадь+Стена_Периметр"}, 0, "18.0\n", ""},
      {{"Фото_Периметр", "--scheme", g, "--digits", "4"}, 0, "0.67\n", ""},  // the measure enters rounded
      {{"Фото_Высота", "--scheme", g, "--digits", "4"}, 0, "0.3333\n", ""},
      {{"Окно_Площадь", "--scheme", g}, 0, "\n", ""},  // a curve has no area
      {{"Итог-Площадь_стен", "--scheme", g}, 0, "1.4\n", ""},
      {{"Окно", "--scheme", g}, 1, "", "Некорректный символ 'О'!"},  // a bare figure name is no measure
      {{"A+B", "--scheme", lag}, 0, "18.85\n", ""},
      {{"B", "--scheme", lag, "--digits", "6"}, 0, "18.85\n", ""},
  });
}

TEST(EvalCli, UsageAndFileErrors) {
  QTemporaryDir dir;
  const QString refused = WriteScheme(dir, "refused.kvn", "[COMMON]\nFormatFile=kvn 1.0\n");
  ExpectEval({
      {{}, 2, "", "usage: korvan-cli eval"},
      {{"1", "2"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--digits"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--digits", "x"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--digits", "-1"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--digits", "23"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--scheme"}, 2, "", "usage: korvan-cli eval"},
      {{"1", "--scheme", dir.filePath(QStringLiteral("absent.kvn"))}, 2, "", "Файл не найден: "},
      {{"1", "--scheme", refused}, 2, "", "Неизвестный формат файла!"},
  });
  const CliRun help = Cli({QStringLiteral("--help")});
  EXPECT_TRUE(help.out.contains(QStringLiteral("  eval TEXT [--scheme FILE.kvn] [--digits N]")));
}

TEST(ReportCli, MeasureColumnsAndRecomputedValues) {
  QTemporaryDir dir;
  const QString path = WriteScheme(
      dir, "kinds.kvn",
      "[COMMON]\nFormatFile=KVN 1.0\nFigCount=6\n\n"
      "[FIG_1]\nName=Э\nVid=4\nWidth=3\nHeight=2\n\n"
      "[FIG_2]\nName=Т\nVid=5\nWidth=6\nHeight=4\n\n"
      "[FIG_3]\nName=Р\nVid=9\nWidth=6\nHeight=8\n\n"
      "[FIG_4]\nName=Л\nVid=1\nWidth=6\nHeight=8\n\n"
      "[FIG_5]\nName=Скр\nVid=3\nWidth=10\nHeight=10\n\n"
      "[FIG_6]\nName=Огромная\nVid=2\nWidth=1e300\nHeight=1e300\n\n"
      "[Formula_1]\nName=Ф1\nFormula=Э_Площадь+Т_Периметр\nValue=999\n\n"
      "[Formula_2]\nName=Ф2\nFormula=10^400\nValue=1\n\n"
      "[Formula_3]\nName=Ф3\nFormula=Ф2+1\nValue=1\n\n"
      "[Formula_4]\nName=Ф4\nFormula=Огромная_Площадь\n\n"
      "[Formula]\nCount=4\n");
  const CliRun r = Cli({QStringLiteral("report"), path});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 11);
  struct Row {
    int line;
    const char* area;
    const char* perimeter;
  };
  const Row figures[] = {{1, "18.85", "15.88"}, {2, "12.0", "16.0"}, {3, "24.0", "20.0"},
                         {4, "", ""},           {5, "95.0", "38.0"}, {6, "Бесконечность", nullptr}};
  for (const Row& f : figures) {
    const QStringList cells = lines[f.line].split(u'\t');
    ASSERT_EQ(cells.size(), 17) << lines[f.line].toStdString();
    EXPECT_EQ(cells[15], U(f.area)) << lines[f.line].toStdString();
    if (f.perimeter) {
      EXPECT_EQ(cells[16], U(f.perimeter)) << lines[f.line].toStdString();
    }
  }
  EXPECT_EQ(lines[7], QStringLiteral("formula\t1\tФ1\tЭ_Площадь+Т_Периметр\t34.85"));
  EXPECT_EQ(lines[8], QStringLiteral("formula\t2\tФ2\t10^400\tБесконечность"));
  EXPECT_EQ(lines[9], QStringLiteral("formula\t3\tФ3\tФ2+1\t"));
  EXPECT_EQ(lines[10], QStringLiteral("formula\t4\tФ4\tОгромная_Площадь\t"));
}

}  // namespace
