// Whole-name search and replacement, substitution lists, and the indexed table held to the literal
// pair-by-pair application.

#include <QString>

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/QtPrinters.h"
#include "formula/LiteralSubstitution.h"
#include "formula/NameSubstitution.h"
#include "formula/SubstitutionTable.h"

namespace korvan {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(FindWholeName, SeparatorsDecideWhatIsWhole) {
  struct Case {
    const char* text;
    const char* name;
    qsizetype position;
  };
  const Case cases[] = {
      {"A+B", "A", 1},        {"B+A", "A", 3},         {"AB+A", "A", 4},        {"A1", "A", 0},
      {"(A)", "A", 2},        {"A=1", "A", 0},         {"A,1", "A", 0},         {"A.B", "A", 0},
      {"1.A", "A", 0},        {")A", "A", 0},          {"A(", "A", 0},          {" A ", "A", 2},
      {"x^A^y", "A", 3},      {"2*A/3", "A", 3},       {"2-A", "A", 3},         {"", "A", 0},
      {"A", "", 0},           {"A", "A", 1},           {"S2+S", "S", 4},        {"Стена_Площадь*2", "Стена_Площадь", 1},
      {"Стена_Площадь2", "Стена_Площадь", 0},          {"стена_площадь", "Стена_Площадь", 0},
      {"a b+1", "a b", 1},    {"xa b", "a b", 0},      {"AA+A", "A", 4},        {"A\tB", "A", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindWholeName(U(c.text), U(c.name)), c.position) << c.text << " / " << c.name;
}

TEST(ReplaceWholeName, ReplacesEveryWholeOccurrenceOnTheTextAsItChanges) {
  struct Case {
    const char* text;
    const char* name;
    const char* value;
    const char* result;
  };
  const Case cases[] = {
      {"A+A*2", "A", "B", "B+B*2"},
      {"AB+1", "A", "B", "AB+1"},
      {"A+AB+BA+A", "A", "7", "7+AB+BA+7"},
      {"A A", "A", "", " "},
      {"A", "A", "A+A", "A+A"},                // the inserted value is not searched again
      {"A+A", "A", "xA", "xA+xA"},
      {"AA+A", "A", "1", "AA+1"},              // a miss goes on from the occurrence's second character
      {"-a--a-", "-a-", "b", "b-a-"},          // behind a value its last character is what stands before
      {"-a--a-", "-a-", "+", "++"},
      {"(x)*(x)", "x", "2", "(2)*(2)"},
      {"x", "y", "1", "x"},
      {"", "x", "1", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceWholeName(U(c.text), U(c.name), U(c.value)), U(c.result)) << c.text;
    EXPECT_EQ(literal::ReplaceWhole(U(c.text), U(c.name), U(c.value)), U(c.result)) << c.text << " (literal)";
  }
}

TEST(ReplaceWholeName, ReportsWhereTheValuesWent) {
  std::vector<TextRange> at;
  EXPECT_EQ(ReplaceWholeName(u"A+BA+A", u"A", u"xyz", &at), QStringLiteral("xyz+BA+xyz"));
  ASSERT_EQ(at.size(), 2u);
  EXPECT_EQ(at[0].begin, 0);
  EXPECT_EQ(at[0].end, 3);
  EXPECT_EQ(at[1].begin, 7);
  EXPECT_EQ(at[1].end, 10);
}

std::vector<stFormula> List(std::initializer_list<std::pair<const char*, const char*>> pairs) {
  std::vector<stFormula> out;
  for (const auto& [n, v] : pairs) out.push_back(stFormula{0, QString(), U(n), U(v)});
  return out;
}

TEST(SubstituteLists, OrderSelfReferenceAndRewrittenValues) {
  struct Case {
    const char* text;
    std::vector<stFormula> list;
    const char* byList;   // SubstituteList
    const char* byNames;  // SubstituteNames
  };
  const Case cases[] = {
      {"A*2", List({{"A", "A+1"}}), "A*2", "A*2"},                    // holds its own name: skipped
      {"A", List({{"A", "B"}, {"B", "C"}}), "C", "C"},                 // a later name matches an earlier value
      {"A", List({{"B", "C"}, {"A", "B"}}), "B", "C"},                 // an earlier never does, but values are rewritten first
      {"A", List({{"B", "2"}, {"A", "B"}}), "B", "2"},
      {"A+B", List({{"A", "B"}, {"B", "A"}}), "A+A", "A+A"},
      {"x+y", List({{"x", "1"}, {"y", "2"}}), "1+2", "1+2"},
      {"A+B", List({{"", "1"}, {"B", "2"}}), "A+2", "A+2"},            // an empty name replaces nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SubstituteList(U(c.text), c.list), U(c.byList)) << c.text;
    EXPECT_EQ(SubstituteNames(U(c.text), c.list), U(c.byNames)) << c.text;
    std::vector<literal::Entry> lit;
    for (const stFormula& e : c.list) lit.push_back({e.Name, e.Value});
    EXPECT_EQ(literal::SubstituteList(U(c.text), lit), U(c.byList)) << c.text << " (literal)";
    EXPECT_EQ(literal::SubstituteNames(U(c.text), lit), U(c.byNames)) << c.text << " (literal)";
  }
}

TEST(SubstituteLists, NamesWithPatternCharactersAreTakenLiterally) {
  // Characters that mean something to regular expressions or format strings mean nothing here.
  const char* names[] = {"a.b", "(x)", "%1", "$&", "\\1", "*", "[a-z]", "^", "a|b", "{0}", "%s%n", ".*"};
  for (const char* n : names) {
    const QString name = U(n);
    const QString text = QStringLiteral("1+") + name + QStringLiteral("+2");
    const QString out = SubstituteList(text, {stFormula{0, QString(), name, QStringLiteral("$1\\0%2")}});
    EXPECT_EQ(out, literal::SubstituteList(text, {{name, QStringLiteral("$1\\0%2")}})) << n;
    // Each sits between two plus signs, so each is whole and replaced, value and all, as written.
    EXPECT_EQ(out, QStringLiteral("1+$1\\0%2+2")) << n;
    EXPECT_EQ(SubstituteList(QStringLiteral("1") + name + QStringLiteral("2"),
                             {stFormula{0, QString(), name, QStringLiteral("x")}}),
              QStringLiteral("1") + name + QStringLiteral("2"))
        << n;
  }
}

// --- The indexed table against the literal application -----------------------------------------

// Fragments that make names collide: separators inside names, names inside names, numbers that are
// also names, values that hold names.
const char* const kNamePool[] = {"A", "B", "AB", "A B", "a+b", "1", "2.5", "0", "-", "(", "x)", "Стена_Площадь",
                                 "Стена 1_Длина", "S", "S2", " ", "x", "y y", "+x", "^", "A(", "", "Б"};
const char* const kValuePool[] = {"", "0", "1", "2.5", "-3", "A", "B+1", "A B", "S2*S", "x", "(", "1+a+b",
                                  "Стена_Площадь", "y y y", "-x", "Бесконечность", "A A", "S"};
const char* const kGlue[] = {"+", "-", "*", "/", "^", "(", ")", " ", "", ".", ",", "=", "1", "2"};

template <typename Rng, size_t N>
QString Pick(Rng& rng, const char* const (&pool)[N]) {
  return U(pool[std::uniform_int_distribution<size_t>(0, N - 1)(rng)]);
}

template <typename Rng>
QString RandomText(Rng& rng, int pieces) {
  QString t;
  std::uniform_int_distribution<int> coin(0, 2);
  for (int i = 0; i < pieces; ++i) t += coin(rng) ? Pick(rng, kNamePool) : Pick(rng, kGlue);
  return t;
}

TEST(SubstitutionTable, AppliesPairsExactlyAsTheLiteralSequence) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    const int pairs = std::uniform_int_distribution<int>(0, 12)(rng);
    SubstitutionTable table;
    std::vector<literal::Entry> lit;
    for (int i = 0; i < pairs; ++i) {
      const QString name = Pick(rng, kNamePool), value = Pick(rng, kValuePool);
      table.Add(name, value);
      lit.push_back({name, value});
    }
    // Rewrite a few pairs in place, as a recalculation does with row values.
    for (int k = std::uniform_int_distribution<int>(0, 3)(rng); k > 0 && pairs > 0; --k) {
      const int i = std::uniform_int_distribution<int>(0, pairs - 1)(rng);
      const QString name = Pick(rng, kNamePool), value = Pick(rng, kValuePool);
      table.Set(i, name, value);
      lit[static_cast<size_t>(i)] = {name, value};
    }
    for (int t = 0; t < 8; ++t) {
      const QString text = RandomText(rng, std::uniform_int_distribution<int>(0, 10)(rng));
      ASSERT_EQ(table.Apply(text), literal::SubstituteList(text, lit))
          << "round " << round << ", text \"" << text.toStdString() << "\"";
    }
  }
}

TEST(SubstitutionTable, ReportsWhetherAMarkedPairReplacedSomething) {
  SubstitutionTable t;
  t.Add(QStringLiteral("A"), QStringLiteral("1"));
  t.Add(QStringLiteral("B"), QStringLiteral("Не число"), true);
  struct Case {
    const char* text;
    const char* result;
    bool marked;
  };
  const Case cases[] = {{"A+1", "1+1", false}, {"B*2", "Не число*2", true}, {"AB+C", "AB+C", false}, {"", "", false}};
  for (const Case& c : cases) {
    bool marked = !c.marked;
    EXPECT_EQ(t.Apply(U(c.text), &marked), U(c.result)) << c.text;
    EXPECT_EQ(marked, c.marked) << c.text;
  }
}

TEST(SubstitutionTable, FindsWhichNamesATextUses) {
  SubstitutionTable t;
  for (const char* n : {"A", "B", "A B", "C", "A"}) t.Add(U(n), QString());
  const std::vector<int> used = t.Occurring(u"A B*(A)");
  EXPECT_EQ(used, (std::vector<int>{0, 1, 2, 4}));
  EXPECT_TRUE(t.Occurring(u"AB+CA").empty());
}

// --- Bad input ------------------------------------------------------------------------------------

TEST(SubstitutionBadInput, LongTextsEveryCharacterAndLongNames) {
  SubstitutionTable t;
  t.Add(QStringLiteral("a"), QStringLiteral("bb"));
  t.Add(QStringLiteral("bb"), QStringLiteral("c"));
  t.Add(QString(1000, QLatin1Char('n')), QStringLiteral("1"));
  std::vector<literal::Entry> lit{{QStringLiteral("a"), QStringLiteral("bb")},
                                  {QStringLiteral("bb"), QStringLiteral("c")},
                                  {QString(1000, QLatin1Char('n')), QStringLiteral("1")}};

  // 100,000 characters: separators and names alternating, so there are 50,000 replacements.
  const QString longText = QStringLiteral("a+").repeated(50000);
  const QString out = t.Apply(longText);
  EXPECT_EQ(out, QStringLiteral("c+").repeated(50000));
  EXPECT_EQ(SubstituteList(longText, {stFormula{0, {}, QStringLiteral("a"), QStringLiteral("bb")}}),
            QStringLiteral("bb+").repeated(50000));

  // One 100,000-character word: a name of 1,000 letters is never whole inside it.
  const QString word(100000, QLatin1Char('n'));
  EXPECT_EQ(t.Apply(word), word);
  EXPECT_EQ(t.Apply(QString(1000, QLatin1Char('n')) + QStringLiteral("*2")), QStringLiteral("1*2"));

  // Every UTF-16 unit below 0x500 and every byte value, alone and around names.
  QString every;
  for (char16_t c = 0; c < 0x500; ++c) every += QChar(c);
  for (const QString& text : {every, every + QStringLiteral(" a ") + every, QStringLiteral("a") + every}) {
    EXPECT_EQ(t.Apply(text), literal::SubstituteList(text, lit));
    EXPECT_EQ(FindWholeName(text, QStringLiteral("a")), literal::FindWhole(text, QStringLiteral("a")));
  }
}

}  // namespace
}  // namespace korvan
