// The exchange file: reading the estimate program's list, expanding formula names, writing the text
// with the measures it uses, sending a cell, and files that are missing, damaged or absurd.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include "common/QtPrinters.h"
#include "formula/FormulaFixtures.h"
#include "common/ScriptedPrompter.h"
#include "formula/ExchangeFile.h"
#include "formula/FigureMeasures.h"
#include "formula/LiteralSubstitution.h"
#include "support/Cp1251.h"
#include "support/IniDocument.h"

namespace korvan {
namespace {

using test::Figure;
using test::Rows;
using test::U;

using test::ScriptedPrompter;

QByteArray Cp(const char* utf8) {
  QString text = U(utf8);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray out;
  EXPECT_TRUE(cp1251::Encode(text, out));
  return out;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The section as "key=value" lines in file order.
QStringList FormulaSection(const QString& path) {
  IniDocument doc;
  EXPECT_TRUE(doc.LoadFile(path));
  QStringList out;
  for (const QString& k : doc.KeyNames(QStringLiteral("Formula")))
    out.append(k + u'=' + doc.Value(QStringLiteral("Formula"), k).value_or(QString()));
  return out;
}

TEST(ReadExchangeFile, EntriesInFileOrderWithTheLowByteOfVid) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("e.ini"));
  WriteBytes(path, Cp("[Formula]\nFormulaNorma=Стена_Площадь*1.2\nFormulaCount=4\n"
                      "FormulaVid_1=0\nFormulaShemaName_1=Кухня.kvn\nFormulaName_1=Стена_Площадь\nFormulaValue_1=12.5\n"
                      "FormulaVid_2=256\nFormulaName_2=Резерв\n"
                      "FormulaVid_3=259\nFormulaShemaName_3=x\n"
                      "FormulaVid_4=-1\nFormulaValue_4=abc\n"
                      "FormulaName_5=Лишняя\n"));
  EstimateLink link;
  link.SmetaFileArg = path;
  link.SmetaFormulas = {stFormula{9, {}, QStringLiteral("старое"), {}}};
  ReadExchangeFile(path, link);
  EXPECT_EQ(link.SmetaFileArg, path);
  EXPECT_EQ(link.SmetaNormaFormula, QStringLiteral("Стена_Площадь*1.2"));
  const FormulaList expected{
      stFormula{0, QStringLiteral("Кухня.kvn"), QStringLiteral("Стена_Площадь"), QStringLiteral("12.5")},
      stFormula{0, QString(), QStringLiteral("Резерв"), QString()},
      stFormula{3, QStringLiteral("x"), QString(), QString()},
      stFormula{255, QString(), QString(), QStringLiteral("abc")},
  };
  EXPECT_EQ(link.SmetaFormulas, expected);
}

TEST(ReadExchangeFile, KeysMatchInAnyCaseAndMissingEntriesAreEmpty) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("e.ini"));
  WriteBytes(path, Cp("[formula]\nformulacount=6\n FORMULANAME_3 = Третья \nFormulaVid_2=7\nFormulaValue_007=нет\n"
                      "FormulaName_60=вне\n"));
  EstimateLink link;
  ReadExchangeFile(path, link);
  FormulaList expected(6);
  expected[1].Vid = 7;
  expected[2].Name = QStringLiteral("Третья");
  EXPECT_EQ(link.SmetaFormulas, expected);
}

TEST(ReadExchangeFile, MissingGarbageAndAbsurdFiles) {
  QTemporaryDir dir;
  struct Case {
    const char* what;
    QByteArray bytes;  // empty: no file at all
    size_t entries;
    const char* norma;
  };
  QByteArray every;
  for (int i = 0; i < 256; ++i) every.append(char(i));
  QByteArray noise;
  for (int i = 0; i < 20000; ++i) noise.append(char((i * 2654435761u) >> 13));
  const Case cases[] = {
      {"missing", QByteArray(), 0, ""},
      {"every byte", every + "\r\n[Formula]\r\nFormulaCount=1\r\n" + every, 1, ""},
      {"noise", noise, 0, ""},
      {"count 2^31-1, no entries", Cp("[Formula]\nFormulaCount=2147483647\n"), size_t(kMaxExchangeEntries), ""},
      {"count beyond 32 bits", Cp("[Formula]\nFormulaCount=99999999999\nFormulaNorma=1\n"), 0, "1"},
      {"negative count", Cp("[Formula]\nFormulaCount=-3\nFormulaName_1=a\n"), 0, ""},
      {"count as text", Cp("[Formula]\nFormulaCount=много\n"), 0, ""},
      {"other section only", Cp("[Другое]\nFormulaCount=3\n"), 0, ""},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".ini"));
    if (!c.bytes.isEmpty()) WriteBytes(path, c.bytes);
    EstimateLink link;
    ReadExchangeFile(path, link);
    EXPECT_EQ(link.SmetaFormulas.size(), c.entries) << c.what;
    EXPECT_EQ(link.SmetaNormaFormula, U(c.norma)) << c.what;
    for (const stFormula& e : link.SmetaFormulas) {
      if (c.entries != size_t(kMaxExchangeEntries)) break;
      ASSERT_EQ(e, stFormula{}) << c.what;
    }
  }
}

TEST(ExpandFormulaNames, RowOrderNoParenthesesAndSelfReferenceStops) {
  struct Case {
    const char* text;
    FormulaGrid rows;
    const char* result;
  };
  const Case cases[] = {
      {"B", Rows({{"A", "Стена_Площадь*2"}, {"B", "A+1"}}), "A+1"},  // A's row came before B's
      {"B", Rows({{"B", "A+1"}, {"A", "Стена_Площадь*2"}}), "Стена_Площадь*2+1"},
      {"B", Rows({{"A", "2+3"}, {"B", " A*2 "}}), "A*2"},
      {"A*B", Rows({{"A", "2+3"}, {"B", "A*2"}}), "2+3*A*2"},
      {"AB+A", Rows({{"A", "1"}}), "AB+1"},
      {"A", Rows({{" A ", " 7 "}}), "7"},
      {"A", Rows({{"", "7"}, {"A", ""}}), ""},
      // Holding its own name, a row is expanded once per occurrence and the copies keep the name.
      {"A+A", Rows({{"A", "A+1"}}), "A+1+A+1"},
      {"A", Rows({{"A", "A"}}), "A"},
      {"A", Rows({{"A", "(A)"}, {"B", "A"}}), "(A)"},
      // An insertion that completes a name with the text around it is expanded again.
      {"a+b+b", Rows({{"a+b", "a"}}), "a"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandFormulaNames(U(c.text), c.rows), U(c.result)) << c.text;
}

TEST(ExpandFormulaNames, MatchesTheLiteralSearchFromTheStart) {
  // Names with separators in them, bodies that complete names with the text around them.
  const char* names[] = {"A", "B", "AB", "a+b", "-a-", "a b", "x", "(", "b+", "+a", "S2", ""};
  const char* pieces[] = {"A", "B", "a", "b", "+", "-", "*", " ", "(", ")", "x", "2", "S"};
  std::mt19937 rng(99);
  auto piece = [&](auto& pool) {
    return QString::fromUtf8(pool[std::uniform_int_distribution<size_t>(0, std::size(pool) - 1)(rng)]);
  };
  for (int round = 0; round < 4000; ++round) {
    FormulaGrid rows;
    for (int r = std::uniform_int_distribution<int>(1, 4)(rng); r > 0; --r) {
      QString body;
      for (int k = std::uniform_int_distribution<int>(0, 4)(rng); k > 0; --k) body += piece(pieces);
      rows.append(QStringList{piece(names), body});
    }
    QString text;
    for (int k = std::uniform_int_distribution<int>(0, 8)(rng); k > 0; --k)
      text += std::uniform_int_distribution<int>(0, 1)(rng) ? piece(names) : piece(pieces);
    ASSERT_EQ(ExpandFormulaNames(text, rows), literal::ExpandFormulaNames(text, rows))
        << "round " << round << " text \"" << text.toStdString() << "\"";
  }
}

TEST(ExpandFormulaNames, DoublingChainsStopAtTheCap) {
  FormulaGrid rows;
  rows.append(QStringList{QStringLiteral("R0"), QStringLiteral("1")});
  for (int i = 1; i <= 30; ++i)
    rows.append(QStringList{QStringLiteral("R%1").arg(i), QStringLiteral("R%1+R%1").arg(i - 1)});
  std::reverse(rows.begin(), rows.end());  // R30 first, so each row's text brings the next row's name
  const QString out = ExpandFormulaNames(QStringLiteral("R30"), rows);
  EXPECT_LE(out.size(), kMaxExpandedFormulaLength);
  EXPECT_GT(out.size(), kMaxExpandedFormulaLength / 4);
}

struct Scheme {
  QTemporaryDir dir;
  EditorState state;
  std::vector<stFigure> figures{Figure("Стена", FigureKind::Rectangle, 2, 3.25),
                                Figure("Окно", FigureKind::Ellipse, 1, 1), Figure("", FigureKind::Rectangle, 5, 5),
                                Figure("Линия", FigureKind::Line, 4, 0)};
  EstimateLink link;
  QString exchange;
  Scheme() {
    state.Title = QStringLiteral("Korvan");
    state.ShemaFolder = dir.path() + u'/';
    state.ShemaFile = state.ShemaFolder + QStringLiteral(" Кухня.KVN");
    exchange = dir.filePath(QStringLiteral("exchange.ini"));
    link.SmetaFileArg = exchange;
  }
};

TEST(WriteExchangeFile, TextMeasuresItUsesAndTheEstimatesOwn) {
  Scheme s;
  s.link.SmetaFormulas = {
      stFormula{1, QStringLiteral(" кухня.kvn "), QStringLiteral("Окно_Периметр"), QStringLiteral("old")},
      stFormula{1, QStringLiteral("Зал.kvn"), QStringLiteral("Стена_Высота"), QStringLiteral("old")},
      stFormula{1, QStringLiteral("кухня.kvn"), QStringLiteral("стена_длина"), QStringLiteral("old")},
  };
  const FormulaGrid rows = Rows({{"B", "A+1+Линия_Площадь"}, {"A", "Стена_Площадь*2"}, {"", "x"}});
  ASSERT_TRUE(WriteExchangeFile(s.exchange, QStringLiteral("B"), s.figures, rows, s.state, s.link));
  const QStringList expected{
      QStringLiteral("FormulaStr=Стена_Площадь*2+1+Линия_Площадь"),
      QStringLiteral("FormulaShemaName_1=Кухня.KVN"),  // read back trimmed; the file has the blank
      QStringLiteral("FormulaName_1=Стена_Площадь"),
      QStringLiteral("FormulaValue_1=6.5"),
      // Not in the text, but listed by the estimate program for this scheme: written in lower case.
      QStringLiteral("FormulaShemaName_2=кухня.kvn"),
      QStringLiteral("FormulaName_2=Окно_Периметр"),
      QStringLiteral("FormulaValue_2=6.28"),
      QStringLiteral("FormulaShemaName_3=Кухня.KVN"),
      QStringLiteral("FormulaName_3=Линия_Площадь"),
      QStringLiteral("FormulaValue_3=0"),
      QStringLiteral("FormulaCount=3"),
  };
  EXPECT_EQ(FormulaSection(s.exchange), expected);
  // The scheme name is written as the path has it, blanks included.
  EXPECT_TRUE(ReadBytes(s.exchange).contains(Cp("\nFormulaShemaName_1= Кухня.KVN\n")));

  // A later write into the same file keeps the places of its keys and the numbered keys above k.
  ASSERT_TRUE(WriteExchangeFile(s.exchange, QStringLiteral("2+2"), s.figures, rows, s.state, s.link));
  const QStringList second = FormulaSection(s.exchange);
  EXPECT_EQ(second.first(), QStringLiteral("FormulaStr=2+2"));
  EXPECT_TRUE(second.contains(QStringLiteral("FormulaName_1=Окно_Периметр")));
  EXPECT_TRUE(second.contains(QStringLiteral("FormulaName_3=Линия_Площадь")));
  EXPECT_EQ(second.at(10), QStringLiteral("FormulaCount=1"));
}

TEST(WriteExchangeFile, ExpansionAndEntriesOfSentFormulas) {
  Scheme s;
  struct Case {
    FormulaGrid rows;
    const char* text;
    QStringList section;
  };
  const Case cases[] = {
      {Rows({{"A", "Стена_Площадь*2"}, {"B", "A+1"}}), "B",
       {QStringLiteral("FormulaStr=A+1"), QStringLiteral("FormulaCount=0")}},
      {Rows({{"A", "Стена_Площадь*2"}, {"B", "A+1"}}), "A+1",
       {QStringLiteral("FormulaStr=Стена_Площадь*2+1"), QStringLiteral("FormulaShemaName_1=Кухня.KVN"),
        QStringLiteral("FormulaName_1=Стена_Площадь"), QStringLiteral("FormulaValue_1=6.5"),
        QStringLiteral("FormulaCount=1")}},
      {Rows({{"B", "A+1"}, {"A", "Стена_Площадь*2"}}), "B",
       {QStringLiteral("FormulaStr=Стена_Площадь*2+1"), QStringLiteral("FormulaShemaName_1=Кухня.KVN"),
        QStringLiteral("FormulaName_1=Стена_Площадь"), QStringLiteral("FormulaValue_1=6.5"),
        QStringLiteral("FormulaCount=1")}},
      {Rows({{"A", "2+3"}, {"B", "A*2"}}), "A*2", {QStringLiteral("FormulaStr=2+3*2"), QStringLiteral("FormulaCount=0")}},
      {Rows({{"A", "A+Стена_Длина"}}), "A", {QStringLiteral("FormulaStr=A+Стена_Длина"),
                                            QStringLiteral("FormulaShemaName_1=Кухня.KVN"),
                                            QStringLiteral("FormulaName_1=Стена_Длина"), QStringLiteral("FormulaValue_1=2.0"),
                                            QStringLiteral("FormulaCount=1")}},
  };
  for (const Case& c : cases) {
    QFile::remove(s.exchange);
    ASSERT_TRUE(WriteExchangeFile(s.exchange, U(c.text), s.figures, c.rows, s.state, s.link));
    EXPECT_EQ(FormulaSection(s.exchange), c.section) << c.text;
  }
}

TEST(WriteExchangeFile, BlankPathUnwritableFileAndTextsTheFileCannotHold) {
  Scheme s;
  const FormulaGrid rows = Rows({{"A", "1"}});
  EXPECT_TRUE(WriteExchangeFile(QStringLiteral("  "), QStringLiteral("A"), s.figures, rows, s.state, s.link));
  EXPECT_TRUE(QDir(s.dir.path()).entryList(QDir::Files).isEmpty());
  // A text outside Windows-1251 or with a line break is refused, the old file left as it was.
  WriteBytes(s.exchange, Cp("[Formula]\nFormulaStr=old\n"));
  EXPECT_FALSE(WriteExchangeFile(s.exchange, QStringLiteral("1+\u4e00"), s.figures, rows, s.state, s.link));
  EXPECT_FALSE(WriteExchangeFile(s.exchange, QStringLiteral("1\n+2"), s.figures, rows, s.state, s.link));
  EXPECT_EQ(ReadBytes(s.exchange), Cp("[Formula]\nFormulaStr=old\n"));
  // A folder that does not exist.
  EXPECT_FALSE(WriteExchangeFile(s.dir.filePath(QStringLiteral("нет/e.ini")), QStringLiteral("A"), s.figures, rows,
                                 s.state, s.link));
}

TEST(WriteExchangeFile, SelfReferencingFormulaTerminates) {
  Scheme s;
  const FormulaGrid rows = Rows({{"A", "A*2+Стена_Высота"}, {"B", "B"}, {"C", "x C y"}});
  ASSERT_TRUE(WriteExchangeFile(s.exchange, QStringLiteral("A+B+C"), s.figures, rows, s.state, s.link));
  const QStringList section = FormulaSection(s.exchange);
  EXPECT_EQ(section.first(), QStringLiteral("FormulaStr=A*2+Стена_Высота+B+x C y"));
  EXPECT_TRUE(section.contains(QStringLiteral("FormulaName_1=Стена_Высота")));
}

TEST(SendToSmeta, ChecksNamesAsksToSaveAndWritesTheCell) {
  struct Case {
    const char* what;
    bool namesOk;
    bool changed;
    Answer answer;
    bool saveWorks;
    SendResult result;
    bool saved;
    bool fileWritten;
  };
  const Case cases[] = {
      {"unchanged", true, false, Answer::Yes, true, SendResult::Sent, false, true},
      {"changed, saved", true, true, Answer::Yes, true, SendResult::Sent, true, true},
      {"changed, No", true, true, Answer::No, true, SendResult::NotSaved, false, false},
      {"changed, Cancel", true, true, Answer::Cancel, true, SendResult::NotSaved, false, false},
      {"save fails", true, true, Answer::Yes, false, SendResult::SaveFailed, true, false},
      {"bad name", false, true, Answer::Yes, true, SendResult::Refused, false, true},
  };
  for (const Case& c : cases) {
    for (const int column : {1, 2}) {
      Scheme s;
      s.figures.erase(s.figures.begin() + 2);  // every figure named
      WriteBytes(s.exchange, Cp("[Formula]\nFormulaNorma=N\nFormulaCount=0\n"));
      FormulaGrid rows = Rows({{"A", "Стена_Площадь*2", "13.0"}, {c.namesOk ? "B" : "A", "A+1", "14.0"}});
      ScriptedPrompter prompter;
      ScopedPrompter ps(&prompter);
      if (c.namesOk && c.changed) prompter.QueueAnswer(c.answer);
      bool saved = false;
      const SendResult r = SendToSmeta(column, 1, rows, NamingScope{s.figures, s.state, s.link}, c.changed, [&] {
        saved = true;
        return c.saveWorks;
      });
      EXPECT_EQ(r, c.result) << c.what;
      EXPECT_EQ(saved, c.saved) << c.what;
      if (!c.namesOk) {
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Имя формулы уже используется!"));
        EXPECT_TRUE(QFile::exists(s.exchange)) << "a refusal leaves the file";
        continue;
      }
      if (c.changed) {
        ASSERT_FALSE(prompter.shown.isEmpty());
        EXPECT_EQ(prompter.shown[0].kind, ScriptedPrompter::Shown::Question);
        EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Korvan"));
        EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Сохранить схему?"));
      } else {
        EXPECT_TRUE(prompter.shown.isEmpty());
      }
      EXPECT_EQ(QFile::exists(s.exchange), c.fileWritten) << c.what;
      if (c.fileWritten) {
        const QStringList section = FormulaSection(s.exchange);
        EXPECT_EQ(section.first(), column == 1 ? QStringLiteral("FormulaStr=Стена_Площадь*2+1")
                                               : QStringLiteral("FormulaStr=14.0"))
            << c.what;
        EXPECT_FALSE(section.contains(QStringLiteral("FormulaNorma=N"))) << "the old file was deleted first";
      }
    }
  }
}

}  // namespace
}  // namespace korvan
