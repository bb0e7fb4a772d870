// The measure commands' body and their button hints; formula texts and names that are absurd.

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "formula/FormulaFixtures.h"
#include "common/ScriptedPrompter.h"
#include "formula/FigureMeasures.h"
#include "formula/MeasureInsertion.h"

namespace korvan {
namespace {

using test::Figure;
using test::U;

using test::ScriptedPrompter;

TEST(InsertMeasure, AcceptsTheTypedNameInsertsAndEvaluates) {
  struct Case {
    MeasureKind kind;
    FigureKind figure;
    const char* typed;
    int position;
    bool accepted;
    const char* formula;  // row 1 afterwards
    const char* value;
    const char* message;  // the one message shown, or nullptr
  };
  const Case cases[] = {
      {MeasureKind::AreaName, FigureKind::Rectangle, "Стена", 3, true, "1+Стена_Площадь", "7.0", nullptr},
      {MeasureKind::PerimeterName, FigureKind::Rectangle, " Стена ", 0, true, "1+Стена_Периметр", "11.0", nullptr},
      {MeasureKind::AreaFormula, FigureKind::Rectangle, "Стена", 3, true, "1+Стена_Длина*Стена_Высота", "7.0", nullptr},
      {MeasureKind::PerimeterFormula, FigureKind::Rectangle, "Стена", 3, true, "1+2.*(Стена_Длина+Стена_Высота)",
       "11.0", nullptr},
      {MeasureKind::LengthName, FigureKind::Rectangle, "Стена", 1, true, "Стена_Длина1+", "", "Некорректный символ 'С'!"},
      {MeasureKind::HeightName, FigureKind::Rectangle, "Пол", 3, true, "1+Пол_Высота", "4.0", nullptr},
      {MeasureKind::AreaFormula, FigureKind::Line, "Стена", 3, true, "1+", "", "Неоконченное выражение!"},
      {MeasureKind::AreaName, FigureKind::Rectangle, "Итог", 3, false, "1+", "", "Имя фигуры уже используется в имени формулы!"},
      {MeasureKind::AreaName, FigureKind::Rectangle, "", 3, false, "1+", "", "Задайте имя фигуры!"},
  };
  for (const Case& c : cases) {
    const EditorState st;
    const EstimateLink link;
    std::vector<stFigure> figures{Figure("Стена", c.figure, 2, 3)};
    FormulaGrid rows{{QStringLiteral("Итог"), QStringLiteral("Стена_Длина"), QString()},
                     {QStringLiteral("Ф"), QStringLiteral("1+"), QString()}};
    FormulaTableState table;
    table.CurrentRow = 1;
    table.Status = QStringLiteral("before");
    ScriptedPrompter prompter;
    ScopedPrompter ps(&prompter);
    EXPECT_EQ(InsertMeasure(c.kind, figures[0], U(c.typed), c.position, rows, table, NamingScope{figures, st, link}),
              c.accepted)
        << c.typed;
    EXPECT_EQ(rows[1][1], U(c.formula)) << c.typed;
    EXPECT_EQ(rows[1][2], U(c.value)) << c.typed;
    if (c.message) {
      ASSERT_EQ(prompter.shown.size(), 1) << c.typed;
      EXPECT_EQ(prompter.shown[0].text, U(c.message));
    } else {
      EXPECT_TRUE(prompter.shown.isEmpty()) << c.typed;
    }
    // A rename reaches the other formulas too.
    if (c.accepted && QString::fromUtf8(c.typed).trimmed() != QStringLiteral("Стена")) {
      EXPECT_EQ(rows[0][1], U(c.typed).trimmed() + QStringLiteral("_Длина"));
    }
  }
}

TEST(MeasureHints, NamedSelectionAddsTheNameOtherwiseBaseHintsDisabled) {
  const stFigure named = Figure(" Стена ", FigureKind::Rectangle, 1, 1);
  const MeasureButtonHints on = MeasureHints(&named);
  EXPECT_TRUE(on.enabled);
  const std::array<QString, 6> expected{
      U("Добавить в формулу площадь \"Стена\" в виде формулы"),
      U("Добавить в формулу площадь \"Стена\" в виде значения"),
      U("Добавить в формулу периметр \"Стена\" в виде формулы"),
      U("Добавить в формулу периметр \"Стена\" в виде значения"),
      U("Добавить в формулу длину \"Стена\""),
      U("Добавить в формулу высоту \"Стена\""),
  };
  EXPECT_EQ(on.hints, expected);
  const stFigure blank = Figure("  ", FigureKind::Rectangle, 1, 1);
  for (const stFigure* f : {static_cast<const stFigure*>(nullptr), &blank}) {
    const MeasureButtonHints off = MeasureHints(f);
    EXPECT_FALSE(off.enabled);
    EXPECT_EQ(off.hints[0], U("Добавить в формулу площадь"));
    EXPECT_EQ(off.hints[1], U("Добавить в формулу площадь"));
    EXPECT_EQ(off.hints[3], U("Добавить в формулу периметр"));
    EXPECT_EQ(off.hints[5], U("Добавить в формулу высоту"));
  }
}

TEST(FormulaBadInput, LongTextsEveryCharacterAndPatternNames) {
  EditorState st;
  // Names made of characters that mean something to regular expressions and format strings.
  std::vector<stFigure> figures{Figure("a.b", FigureKind::Rectangle, 2, 3), Figure("(x)", FigureKind::Rectangle, 1, 1),
                                Figure("%1", FigureKind::Rectangle, 4, 1), Figure("$&", FigureKind::Rectangle, 5, 1),
                                Figure("\\1", FigureKind::Rectangle, 6, 1), Figure("*", FigureKind::Rectangle, 7, 1)};
  FormulaGrid rows{{QStringLiteral("%s"), QStringLiteral("2"), QStringLiteral("2.0")},
                   {QStringLiteral("[a-z]+"), QStringLiteral("3"), QStringLiteral("3.0")}};
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"a.b_Площадь", 6},         {"(x)_Площадь+1", 2}, {"%1_Длина*%s", 8},
                        {"$&_Длина+[a-z]+", 8},     {"\\1_Длина", 6},     {"*_Длина", 7},
                        {"a.b_Площадь*(x)_Длина", 6}};
  for (const Case& c : cases) {
    const FormulaValue r = CalculateFormulaText(U(c.text), false, figures, rows, st);
    EXPECT_FALSE(r.Failed()) << c.text << ": " << r.Message.toStdString();
    EXPECT_DOUBLE_EQ(r.Value, c.value) << c.text;
  }

  // 100,000 characters: a long sum of names, and a long run of one letter.
  QString sum = QStringLiteral("a.b_Площадь");
  while (sum.size() < 100000) sum += QStringLiteral("+a.b_Площадь");
  const FormulaValue big = CalculateFormulaText(sum, false, figures, rows, st);
  EXPECT_FALSE(big.Failed()) << big.Message.toStdString();
  EXPECT_DOUBLE_EQ(big.Value, 6.0 * (sum.count(u'+') + 1));
  const FormulaValue letters = CalculateFormulaText(QString(100000, u'z'), false, figures, rows, st);
  EXPECT_EQ(letters.Failure, FormulaFailure::Engine);
  EXPECT_EQ(letters.Message, QStringLiteral("Некорректный символ 'z'!"));

  // Every character from 0 to 0x4FF alone, and after a name: never a crash, a value or a message.
  for (char16_t c = 0; c < 0x500; ++c) {
    for (const QString& text : {QString(QChar(c)), QStringLiteral("a.b_Площадь") + QChar(c)}) {
      const FormulaValue r = CalculateFormulaText(text, false, figures, rows, st);
      EXPECT_TRUE(r.Failed() != r.Message.isEmpty() || text.trimmed().isEmpty()) << int(c);
    }
  }
}

}  // namespace
}  // namespace korvan
