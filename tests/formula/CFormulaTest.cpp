#include <QString>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "common/QtPrinters.h"
#include "formula/CFormula.h"
#include "formula/LiteralFormula.h"
#include "support/Cp1251.h"

namespace korvan {
namespace {

using Outcome = CFormula::Outcome;

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const QString kEmpty = QStringLiteral("Пустое выражение!");
const QString kEmptyGroup = QStringLiteral("В скобках - пустое выражение!");
const QString kUnfinished = QStringLiteral("Неоконченное выражение!");
const QString kNoClose = QStringLiteral("Нет закрывающей скобки!");
const QString kNoOpen = QStringLiteral("Нет открывающей скобки!");
const QString kDivZero = QStringLiteral("Деление на ноль!");
const QString kOverflow = QStringLiteral("Переполнение!");
const QString kTooDeep = QStringLiteral("Слишком глубокая вложенность скобок!");
QString Bad(const QString& c) { return QStringLiteral("Некорректный символ '") + c + QStringLiteral("'!"); }
QString Bad(char16_t c) { return Bad(QString(QChar(c))); }

QString Repeat(const char* piece, int times) { return QString::fromUtf8(piece).repeated(times); }

// Same double: bit for bit, so that -0 differs from 0; any NaN matches any NaN (arithmetic leaves
// the sign of a NaN unspecified).
bool Same(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

struct ValueCase {
  QString text;
  double value;
};

// Each text is read three ways that must agree: as it is; with a blank after it, which is the
// same formula; and by the exact two-pass reading alone (Calculate reads well-formed text in one
// pass first).
struct Reading {
  const char* name;
  bool (*calculate)(CFormula&, const QString&);
};
const Reading kReadings[] = {
    {"as given", [](CFormula& f, const QString& t) { return f.Calculate(t); }},
    {"with a blank", [](CFormula& f, const QString& t) { return f.Calculate(t + u' '); }},
    {"two-pass", [](CFormula& f, const QString& t) { return f.CalculateTwoPass(t); }},
};

void ExpectValues(const std::vector<ValueCase>& cases) {
  for (const ValueCase& c : cases) {
    for (const Reading& r : kReadings) {
      const std::string where = c.text.left(80).toStdString() + " (" + r.name + ")";
      CFormula f;
      const bool ok = r.calculate(f, c.text);
      EXPECT_TRUE(ok) << where << " -> " << f.GetErrorText().toStdString();
      EXPECT_EQ(f.GetOutcome(), Outcome::Value) << where;
      EXPECT_TRUE(Same(f.GetResult(), c.value))
          << where << " gives " << f.GetResult() << ", expected " << c.value;
      EXPECT_EQ(f.GetErrorText(), QString()) << where;
    }
  }
}

struct MessageCase {
  QString text;
  QString message;
};

void ExpectMessages(const std::vector<MessageCase>& cases) {
  for (const MessageCase& c : cases) {
    for (const Reading& r : kReadings) {
      const std::string where = c.text.left(80).toStdString() + " (" + r.name + ")";
      CFormula f;
      EXPECT_FALSE(r.calculate(f, c.text)) << where;
      EXPECT_EQ(f.GetOutcome(), Outcome::SyntaxError) << where;
      EXPECT_EQ(f.GetErrorText(), c.message) << where;
      EXPECT_TRUE(Same(f.GetResult(), 0.0)) << where;
    }
  }
}

void ExpectArithmeticFailures(const std::vector<QString>& texts) {
  for (const QString& text : texts) {
    for (const Reading& r : kReadings) {
      const std::string where = text.left(80).toStdString() + " (" + r.name + ")";
      CFormula f;
      EXPECT_FALSE(r.calculate(f, text)) << where;
      EXPECT_EQ(f.GetOutcome(), Outcome::ArithmeticFailure)
          << where << " -> " << f.GetErrorText().toStdString();
      EXPECT_EQ(f.GetErrorText(), QString()) << where;
      EXPECT_TRUE(Same(f.GetResult(), 0.0)) << where;
    }
  }
}

#define T(s) QStringLiteral(s)

TEST(CFormula, PrecedenceAndLeftAssociativity) {
  ExpectValues({
      {T("2+3*4"), 14},
      {T("(2+3)*4"), 20},
      {T("2*3+4"), 10},
      {T("2+3^2"), 11},
      {T("2*3^2"), 18},
      {T("2^3*2"), 16},
      {T("1+2^3*2"), 17},
      {T("1+2*3^2-4/2"), 17},
      {T("2^3^2"), 64},
      {T("4^0.5^2"), 4},  // (4^0.5)^2, not 4^0.25
      {T("8/2/2"), 2},
      {T("10-4-3"), 3},
      {T("100/10*2"), 20},
      {T("2*3/4"), 1.5},
      {T("1-2+3"), 2},
      {T("2-3*4+5"), -5},
      {T("(1+2)^2"), 9},
      {T("2^(1+2)"), 8},
      {T("((2))"), 2},
      {T("1-(2-3)"), 2},
      {T("2*(3+4)*5"), 70},
      {T("(2+3)*(4-1)/5"), 3},
      {T("7"), 7},
      {T("0"), 0},
  });
}

TEST(CFormula, SignsBelongToTheirOperand) {
  ExpectValues({
      {T("-2^2"), 4},
      {T("2^-1"), 0.5},
      {T("-2^-2"), 0.25},
      {T("-2^3"), -8},
      {T("3--2"), 5},
      {T("3+-2"), 1},
      {T("3-+2"), 1},
      {T("2*-3"), -6},
      {T("2/-4"), -0.5},
      {T("+5"), 5},
      {T("-5"), -5},
      {T("-0"), -0.0},
      {T("-(1+2)*2"), -6},
      {T("2*-(1+2)"), -6},
      {T("(-2)"), -2},
      {T("+(2)"), 2},
      {T("-(2)^2"), 4},
      {T("2^-(1+1)"), 0.25},
      {T("-(-(-1))"), -1},
      {T("2-(-3)"), 5},
  });
}

TEST(CFormula, NumbersAndSeparators) {
  ExpectValues({
      {T("2,5*2"), 5},
      {T("1.5+1,5"), 3},
      {T("5."), 5},
      {T(".5"), 0.5},
      {T(",5"), 0.5},
      {T("-.5"), -0.5},
      {T("-."), 0},  // a sign followed only by a separator reads as 0
      {T("+,"), 0},
      {T("2.*3"), 6},
      {T("007"), 7},
      {T("0.1+0.2"), 0.1 + 0.2},
      {T("12.5*3.75+2.*(4.1+7.9)"), 12.5 * 3.75 + 2. * (4.1 + 7.9)},
      {T("0.1"), 0.1},
      {T("123456789.123456789"), 123456789.123456789},
      {T("9007199254740993"), 9007199254740993.0},
      {T("18446744073709551615"), 18446744073709551615.0},
      {T("123456789012345678901234567890"), 123456789012345678901234567890.0},
      {T("0.000000000000000000000000000123"), 0.000000000000000000000000000123},
      {T("3.14159265358979323846264338327950288"), 3.14159265358979323846264338327950288},
      {Repeat("9", 308), 1e308},
      {T("1") + Repeat("0", 308), 1e308},
      {T("0.") + Repeat("0", 400) + T("1"), 0},  // too small reads as 0
      {T("-0.") + Repeat("0", 400) + T("1"), -0.0},
      {T("0.") + Repeat("0", 322) + T("5"), 5e-323},  // subnormal
      {T("0.") + Repeat("0", 323) + T("25"), std::numeric_limits<double>::denorm_min()},
      {T("0.") + Repeat("0", 323) + T("247"), 0},
      {T("17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
         "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
         "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
         "168738177180919299881250404026184124858368"),
       std::numeric_limits<double>::max()},
  });
}

TEST(CFormula, BlanksAreRemovedWhereverTheyStand) {
  ExpectValues({
      {T("1 000"), 1000},
      {T(" 1 + 2 "), 3},
      {T("\t1\r\n+\n2"), 3},
      {T("1 2"), 12},
      {T("- 5"), -5},
      {T("2 ^ 3 ^ 2"), 64},
      {T("1 . 5"), 1.5},
      {T("( 2 + 3 ) * 4"), 20},
  });
}

TEST(CFormula, PowerFollowsPowAndIsNeverAnError) {
  ExpectValues({
      {T("2^0.5"), std::pow(2.0, 0.5)},
      {T("10^400"), kInf},
      {T("(-10)^401"), -kInf},
      {T("-10^400"), kInf},  // the sign belongs to 10
      {T("-(10^400)"), -kInf},
      {T("2^1024"), kInf},
      {T("10^-400"), 0},
      {T("2^-1075"), 0},
      {T("0^0"), 1},
      {T("0^-1"), kInf},
      {T("(-8)^0.5"), kNaN},
      {T("(-8)^(1/3)"), kNaN},
      {T("-((-8)^0.5)"), kNaN},
      {T("-(-(-8)^0.5)"), -std::pow(8.0, 0.5)},  // the inner sign belongs to (-8)
      {T("10^400^0"), 1},
      // Values a power made infinite or NaN flow on through + - * / without failure.
      {T("10^400*2"), kInf},
      {T("10^400+1"), kInf},
      {T("1/10^400"), 0},
      {T("(-8)^0.5+1"), kNaN},
      {T("(-8)^0.5*0"), kNaN},
      {T("10^400*10^400"), kInf},
      // Underflow of + - * / is not a failure.
      {T("10^-200*10^-200"), 0},
      {T("10^-300/10^300"), 0},
  });
}

TEST(CFormula, DivisionByZero) {
  ExpectValues({{T("0/5"), 0}, {T("1/4"), 0.25}, {T("-0/5"), -0.0}});
  ExpectMessages({
      {T("1/0"), kDivZero},
      {T("1/(2-2)"), kDivZero},
      {T("0/0"), kDivZero},
      {T("1/-0"), kDivZero},
      {T("1/0.0"), kDivZero},
      {T("1/.0"), kDivZero},
      {T("1/-."), kDivZero},
      {T("1/10^-400"), kDivZero},  // the power underflows to 0
      {T("5/(3-3)*2"), kDivZero},
      {T("10^400/0"), kDivZero},
      {T("(-8)^0.5/0"), kDivZero},
  });
}

TEST(CFormula, OverflowAndInvalidResultsAreArithmeticFailures) {
  ExpectArithmeticFailures({
      T("1") + Repeat("0", 308) + T("*10"),
      T("10^200*10^200"),
      T("10^308+10^308"),
      T("10^308*-10"),
      T("10^200/10^-200"),
      T("10^400-10^400"),
      T("0*10^400"),
      T("10^400*0"),
      T("10^400/10^400"),
      T("-(10^400)+10^400"),
      T("10^200*10^200*(a)"),  // fails before the "a" group is read
      T("1+10^200*10^200"),
      T("2*") + Repeat("2*", 2000) + T("1"),
  });
}

TEST(CFormula, EveryMessage) {
  ExpectMessages({
      {T(""), kEmpty},
      {T(" \t\r\n "), kEmpty},

      {T("()"), kEmptyGroup},
      {T("( )"), kEmptyGroup},
      {T("-()"), kEmptyGroup},
      {T("+()"), kEmptyGroup},
      {T("2^()"), kEmptyGroup},
      {T("(())"), kEmptyGroup},
      {T("1+()"), kEmptyGroup},

      {T("5+"), kUnfinished},
      {T("5-"), kUnfinished},
      {T("5*"), kUnfinished},
      {T("5/"), kUnfinished},
      {T("5^"), kUnfinished},
      {T("5*-"), kUnfinished},  // the lone sign
      {T("-"), kUnfinished},
      {T("+"), kUnfinished},
      {T("(5+)"), kUnfinished},
      {T("5*-*3"), kUnfinished},  // "*" after a sign is no error of its own; the lone "-" is

      {T("("), kNoClose},
      {T("(1+2"), kNoClose},
      {T("((1)"), kNoClose},
      {T("1+(2*(3)"), kNoClose},
      {T("5+("), kNoClose},

      {T(")"), kNoOpen},
      {T("1+2)"), kNoOpen},
      {T("(1))"), kNoOpen},
      {T(")("), kNoOpen},
      {T("(1)(2)"), kNoOpen},
      {T("(1)2"), kNoOpen},
      {T("-(1)2"), kNoOpen},
      {T("()2"), kNoOpen},
      {T("(1).5"), kNoOpen},

      {T("*5"), Bad('*')},
      {T("^2"), Bad('^')},
      {T("/2"), Bad('/')},
      {T("5+*3"), Bad('*')},
      {T("5**3"), Bad('*')},
      {T("5^/2"), Bad('/')},
      {T("*"), Bad('*')},
      {T("1.5.2"), Bad('.')},
      {T("1,5,2"), Bad(',')},
      {T("1,5.2"), Bad('.')},
      {T("1.5,2"), Bad(',')},
      {T("3---2"), Bad('-')},
      {T("--5"), Bad('-')},
      {T("+-5"), Bad('-')},
      {T("-+5"), Bad('+')},
      {T("--"), Bad('-')},
      {T("."), Bad('.')},
      {T(","), Bad(',')},
      {T("-.."), Bad('.')},
      {T("2a"), Bad('a')},
      {T("1e5"), Bad('e')},
      {T("a"), Bad('a')},
      {T("Стена_Площадь*2"), Bad(u'С')},
      {T("1+ё"), Bad(u'ё')},
      {T("2×3"), Bad(u'×')},
      {T("😀"), Bad(T("😀"))},
      {T("1+😀"), Bad(T("😀"))},
      {T("5%"), Bad('%')},
      {T("1;2"), Bad(';')},
      {T("1=2"), Bad('=')},
      {T("1\v2"), Bad('\v')},
      {T("1\u00A02"), Bad(u'\u00A0')},
      {QString(QChar(u'1')) + QChar(u'\0') + QChar(u'2'), Bad(u'\0')},

      {T("1") + Repeat("0", 309), kOverflow},
      {Repeat("7", 400), kOverflow},
      {T("-") + Repeat("7", 400), kOverflow},
      {T("1+") + Repeat("7", 400) + T(",5"), kOverflow},
      {T("18") + Repeat("0", 307), kOverflow},
  });
}

// The first error met wins: a whole level is checked before its operands, operands are read and
// folded in from left to right.
TEST(CFormula, FirstErrorWins) {
  ExpectMessages({
      {T("(1/0)+a"), Bad('a')},
      {T("1/0+(a)"), kDivZero},
      {T("(a)+1/0"), Bad('a')},
      {T("1/0*(a)"), kDivZero},
      {T("1/0^(a)"), Bad('a')},  // the division waits for the power
      {T("2^(a)*(1/0)"), Bad('a')},
      {T("1.5.2+a"), Bad('a')},
      {T("(1.5.2)+(a)"), Bad('.')},
      {T("1+2)+a"), kNoOpen},
      {T("a+1)"), Bad('a')},
      {T("(a)(2)"), Bad('a')},
      {T("(1+2a"), kNoClose},
      {T("a(1+2"), Bad('a')},
      {T("5+*("), Bad('*')},
      {T("1/0+"), kUnfinished},
      {T("1/(0)+(1+"), kNoClose},
      {T("(1+)+(2"), kNoClose},
      {T("--5+("), kNoClose},
      {T("--5+1"), Bad('-')},
      {T("10^400-10^400+a"), Bad('a')},
      {T("(a)+10^200*10^200"), Bad('a')},
      {T("2+*3+a"), Bad('*')},
      {T("*3+)"), Bad('*')},
  });
}

// A group right after a digit or a separator is refused like "12(3)": no implied product, and no
// silent value of the group alone.
TEST(CFormula, GroupRightAfterANumberIsAnError) {
  ExpectMessages({
      {T("2(3)"), Bad('(')},
      {T("12(3)"), Bad('(')},
      {T(".(3)"), Bad('(')},
      {T(",(3)"), Bad('(')},
      {T("-2(3)"), Bad('(')},
      {T("1+2(3)*4"), Bad('(')},
      {T("2()"), Bad('(')},
      {T("2(a)"), Bad('(')},
      {T("2(3"), kNoClose},  // the level check comes first
  });
  ExpectValues({{T("2*(3)"), 6}, {T("-(3)"), -3}, {T("+(3)"), 3}});
}

TEST(CFormula, EachCalculateStartsAfresh) {
  CFormula f;
  EXPECT_EQ(f.GetOutcome(), Outcome::None);
  EXPECT_EQ(f.GetResult(), 0);
  EXPECT_EQ(f.GetErrorText(), QString());

  EXPECT_TRUE(f.Calculate(T("2+3")));
  EXPECT_EQ(f.GetResult(), 5);

  EXPECT_FALSE(f.Calculate(T("1/0")));
  EXPECT_EQ(f.GetResult(), 0);
  EXPECT_EQ(f.GetErrorText(), kDivZero);

  EXPECT_FALSE(f.Calculate(T("10^200*10^200")));
  EXPECT_EQ(f.GetOutcome(), Outcome::ArithmeticFailure);
  EXPECT_EQ(f.GetErrorText(), QString());
  EXPECT_EQ(f.GetResult(), 0);

  EXPECT_FALSE(f.Calculate(T("a")));
  EXPECT_EQ(f.GetErrorText(), Bad('a'));

  EXPECT_TRUE(f.Calculate(T("7")));
  EXPECT_EQ(f.GetOutcome(), Outcome::Value);
  EXPECT_EQ(f.GetResult(), 7);
  EXPECT_EQ(f.GetErrorText(), QString());
}

// What one character c means on its own and between "1" and "2", from the rules.
struct CharMeaning {
  bool hasValue;
  double value;
  QString message;
};

CharMeaning Alone(QChar c) {
  const char16_t u = c.unicode();
  if (u == ' ' || u == '\t' || u == '\n' || u == '\r') return {false, 0, kEmpty};
  if (u >= '0' && u <= '9') return {true, double(u - '0'), {}};
  if (u == '+' || u == '-') return {false, 0, kUnfinished};
  if (u == '(') return {false, 0, kNoClose};
  if (u == ')') return {false, 0, kNoOpen};
  return {false, 0, Bad(u)};
}

CharMeaning Between(QChar c) {
  const char16_t u = c.unicode();
  switch (u) {
    case ' ': case '\t': case '\n': case '\r': return {true, 12, {}};
    case '+': return {true, 3, {}};
    case '-': return {true, -1, {}};
    case '*': return {true, 2, {}};
    case '/': return {true, 0.5, {}};
    case '^': return {true, 1, {}};
    case '.': case ',': return {true, 1.2, {}};
    case '(': return {false, 0, kNoClose};
    case ')': return {false, 0, kNoOpen};
    default:
      if (u >= '0' && u <= '9') return {true, 102.0 + 10 * (u - '0'), {}};
      return {false, 0, Bad(u)};
  }
}

void ExpectMeaning(const QString& text, const CharMeaning& m) {
  CFormula f;
  const bool ok = f.Calculate(text);
  EXPECT_EQ(ok, m.hasValue) << "U+" << std::hex << int(text.size() == 1 ? text[0].unicode() : text[1].unicode());
  if (m.hasValue) {
    EXPECT_TRUE(Same(f.GetResult(), m.value)) << f.GetResult();
  } else {
    EXPECT_EQ(f.GetErrorText(), m.message);
  }
}

TEST(CFormula, EveryByteValueAloneAndInsideAText) {
  for (int b = 0; b < 256; ++b) {
    const char byte = char(b);
    // The byte as Latin-1 and as the Windows-1251 character a scheme file would hold.
    for (const QChar c : {QChar(char16_t(b)), cp1251::Decode(QByteArrayView(&byte, 1)).at(0)}) {
      ExpectMeaning(QString(c), Alone(c));
      ExpectMeaning(QStringLiteral("1") + c + QStringLiteral("2"), Between(c));
    }
  }
}

TEST(CFormula, HundredThousandCharacterTexts) {
  ExpectValues({
      {Repeat("1+", 49999) + T("1"), 50000},
      {Repeat("0", 99999) + T("1"), 1},
      {T("1.") + Repeat("0", 99998), 1},
      {T("-") + Repeat("0", 99998) + T("5"), -5},
      {T("0.") + Repeat("0", 99997) + T("1"), 0},
      {Repeat("(1)+", 24999) + T("1"), 25000},
      {Repeat("2*", 1023) + T("1/") + Repeat("2/", 1022) + T("2") + Repeat("+0", 47950), 1},
      {Repeat(" ", 50000) + T("4") + Repeat("\t", 49999), 4},
  });
  ExpectMessages({
      {Repeat("1", 100000), kOverflow},
      {Repeat("1 ", 50000), kOverflow},
      {Repeat(" ", 100000), kEmpty},
      {Repeat("1+", 49999) + T("a"), Bad('a')},
      {Repeat("1+", 50000), kUnfinished},
      {Repeat("1/", 49999) + T("0"), kDivZero},
  });
  ExpectArithmeticFailures({Repeat("2*", 49999) + T("2")});
}

TEST(CFormula, NestingDepthIsBounded) {
  const int max = CFormula::kMaxNesting;
  ExpectValues({
      {Repeat("(", max) + T("1") + Repeat(")", max), 1},
      {Repeat("-(", max) + T("1") + Repeat(")", max), max % 2 ? -1.0 : 1.0},
      {Repeat("(1+", max) + T("1") + Repeat(")", max), max + 1.0},
  });
  ExpectMessages({
      {Repeat("(", max + 1) + T("1") + Repeat(")", max + 1), kTooDeep},
      {Repeat("(", 10000) + T("1") + Repeat(")", 10000), kTooDeep},
      {Repeat("-(", 10000) + T("1") + Repeat(")", 10000), kTooDeep},
      {Repeat("(1+", 10000) + T("1") + Repeat(")", 10000), kTooDeep},
      {Repeat("(", 50000) + Repeat(")", 50000), kTooDeep},
      {Repeat("(", max) + Repeat(")", max), kEmptyGroup},
      // Errors found before the evaluation goes that deep still win.
      {Repeat("(", 10000) + T("1") + Repeat(")", 10000) + T("+a"), Bad('a')},
      {Repeat("(", 10000) + T("1") + Repeat(")", 9999), kNoClose},
      {Repeat("(", 10000) + T("1") + Repeat(")", 10001), kNoOpen},
      {T("1/0+") + Repeat("(", 10000) + T("1") + Repeat(")", 10000), kDivZero},
  });
}

// Random texts, held to the word-for-word reading of the rules: same outcome, same message, the
// same value bit for bit, in each of the three readings.
void ExpectSameAsLiteral(const QString& text) {
  const literal::Result expected = literal::Calculate(text);
  for (const Reading& r : kReadings) {
    const std::string where = text.toStdString() + " (" + r.name + ")";
    CFormula f;
    const bool ok = r.calculate(f, text);
    switch (expected.kind) {
      case literal::Result::Value:
        ASSERT_TRUE(ok) << where << " -> " << f.GetErrorText().toStdString();
        ASSERT_TRUE(Same(f.GetResult(), expected.value))
            << where << ": " << f.GetResult() << " vs " << expected.value;
        break;
      case literal::Result::SyntaxError:
        ASSERT_FALSE(ok) << where;
        ASSERT_EQ(f.GetOutcome(), Outcome::SyntaxError) << where;
        ASSERT_EQ(f.GetErrorText(), expected.message) << where;
        break;
      case literal::Result::ArithmeticFailure:
        ASSERT_FALSE(ok) << where;
        ASSERT_EQ(f.GetOutcome(), Outcome::ArithmeticFailure) << where;
        break;
    }
  }
}

TEST(CFormula, AgreesWithTheLiteralRulesOnRandomCharacterSoup) {
  const QString alphabet = T("0123456789012345678901234567890..,,++--**//^^(((()))) \tаЖ");
  std::mt19937 rng(20240601);
  for (int n = 0; n < 100000; ++n) {
    QString text;
    const int len = int(rng() % 16);
    for (int i = 0; i < len; ++i) text += alphabet[int(rng() % alphabet.size())];
    ExpectSameAsLiteral(text);
    if (HasFatalFailure()) return;
  }
}

// Well-formed expressions with numbers of every shape, then mutated by a character or two.
class ExpressionMaker {
 public:
  explicit ExpressionMaker(std::uint32_t seed) : rng_(seed) {}

  QString Number() {
    QString n;
    const int shape = Pick(10);
    if (shape == 0) return T("10^") + QString::number(Pick(700) - 350);  // infinities, zeros
    if (shape == 1) n += Repeat("0", Pick(4));
    const int digits = shape == 2 ? 15 + Pick(330) : 1 + Pick(shape < 6 ? 4 : 22);
    const int point = Pick(digits + 3) - 1;  // -1: no separator
    for (int i = 0; i < digits; ++i) {
      if (i == point) n += Pick(2) ? u'.' : u',';
      n += QChar(u'0' + Pick(10));
    }
    if (point == digits) n += u'.';
    return n;
  }

  QString Expression(int depth) {
    QString e = Operand(depth);
    const int ops = Pick(4);
    for (int i = 0; i < ops; ++i) {
      e += QChar(u"+-*/^"[Pick(5)]);
      e += Operand(depth);
    }
    return e;
  }

  QString Operand(int depth) {
    QString sign = Pick(5) == 0 ? QString(QChar(Pick(2) ? u'-' : u'+')) : QString();
    if (depth < 4 && Pick(4) == 0) return sign + u'(' + Expression(depth + 1) + u')';
    return sign + Number();
  }

  QString Mutate(QString t) {
    const QString pieces = T("0123456789.,+-*/^()  a");
    const int edits = Pick(3);
    for (int k = 0; k < edits && !t.isEmpty(); ++k) {
      const int at = Pick(int(t.size()));
      switch (Pick(3)) {
        case 0: t.remove(at, 1); break;
        case 1: t.insert(at, pieces[Pick(int(pieces.size()))]); break;
        default: t[at] = pieces[Pick(int(pieces.size()))]; break;
      }
    }
    return t;
  }

  int Pick(int n) { return int(rng_() % std::uint32_t(n)); }

 private:
  std::mt19937 rng_;
};

TEST(CFormula, AgreesWithTheLiteralRulesOnRandomExpressions) {
  ExpressionMaker maker(77);
  for (int n = 0; n < 30000; ++n) {
    const QString e = maker.Expression(0);
    ExpectSameAsLiteral(e);
    ExpectSameAsLiteral(maker.Mutate(e));
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace korvan
