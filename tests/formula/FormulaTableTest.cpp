// Evaluation of formula texts over measures and rows, recalculation, status line, table reset,
// insertion, the scheme-load hooks, and the recalculation held to the literal algorithm.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include "common/QtPrinters.h"
#include "formula/FormulaFixtures.h"
#include "common/ScriptedPrompter.h"
#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"
#include "formula/LiteralSubstitution.h"
#include "support/Cp1251.h"

namespace korvan {
namespace {

using test::Figure;
using test::Rows;
using test::U;

using test::ScriptedPrompter;

const QString kPrefix = QStringLiteral(" Расчетная формула: ");

// A scheme with a wall 2 by 3 and a window 1.5 by 1.2.
struct Fixture {
  EditorState state;
  std::vector<stFigure> figures{Figure("Стена", FigureKind::Rectangle, 2, 3),
                                Figure("Окно", FigureKind::Rectangle, 1.5, 1.2),
                                Figure("Линия", FigureKind::Line, 4, 0), Figure("", FigureKind::Rectangle, 9, 9)};
};

TEST(CalculateFormulaText, ValuesOverMeasuresAndRows) {
  Fixture fx;
  const FormulaGrid rows = Rows({{"S", "", "2"}, {"S2", "", "5"}, {"Ноль", "", ""}, {" T ", "", " 1.5 "},
                                 {"Пусто", "", "   "}, {"", "", "99"}});
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"Стена_Площадь*2", 12},
      {"Стена_Периметр", 10},
      {"Стена_Длина+Стена_Высота", 5},
      {"Стена_Площадь-Окно_Площадь", 6 - 1.8},
      {"S2+S", 7},  // S inside S2 is not whole
      {"S*S2", 10},
      {"Ноль+1", 1},  // a zero value (empty cell) stands as 0
      {"Пусто+1", 1},
      {"T*2", 3},     // names and values trimmed
      {"Линия_Площадь+Линия_Длина", 4},
      {"", 0},
      {"   ", 0},
      {"2+3*4", 14},
      {"(Стена_Длина+1)^2", 9},
      {"Окно_Площадь", 1.8},
  };
  for (const Case& c : cases) {
    const FormulaValue r = CalculateFormulaText(U(c.text), false, fx.figures, rows, fx.state);
    EXPECT_FALSE(r.Failed()) << c.text << ": " << r.Message.toStdString();
    EXPECT_DOUBLE_EQ(r.Value, c.value) << c.text;
  }
}

TEST(CalculateFormulaText, MeasuresEnterRoundedToTheirDecimals) {
  Fixture fx;
  fx.figures = {Figure("Э", FigureKind::Ellipse, 3, 2)};
  const FormulaGrid rows = Rows({{"", "", ""}});
  struct Case {
    int areaZnak;
    const char* text;
    double value;
  };
  const Case cases[] = {{2, "Э_Площадь", 18.85}, {0, "Э_Площадь", 19}, {4, "Э_Площадь", 18.8496}, {1, "Э_Периметр", 15.9}};
  for (const Case& c : cases) {
    fx.state.AreaZnak = c.areaZnak;
    fx.state.PerimetrZnak = c.areaZnak;
    EXPECT_DOUBLE_EQ(CalculateFormulaText(U(c.text), false, fx.figures, rows, fx.state).Value, c.value) << c.text;
  }
}

TEST(CalculateFormulaText, FailuresAndTheirMessages) {
  Fixture fx;
  const FormulaGrid rows = Rows({{"Беск", "", "Бесконечность"}, {"НеЧ", "", "Не число"}, {"Мин", "", "-Бесконечность"}});
  struct Case {
    const char* text;
    FormulaFailure failure;
    const char* caption;  // nullptr: no message
    const char* message;
  };
  const Case cases[] = {
      {"Нет+1", FormulaFailure::Engine, "Формула", "Некорректный символ 'Н'!"},
      {"Стена+1", FormulaFailure::Engine, "Формула", "Некорректный символ 'С'!"},  // a bare figure name is no measure
      {"1/0", FormulaFailure::Engine, "Формула", "Деление на ноль!"},
      {"(1", FormulaFailure::Engine, "Формула", "Нет закрывающей скобки!"},
      {"10^200*10^200", FormulaFailure::Unknown, "Формула для объема", "Неизвестная ошибка!"},
      {"Беск*0", FormulaFailure::NonFiniteInput, "Формула",
       "Формула использует значение, которое не является конечным числом!"},
      {"1+НеЧ", FormulaFailure::NonFiniteInput, "Формула",
       "Формула использует значение, которое не является конечным числом!"},
      {"Мин", FormulaFailure::NonFiniteInput, "Формула",
       "Формула использует значение, которое не является конечным числом!"},
  };
  for (const Case& c : cases) {
    for (const bool show : {false, true}) {
      ScriptedPrompter prompter;
      ScopedPrompter scope(&prompter);
      FormulaTableState table;
      table.Status = QStringLiteral("before");
      const FormulaValue r = CalculateFormulaText(U(c.text), show, fx.figures, rows, fx.state, &table);
      EXPECT_EQ(r.Failure, c.failure) << c.text;
      EXPECT_EQ(r.Value, 0) << c.text;
      EXPECT_EQ(r.Message, U(c.message)) << c.text;
      if (show) {
        ASSERT_EQ(prompter.shown.size(), 1) << c.text;
        EXPECT_EQ(prompter.shown[0].caption, U(c.caption)) << c.text;
        EXPECT_EQ(prompter.shown[0].text, U(c.message)) << c.text;
      } else {
        EXPECT_TRUE(prompter.shown.isEmpty()) << c.text;
      }
      // The engine's refusals reset the status line; the arithmetic failure leaves it.
      EXPECT_EQ(table.Status, c.failure == FormulaFailure::Unknown ? QStringLiteral("before") : kPrefix) << c.text;
    }
  }
}

TEST(CalculateFormulaText, ValuesThatAreNotFiniteAreShownAsWords) {
  Fixture fx;
  EditorState& st = fx.state;
  FormulaGrid rows = Rows({{"Большое", "10^400", ""},
                           {"Корень", "(-8)^0.5", ""},
                           {"Минус", "-(10^400)", ""},
                           {"Крошка", "10^-400", ""},
                           {"Зависит", "Большое*0+1", ""},
                           {"Через", "Корень-Корень", ""}});
  FormulaTableState table;
  table.CurrentRow = -1;
  RecalculateAll(rows, false, fx.figures, st, table);
  EXPECT_EQ(rows[0][2], QStringLiteral("Бесконечность"));
  EXPECT_EQ(rows[1][2], QStringLiteral("Не число"));
  EXPECT_EQ(rows[2][2], QStringLiteral("-Бесконечность"));
  EXPECT_EQ(rows[3][2], QString());  // underflows to 0: the empty cell
  EXPECT_EQ(rows[4][2], QString());  // fails instead of computing with infinity
  EXPECT_EQ(rows[5][2], QString());
  // A measure that overflows is refused the same way.
  fx.figures = {Figure("Огромная", FigureKind::Rectangle, 1e300, 1e300)};
  const FormulaValue r = CalculateFormulaText(QStringLiteral("Огромная_Площадь/2"), false, fx.figures, rows, st);
  EXPECT_EQ(r.Failure, FormulaFailure::NonFiniteInput);
  const FormulaValue ok = CalculateFormulaText(QStringLiteral("Огромная_Длина/2"), false, fx.figures, rows, st);
  EXPECT_EQ(ok.Failure, FormulaFailure::None);
  EXPECT_EQ(ok.Value, 5e299);
}

TEST(RecalculateAll, RowsBelowLagOnePassAndOwnNamesSeeThePreviousValue) {
  Fixture fx;
  FormulaGrid rows = Rows({{"A", "B+1", ""}, {"B", "Стена_Площадь", ""}, {"C", "C+1", ""}, {"D", "A*2", ""}});
  FormulaTableState table;
  table.CurrentRow = -1;
  struct Pass {
    const char* a;
    const char* b;
    const char* c;
    const char* d;
  };
  const Pass passes[] = {{"1.0", "6.0", "1.0", "2.0"}, {"7.0", "6.0", "2.0", "14.0"}, {"7.0", "6.0", "3.0", "14.0"}};
  for (const Pass& p : passes) {
    RecalculateAll(rows, false, fx.figures, fx.state, table);
    EXPECT_EQ(rows[0][2], U(p.a));
    EXPECT_EQ(rows[1][2], U(p.b));
    EXPECT_EQ(rows[2][2], U(p.c));
    EXPECT_EQ(rows[3][2], U(p.d));
  }
}

TEST(RecalculateAll, MessagesOnlyWhenAskedAndRowsKeepGoing) {
  Fixture fx;
  FormulaGrid rows = Rows({{"A", "Нечто", "5"}, {"B", "1/0", ""}, {"C", "2*3", ""}, {"D", "", "7"}});
  FormulaTableState table;
  table.CurrentRow = -1;
  {
    ScriptedPrompter prompter;
    ScopedPrompter scope(&prompter);
    RecalculateAll(rows, false, fx.figures, fx.state, table);
    EXPECT_TRUE(prompter.shown.isEmpty());
  }
  EXPECT_EQ(rows[0][2], QString());
  EXPECT_EQ(rows[2][2], QStringLiteral("6.0"));
  EXPECT_EQ(rows[3][2], QString());  // an empty formula is 0
  ScriptedPrompter prompter;
  ScopedPrompter scope(&prompter);
  RecalculateAll(rows, true, fx.figures, fx.state, table);
  ASSERT_EQ(prompter.shown.size(), 2);
  EXPECT_EQ(prompter.shown[0].text, QStringLiteral("Некорректный символ 'Н'!"));
  EXPECT_EQ(prompter.shown[1].text, QStringLiteral("Деление на ноль!"));
}

TEST(RecalculateAll, ValuesFollowFormulaZnak) {
  Fixture fx;
  struct Case {
    int znak;
    const char* value;
  };
  const Case cases[] = {{2, "0.33"}, {0, "0.3"}, {5, "0.33333"}, {10, "0.3333333333"}};
  for (const Case& c : cases) {
    fx.state.FormulaZnak = c.znak;
    FormulaGrid rows = Rows({{"A", "1/3", ""}});
    FormulaTableState table;
    RecalculateAll(rows, false, fx.figures, fx.state, table);
    EXPECT_EQ(rows[0][2], U(c.value)) << c.znak;
  }
}

TEST(FormulaStatus, ShowsTheSubstitutedTextAndTheValueOfTheCurrentRow) {
  Fixture fx;
  FormulaGrid rows = Rows({{"A", "Стена_Площадь*2", ""}, {"B", "A+Окно_Длина", ""}, {"C", "", ""}, {"D", "1/0", ""}});
  struct Case {
    int current;
    const char* status;
  };
  const Case cases[] = {{0, " Расчетная формула: 6.0*2=12.0"},
                        {1, " Расчетная формула: 12.0+1.5=13.5"},
                        {2, " Расчетная формула: "},
                        {3, " Расчетная формула: 1/0="}};
  for (const Case& c : cases) {
    FormulaGrid r = rows;
    FormulaTableState table;
    table.CurrentRow = c.current;
    RecalculateRow(r, 0, false, fx.figures, fx.state, table);
    RecalculateRow(r, 1, false, fx.figures, fx.state, table);
    RecalculateRow(r, c.current, false, fx.figures, fx.state, table);
    EXPECT_EQ(table.Status, U(c.status)) << c.current;
    UpdateFormulaStatus(r, c.current, fx.figures, fx.state, table);
    EXPECT_EQ(table.Status, U(c.status)) << c.current;
  }
  // A later row that fails resets the line the current row had set, as the pass goes on.
  FormulaTableState table;
  table.CurrentRow = 0;
  RecalculateAll(rows, false, fx.figures, fx.state, table);
  EXPECT_EQ(table.Status, kPrefix);
}

TEST(ResetFormulaTable, OneRowWithTheFirstFreeName) {
  Fixture fx;
  struct Case {
    std::vector<const char*> figureNames;
    std::vector<const char*> reserved;  // estimate entries of Vid 0
    const char* name;
  };
  const std::vector<Case> cases = {
      {{}, {}, "Формула_1"},
      {{"Формула_1", " Формула_2 "}, {}, "Формула_3"},
      {{"Формула_1"}, {"формула_2", " ФОРМУЛА_3 "}, "Формула_4"},
  };
  for (const Case& c : cases) {
    std::vector<stFigure> figures;
    for (const char* n : c.figureNames) figures.push_back(Figure(n, FigureKind::Rectangle, 1, 1));
    EstimateLink link;
    for (const char* n : c.reserved) link.SmetaFormulas.push_back(stFormula{0, QString(), U(n), QString()});
    link.SmetaFormulas.push_back(stFormula{1, QString(), QStringLiteral("Формула_9"), QString()});
    FormulaGrid rows = Rows({{"Формула_1", "1", "1.0"}, {"X", "2", "2.0"}});
    FormulaTableState table;
    table.CurrentRow = 1;
    table.Status = QStringLiteral("old");
    ResetFormulaTable(rows, table, figures, fx.state, link);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], (QStringList{U(c.name), QString(), QString()}));
    EXPECT_EQ(table.CurrentRow, 0);
    EXPECT_EQ(table.Status, kPrefix);
  }
}

TEST(InsertIntoFormula, AtTheCaretOrAtTheEnd) {
  struct Case {
    int position;
    const char* result;
  };
  const Case cases[] = {{1, "Xab"}, {2, "aXb"}, {3, "abX"}, {10, "abX"}, {0, "abX"}, {-5, "abX"}};
  for (const Case& c : cases) {
    FormulaGrid rows = Rows({{"A", "", ""}, {"B", "ab", ""}});
    InsertIntoFormula(rows, 1, QStringLiteral("X"), c.position);
    EXPECT_EQ(rows[1][1], U(c.result)) << c.position;
    EXPECT_EQ(rows[0][1], QString());
  }
  FormulaGrid shortRow{QStringList{QStringLiteral("A")}};
  InsertIntoFormula(shortRow, 0, QStringLiteral("1+"), 1);
  EXPECT_EQ(shortRow[0], (QStringList{QStringLiteral("A"), QStringLiteral("1+"), QString()}));
}

// --- Loading --------------------------------------------------------------------------------------

QByteArray Kvn(const char* utf8) {
  QString text = QString::fromUtf8(utf8);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray out;
  EXPECT_TRUE(cp1251::Encode(text, out));
  return out;
}

TEST(SchemeLoadHooks, RowsAreComputedAsTheyAreRead) {
  EditorState state;
  stScena scene;
  FormulaGrid rows;
  ASSERT_TRUE(LoadShemaFile(QStringLiteral(KORVAN_FIXTURES_DIR "/golden.kvn"), scene, rows, state,
                            MakeSchemeLoadHooks(state, EstimateLink{})));
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0][2], QStringLiteral("14.0"));
  EXPECT_EQ(rows[1][2], QStringLiteral("15.4"));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("s.kvn"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  // A uses B before B is read, so A is computed without it; C and D see the rows above them.
  f.write(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\nName=Ф\nVid=2\nWidth=2\nHeight=2,5\n\n"
              "[Formula_1]\nName=A\nFormula=B+1\nValue=999\n\n[Formula_2]\nName=B\nFormula=Ф_Площадь\n\n"
              "[Formula_3]\nName=C\nFormula=B*A+1\n\n[Formula_4]\nName=D\nFormula=10^400\n\n"
              "[Formula_5]\nName=E\nFormula=D+1\n\n[Formula]\nCount=5\n"));
  f.close();
  ASSERT_TRUE(LoadShemaFile(path, scene, rows, state, MakeSchemeLoadHooks(state, EstimateLink{})));
  ASSERT_EQ(rows.size(), 5);
  EXPECT_EQ(rows[0][2], QString());
  EXPECT_EQ(rows[1][2], QStringLiteral("5.0"));
  EXPECT_EQ(rows[2][2], QStringLiteral("1.0"));
  EXPECT_EQ(rows[3][2], QStringLiteral("Бесконечность"));
  EXPECT_EQ(rows[4][2], QString());

  // An empty table gets the first free name, past the figure that holds "Формула_1".
  QFile g(path);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly | QIODevice::Truncate));
  g.write(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\nName=Формула_1\nVid=2\n"));
  g.close();
  ASSERT_TRUE(LoadShemaFile(path, scene, rows, state, MakeSchemeLoadHooks(state, EstimateLink{})));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][0], QStringLiteral("Формула_2"));
}

// --- The table held to the literal algorithm ------------------------------------------------------

const char* const kFigureNames[] = {"A", "B", "A B", "Стена", "Стена 1", "1", "x+y", "", " ", "A ", "S"};
const char* const kRowNames[] = {"A_Площадь", "S", "S2", "0", "1.5", "2", "B_Длина", "R", "R R", "x", "-", "(",
                                 "a+b", "", " S ", "Стена_Площадь", "T"};
const char* const kValues[] = {"", "0", "1.5", "-2", "S", "R+1", "x", "A_Длина", "S2*S", "3.0", " 7 ", "T", "(",
                               "Бесконечность"};
const char* const kGlue[] = {"+", "-", "*", "/", "^", "(", ")", " ", "", "2", "0.5", ",", "="};
const double kSizes[] = {0, 1, 2.5, -3, 1e-9, 12345.678, 7};

template <typename Rng, size_t N>
QString Pick(Rng& rng, const char* const (&pool)[N]) {
  return U(pool[std::uniform_int_distribution<size_t>(0, N - 1)(rng)]);
}

template <typename Rng>
QString Term(Rng& rng, const std::vector<stFigure>& figures, const FormulaGrid& rows) {
  std::uniform_int_distribution<int> what(0, 5);
  switch (what(rng)) {
    case 0:
    case 1:
      if (!figures.empty()) {
        const stFigure& f = figures[std::uniform_int_distribution<size_t>(0, figures.size() - 1)(rng)];
        const char* suffixes[] = {"_Площадь", "_Периметр", "_Длина", "_Высота"};
        return f.Name + U(suffixes[std::uniform_int_distribution<int>(0, 3)(rng)]);
      }
      [[fallthrough]];
    case 2:
      if (!rows.isEmpty()) return rows[std::uniform_int_distribution<int>(0, int(rows.size()) - 1)(rng)].value(0);
      [[fallthrough]];
    case 3:
      return Pick(rng, kRowNames);
    default:
      return Pick(rng, kGlue);
  }
}

template <typename Rng>
QString RandomFormula(Rng& rng, const std::vector<stFigure>& figures, const FormulaGrid& rows) {
  QString t;
  for (int i = std::uniform_int_distribution<int>(0, 9)(rng); i > 0; --i) t += Term(rng, figures, rows);
  return t;
}

TEST(FormulaTableDifferential, SubstitutionAndRecalculationMatchTheLiteralAlgorithm) {
  std::mt19937 rng(7);
  const FigureKind kinds[] = {FigureKind::Rectangle, FigureKind::Ellipse, FigureKind::Line, FigureKind::Romb,
                              FigureKind::Triangle};
  for (int round = 0; round < 400; ++round) {
    EditorState st;
    st.AreaZnak = std::uniform_int_distribution<int>(0, 4)(rng);
    st.PerimetrZnak = std::uniform_int_distribution<int>(0, 4)(rng);
    st.FormulaZnak = std::uniform_int_distribution<int>(0, 4)(rng);
    std::vector<stFigure> figures;
    for (int i = std::uniform_int_distribution<int>(0, 6)(rng); i > 0; --i) {
      stFigure f = Figure("", kinds[std::uniform_int_distribution<int>(0, 4)(rng)],
                          kSizes[std::uniform_int_distribution<int>(0, 6)(rng)],
                          kSizes[std::uniform_int_distribution<int>(0, 6)(rng)]);
      f.Name = Pick(rng, kFigureNames);
      figures.push_back(f);
    }
    FormulaGrid rows;
    for (int i = std::uniform_int_distribution<int>(1, 8)(rng); i > 0; --i) {
      QStringList row{Pick(rng, kRowNames), QString(), Pick(rng, kValues)};
      if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) row.removeLast();  // a short row
      rows.append(row);
    }
    for (QStringList& row : rows)
      if (row.size() > 1) row[1] = RandomFormula(rng, figures, rows);

    const FormulaNames names(figures, rows, st);
    for (int t = 0; t < 10; ++t) {
      const QString text = RandomFormula(rng, figures, rows);
      ASSERT_EQ(names.Replace(text), literal::ReplaceAllNames(text, figures, rows, st))
          << "round " << round << " text \"" << text.toStdString() << "\"";
    }
    FormulaGrid fast = rows, slow = rows;
    for (int pass = 0; pass < 3; ++pass) {
      FormulaTableState table;
      RecalculateAll(fast, false, figures, st, table);
      literal::RecalculateAll(slow, figures, st);
      ASSERT_EQ(fast, slow) << "round " << round << " pass " << pass;
    }
  }
}

}  // namespace
}  // namespace korvan
