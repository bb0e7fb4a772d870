// Formula and figure names: checks and messages, renames inside formula texts, free names, and the
// names of the other schemes of the folder.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include "common/QtPrinters.h"
#include "common/ScriptedPrompter.h"
#include "formula/FormulaTable.h"
#include "formula/NamingRules.h"
#include "formula/OtherSchemes.h"
#include "support/Cp1251.h"

namespace korvan {
namespace {

using test::ScriptedPrompter;

QString U(const char* s) { return QString::fromUtf8(s); }

stFigure Figure(const char* name, const char* guid = nullptr) {
  stFigure f;
  f.Name = U(name);
  f.Guid = guid ? U(guid) : QStringLiteral("GUID-") + f.Name;
  f.Vid = static_cast<std::uint8_t>(FigureKind::Rectangle);
  f.Width = 2;
  f.Height = 3;
  return f;
}

FormulaGrid Rows(std::initializer_list<std::initializer_list<const char*>> rows) {
  FormulaGrid out;
  for (const auto& r : rows) {
    QStringList cells;
    for (const char* c : r) cells.append(U(c));
    out.append(cells);
  }
  return out;
}

void WriteKvn(const QString& path, const char* utf8) {
  QString text = U(utf8);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray bytes;
  ASSERT_TRUE(cp1251::Encode(text, bytes));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A scheme folder with the open scheme and two others.
struct Folder {
  QTemporaryDir dir;
  EditorState state;
  Folder() {
    state.Title = QStringLiteral("Korvan");
    state.ShemaFolder = dir.path() + u'/';
    state.ShemaFile = state.ShemaFolder + QStringLiteral("Открытая.kvn");
    WriteKvn(state.ShemaFile,
             "[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\nName=СвояФигура\n\n[Formula_1]\nName=СвояФормула\n\n"
             "[Formula]\nCount=1\n");
    WriteKvn(dir.filePath(QStringLiteral("Кухня.kvn")),
             "[COMMON]\nFormatFile=KVN 1.0\nFigCount=2\n\n[FIG_1]\nName=Стол\n\n[FIG_2]\nName= Окно \n\n"
             "[Formula_1]\nName=Плитка\n\n[Formula_2]\nName=Стол\n\n[Formula]\nCount=2\n");
    WriteKvn(dir.filePath(QStringLiteral("Зал.KVN")),
             "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Диван\n\n[Formula_1]\nName=Обои\n\n[Formula]\nCount=1\n");
    WriteKvn(dir.filePath(QStringLiteral("заметки.txt")), "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Текст\n");
  }
};

TEST(OtherSchemes, FindsFigureNamesBeforeFormulaNamesAndSkipsTheOpenScheme) {
  Folder fx;
  struct Case {
    const char* name;
    bool found;
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"Стол", true, "Кухня.kvn",
       "Параметр \"Стол\" используется в имени фигуры схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {" Окно", true, "Кухня.kvn",
       "Параметр \"Окно\" используется в имени фигуры схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {"Плитка", true, "Кухня.kvn",
       "Параметр \"Плитка\" используется в имени формулы схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {"Обои", true, "Зал.KVN",
       "Параметр \"Обои\" используется в имени формулы схемы \"Зал.KVN\"! Измените наименование параметра."},
      {"Диван", true, "Зал.KVN",
       "Параметр \"Диван\" используется в имени фигуры схемы \"Зал.KVN\"! Измените наименование параметра."},
      {"стол", false, "", ""},
      {"СвояФигура", false, "", ""},
      {"СвояФормула", false, "", ""},
      {"Текст", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    for (const bool show : {true, false}) {
      ScriptedPrompter prompter;
      ScopedPrompter scope(&prompter);
      EXPECT_EQ(CheckNameInOtherShemas(U(c.name), show, fx.state), !c.found) << c.name;
      if (c.found && show) {
        ASSERT_EQ(prompter.shown.size(), 1) << c.name;
        EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Korvan"));
        EXPECT_EQ(prompter.shown[0].text, U(c.message));
      } else {
        EXPECT_TRUE(prompter.shown.isEmpty()) << c.name;
      }
    }
  }
  // The open scheme is recognised whatever the case of its path and the blanks around it.
  EditorState other = fx.state;
  other.ShemaFile = QStringLiteral("  ") + fx.state.ShemaFolder + QStringLiteral("кухня.KVN ");
  EXPECT_TRUE(CheckNameInOtherShemas(QStringLiteral("Стол"), false, other));
  EXPECT_FALSE(CheckNameInOtherShemas(QStringLiteral("СвояФигура"), false, other));
}

TEST(OtherSchemes, GarbageAndHugeCountsInOtherFiles) {
  Folder fx;
  // Random bytes, a count of 2^31-1 with no sections, a negative count: no names, no hang.
  QByteArray noise;
  for (int i = 0; i < 4096; ++i) noise.append(char((i * 7919 + 13) & 0xFF));
  QFile n(fx.dir.filePath(QStringLiteral("шум.kvn")));
  ASSERT_TRUE(n.open(QIODevice::WriteOnly));
  n.write(noise);
  n.close();
  WriteKvn(fx.dir.filePath(QStringLiteral("огромная.kvn")),
           "[COMMON]\nFigCount=2147483647\n\n[FIG_99999]\nName=Далеко\n\n[Formula]\nCount=2147483647\n");
  WriteKvn(fx.dir.filePath(QStringLiteral("минус.kvn")), "[COMMON]\nFigCount=-5\n\n[FIG_1]\nName=Минус\n");
  QDir().mkdir(fx.dir.filePath(QStringLiteral("папка.kvn")));  // a folder is not a scheme
  EXPECT_TRUE(CheckNameInOtherShemas(QStringLiteral("Минус"), false, fx.state));
  EXPECT_FALSE(CheckNameInOtherShemas(QStringLiteral("Далеко"), false, fx.state));  // within the cap
  EXPECT_FALSE(CheckNameInOtherShemas(QStringLiteral("Стол"), false, fx.state));
}

TEST(OtherSchemes, ARefreshReadsOnlyChangedFiles) {
  Folder fx;
  OtherSchemeNames names;
  names.Refresh(fx.state.ShemaFolder, fx.state.ShemaFile);
  EXPECT_TRUE(names.Find(QStringLiteral("Стол")).has_value());
  EXPECT_FALSE(names.Find(QStringLiteral("Новое")).has_value());
  WriteKvn(fx.dir.filePath(QStringLiteral("Кухня.kvn")),
           "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Новое имя фигуры\n");  // another size
  WriteKvn(fx.dir.filePath(QStringLiteral("Новая.kvn")), "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Новое\n");
  names.Refresh(fx.state.ShemaFolder, fx.state.ShemaFile);
  EXPECT_FALSE(names.Find(QStringLiteral("Стол")).has_value());
  EXPECT_TRUE(names.Find(QStringLiteral("Новое")).has_value());
  EXPECT_TRUE(names.Find(QStringLiteral("Новое имя фигуры")).has_value());
  QFile::remove(fx.dir.filePath(QStringLiteral("Новая.kvn")));
  names.Refresh(fx.state.ShemaFolder, fx.state.ShemaFile);
  EXPECT_FALSE(names.Find(QStringLiteral("Новое")).has_value());
}

// --- Formula names ------------------------------------------------------------------------------

TEST(ValidateFormulaName, ChecksInOrderWithTheirMessages) {
  Folder fx;
  const std::vector<stFigure> figures{Figure("Стена"), Figure("Пол ")};
  EstimateLink link;
  link.SmetaFormulas = {stFormula{0, QString(), QStringLiteral("Смета"), QString()},
                        stFormula{3, QString(), QStringLiteral("Другая"), QString()}};
  struct Case {
    const char* name;
    bool linked;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"", false, "Задайте имя формулы!"},
      {"  ", false, "Задайте имя формулы!"},
      {"Дубль", false, "Имя формулы уже используется!"},
      {"Дубль ", false, nullptr},  // differs by a trailing blank: not a duplicate
      {"Стена", false, "Имя формулы уже используется в имени фигуры!"},
      {"Пол", false, nullptr},  // the figure's name has a trailing blank
      {"смета", false, "Имя формулы уже используется в смете!"},
      {"СМЕТА", false, "Имя формулы уже используется в смете!"},
      {"Другая", false, nullptr},  // an entry of another kind reserves nothing
      {"Стол", false, nullptr},    // other schemes count only when linked
      {"Стол", true,
       "Параметр \"Стол\" используется в имени фигуры схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {"Новая", true, nullptr},
  };
  for (const Case& c : cases) {
    link.SmetaFileArg = c.linked ? fx.dir.filePath(QStringLiteral("exchange.ini")) : QString();
    FormulaGrid rows = Rows({{"Дубль", "1", ""}, {c.name, "2", ""}});
    const NamingScope scope{figures, fx.state, link};
    for (const bool show : {true, false}) {
      ScriptedPrompter prompter;
      ScopedPrompter ps(&prompter);
      EXPECT_EQ(CheckFormulaName(rows, 1, show, scope), c.message == nullptr) << c.name;
      if (c.message && show) {
        ASSERT_EQ(prompter.shown.size(), 1) << c.name;
        EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Korvan"));
        EXPECT_EQ(prompter.shown[0].text, U(c.message));
      } else {
        EXPECT_TRUE(prompter.shown.isEmpty()) << c.name;
      }
    }
  }
}

TEST(ValidateFormulaName, RenamesOnceWhenTheEditedNameIsAccepted) {
  const EditorState st;
  const std::vector<stFigure> figures;
  const EstimateLink link;
  const NamingScope scope{figures, st, link};
  FormulaGrid rows = Rows({{"B", "1", ""}, {"C", "A+A*2", ""}, {"D", "AB+1+(A)", ""}});
  stOldNameFormula old{QStringLiteral("A"), 0};
  EXPECT_TRUE(ValidateFormulaName(rows, 0, false, scope, old));
  EXPECT_EQ(rows[1][1], QStringLiteral("B+B*2"));
  EXPECT_EQ(rows[2][1], QStringLiteral("AB+1+(B)"));
  EXPECT_EQ(old.Row, -1);
  // The same row checked again (a repaint) renames nothing more.
  rows[1][1] = QStringLiteral("A+1");
  EXPECT_TRUE(ValidateFormulaName(rows, 0, false, scope, old));
  EXPECT_EQ(rows[1][1], QStringLiteral("A+1"));
  // A refused name renames nothing and keeps the old name for the next try.
  stOldNameFormula again{QStringLiteral("B"), 1};
  rows[1][0] = QStringLiteral("B");
  EXPECT_FALSE(ValidateFormulaName(rows, 1, false, scope, again));
  EXPECT_EQ(again.Row, 1);
  // Another row's acceptance does not use this row's old name.
  stOldNameFormula other{QStringLiteral("A"), 2};
  EXPECT_TRUE(ValidateFormulaName(rows, 2, false, scope, other));
  EXPECT_EQ(rows[1][1], QStringLiteral("D+1"));
}

TEST(RenameFormulaInTexts, WholeNamesOnlyAndBlankNamesDoNothing) {
  struct Case {
    const char* from;
    const char* to;
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {"A", "B", "A+A*2", "B+B*2"},
      {"A", "B", "AB+1", "AB+1"},
      {" A ", " B ", "A-(A)", "B-(B)"},
      {"A", "", "A+1", "A+1"},
      {"", "B", "A+1", "A+1"},
      {"A", "A+1", "A*2", "A*2"},  // a new name holding the old one is never applied
      {"a.b", "$1", "a.b+a.bc", "$1+a.bc"},
  };
  for (const Case& c : cases) {
    FormulaGrid rows = Rows({{"X", c.text, ""}, {"Y", c.text, "1"}});
    RenameFormulaInTexts(rows, U(c.from), U(c.to));
    EXPECT_EQ(rows[0][1], U(c.result)) << c.text;
    EXPECT_EQ(rows[1][1], U(c.result)) << c.text;
    EXPECT_EQ(rows[0][0], QStringLiteral("X"));
  }
}

TEST(UniqueFormulaName, SkipsRowsFiguresReservedAndOtherSchemeNames) {
  Folder fx;
  WriteKvn(fx.dir.filePath(QStringLiteral("Ещё.kvn")),
           "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Формула_5\n\n[Formula_1]\nName=Формула_6\n\n[Formula]\nCount=1\n");
  const std::vector<stFigure> figures{Figure(" Формула_2"), Figure("формула_3")};
  EstimateLink link;
  link.SmetaFormulas = {stFormula{0, {}, QStringLiteral(" ФОРМУЛА_3 "), {}}, stFormula{0, {}, QStringLiteral("Формула_4"), {}}};
  const FormulaGrid rows = Rows({{"Формула_1 ", "", ""}, {"Формула_7", "", ""}});
  EXPECT_EQ(UniqueFormulaName(rows, NamingScope{figures, fx.state, link}), QStringLiteral("Формула_5"));
  link.SmetaFileArg = QStringLiteral("x.ini");
  EXPECT_EQ(UniqueFormulaName(rows, NamingScope{figures, fx.state, link}), QStringLiteral("Формула_8"));
  OtherSchemeNames cache;
  EXPECT_EQ(UniqueFormulaName(rows, NamingScope{figures, fx.state, link, &cache}), QStringLiteral("Формула_8"));
}

// --- Figure names ---------------------------------------------------------------------------------

TEST(RenameFigure, FiveChecksWithTheirMessages) {
  Folder fx;
  EstimateLink link;
  link.SmetaFormulas = {stFormula{0, {}, QStringLiteral(" стена_площадь "), {}},
                        stFormula{0, {}, QStringLiteral("ПОТОЛОК"), {}},
                        stFormula{2, {}, QStringLiteral("Крыша"), {}}};
  struct Case {
    const char* name;
    bool linked;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"", false, "Задайте имя фигуры!"},
      {"   ", false, "Задайте имя фигуры!"},
      {"Другая", false, "Имя фигуры уже используется!"},
      {"Сама", false, nullptr},  // its own name, same Guid
      {"Итого", false, "Имя фигуры уже используется в имени формулы!"},
      {"Стена", false, "Имя фигуры уже используется в формулах сметы!"},  // with a suffix, in any case
      {"потолок", false, "Имя фигуры уже используется в формулах сметы!"},
      {"Крыша", false, nullptr},
      {"Диван", false, nullptr},
      {"Диван", true,
       "Параметр \"Диван\" используется в имени фигуры схемы \"Зал.KVN\"! Измените наименование параметра."},
      {"Пол", true, nullptr},
  };
  for (const Case& c : cases) {
    link.SmetaFileArg = c.linked ? QStringLiteral("exchange.ini") : QString();
    std::vector<stFigure> figures{Figure("Сама", "G1"), Figure(" Другая ", "G2")};
    FormulaGrid rows = Rows({{" Итого", "Сама_Площадь+Сама_Длина+Сама", ""}});
    ScriptedPrompter prompter;
    ScopedPrompter ps(&prompter);
    const bool ok = RenameFigure(figures[0], U(c.name), rows, NamingScope{figures, fx.state, link});
    EXPECT_EQ(ok, c.message == nullptr) << c.name;
    if (c.message) {
      ASSERT_EQ(prompter.shown.size(), 1) << c.name;
      EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Korvan"));
      EXPECT_EQ(prompter.shown[0].text, U(c.message));
      EXPECT_EQ(figures[0].Name, QStringLiteral("Сама"));
      EXPECT_EQ(rows[0][1], QStringLiteral("Сама_Площадь+Сама_Длина+Сама"));
    } else {
      EXPECT_TRUE(prompter.shown.isEmpty()) << c.name;
      EXPECT_EQ(figures[0].Name, U(c.name));
      EXPECT_EQ(rows[0][1], U(c.name) + QStringLiteral("_Площадь+") + U(c.name) + QStringLiteral("_Длина+Сама"));
    }
  }
}

TEST(RenameFigure, AFigureWithoutANameGetsOneWithoutTouchingFormulas) {
  const EditorState st;
  const EstimateLink link;
  std::vector<stFigure> figures{Figure("", "G1")};
  FormulaGrid rows = Rows({{"F", "_Площадь+1", ""}});
  EXPECT_TRUE(RenameFigure(figures[0], QStringLiteral("Новая"), rows, NamingScope{figures, st, link}));
  EXPECT_EQ(figures[0].Name, QStringLiteral("Новая"));
  EXPECT_EQ(rows[0][1], QStringLiteral("_Площадь+1"));
}

TEST(RenameFigureInFormulas, FourMeasureNamesInOrder) {
  const EditorState st;
  struct Case {
    const char* from;
    const char* to;
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {"A", "B", "A_Площадь+A_Длина", "B_Площадь+B_Длина"},
      {"A", "B", "A_Периметр*A_Высота-A", "B_Периметр*B_Высота-A"},
      {"A", "B", "AA_Площадь+A_Площадь2", "AA_Площадь+A_Площадь2"},
      {"A", "", "A_Площадь", "A_Площадь"},
      {"", "B", "_Площадь", "_Площадь"},
      {"A", "A B", "A_Длина", "A B_Длина"},
  };
  for (const Case& c : cases) {
    stFigure f = Figure(c.from);
    FormulaGrid rows = Rows({{"R", c.text, ""}});
    RenameFigureInFormulas(f, U(c.to), rows, st);
    EXPECT_EQ(rows[0][1], U(c.result)) << c.text;
  }
}

TEST(UniqueFigureName, FirstFreeNumber) {
  Folder fx;
  WriteKvn(fx.dir.filePath(QStringLiteral("Ещё.kvn")), "[COMMON]\nFigCount=1\n\n[FIG_1]\nName=Фигура_6\n");
  struct Case {
    std::vector<const char*> figures;
    std::vector<const char*> rows;
    std::vector<const char*> reserved;
    bool linked;
    const char* name;
  };
  const std::vector<Case> cases = {
      {{}, {}, {}, false, "Фигура_1"},
      {{"Фигура_1", "Фигура_3"}, {}, {}, false, "Фигура_2"},
      {{"Фигура_1 "}, {" Фигура_2"}, {}, false, "Фигура_3"},
      {{}, {}, {"фигура_1_длина", "ФИГУРА_2", " Фигура_3_Периметр "}, false, "Фигура_4"},
      {{"Фигура_1", "Фигура_2", "Фигура_3", "Фигура_4", "Фигура_5"}, {}, {}, true, "Фигура_7"},
  };
  for (const Case& c : cases) {
    std::vector<stFigure> figures;
    for (const char* n : c.figures) figures.push_back(Figure(n));
    FormulaGrid rows;
    for (const char* n : c.rows) rows.append(QStringList{U(n), QString(), QString()});
    EstimateLink link;
    for (const char* n : c.reserved) link.SmetaFormulas.push_back(stFormula{0, {}, U(n), {}});
    if (c.linked) link.SmetaFileArg = QStringLiteral("e.ini");
    EXPECT_EQ(UniqueFigureName(rows, NamingScope{figures, fx.state, link}), U(c.name));
  }
}

TEST(ValidateAllNames, FiguresThenFormulasFirstFailureWins) {
  Folder fx;
  EstimateLink link;
  link.SmetaFormulas = {stFormula{0, {}, QStringLiteral("резерв_высота"), {}}};
  struct Case {
    std::vector<const char*> figures;
    std::vector<const char*> rows;
    bool linked;
    const char* message;  // nullptr: all accepted
  };
  const std::vector<Case> cases = {
      {{"A", "B"}, {"F1", "F2"}, false, nullptr},
      {{"A", " "}, {"F1"}, false, "Задайте имя фигуры!"},
      {{"A", "B", " A"}, {"F1"}, false, "Имя фигуры \"A\" уже используется!"},
      {{"A", "F1 "}, {"F1"}, false, "Имя фигуры уже используется в имени формулы!"},
      {{"Резерв"}, {"F1"}, false, "Имя фигуры уже используется в формулах сметы!"},
      {{"Стол"}, {"F1"}, true,
       "Параметр \"Стол\" используется в имени фигуры схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {{"A"}, {"F1", ""}, false, "Задайте имя формулы!"},
      {{"A"}, {"F1", "F1"}, false, "Имя формулы уже используется!"},
      {{"A"}, {"F1", "Плитка"}, true,
       "Параметр \"Плитка\" используется в имени формулы схемы \"Кухня.kvn\"! Измените наименование параметра."},
      {{"A "}, {"A"}, false, "Имя фигуры уже используется в имени формулы!"},
  };
  for (const Case& c : cases) {
    std::vector<stFigure> figures;
    for (const char* n : c.figures) figures.push_back(Figure(n));
    FormulaGrid rows;
    for (const char* n : c.rows) rows.append(QStringList{U(n), QStringLiteral("1"), QString()});
    link.SmetaFileArg = c.linked ? QStringLiteral("e.ini") : QString();
    for (const bool show : {true, false}) {
      ScriptedPrompter prompter;
      ScopedPrompter ps(&prompter);
      EXPECT_EQ(ValidateAllNames(show, rows, NamingScope{figures, fx.state, link}), c.message == nullptr)
          << (c.message ? c.message : "ok");
      if (c.message && show) {
        ASSERT_EQ(prompter.shown.size(), 1) << c.message;
        EXPECT_EQ(prompter.shown[0].text, U(c.message));
      } else {
        EXPECT_TRUE(prompter.shown.isEmpty());
      }
    }
  }
}

}  // namespace
}  // namespace korvan
