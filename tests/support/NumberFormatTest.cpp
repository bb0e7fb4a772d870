#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"

#include "support/CStr.h"
#include "support/ZMath.h"
#include "support/ZString.h"

namespace korvan {
namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(FormatNumber, ShowsNumbersTheOneWay) {
  struct Case {
    double x;
    const char* text;
  };
  const Case cases[] = {
      {0.0, ""},
      {-0.0, ""},
      {3.0, "3.0"},
      {2.5, "2.5"},
      {-2.5, "-2.5"},
      {12.05, "12.05"},
      {1.0 / 3.0, "0.3333333333"},
      {-1.0 / 3.0, "-0.3333333333"},
      {2.0 / 3.0, "0.6666666667"},
      {1e-11, "0.0"},  // below the tenth decimal: the first decimal stays
      {123456789012.3456, "123456789012.346"},    // 12 integer digits, 3 decimals
      {99999.999999999999, "100000.0"},
      {1e14, "100000000000000."},                  // 15 digits, no room for decimals: trailing point
      {1e15, "1000000000000000."},
      {999999999999999.0, "999999999999999."},
      {-1e15, "-1000000000000000."},
      {1234.5678, "1234.5678"},
  };
  for (const Case& c : cases) EXPECT_EQ(ZString::FormatNumber(c.x), S(c.text)) << c.x;
}

TEST(FormatNumber, NonFiniteValuesDoNotCrash) {
  EXPECT_FALSE(ZString::FormatNumber(std::numeric_limits<double>::infinity()).isEmpty());
  EXPECT_FALSE(ZString::FormatNumber(std::nan("")).isEmpty());
  EXPECT_EQ(ZString::FormatNumber(1e300).size(), 302);  // 301 digits and the point
}

TEST(CStrFromNumber, LimitsDecimalsToFifteenSignificantDigits) {
  struct Case {
    double x;
    unsigned maxDecimals;
    const char* text;
  };
  const Case cases[] = {
      {2.5, 10, "2.5000000000"},
      {3.7, 0, "4."},
      {7.0, 2, "7.00"},
      {0.125, 20, "0.12500000000000"},  // capped at 14 decimals
      {-123.0, 1, "-123.0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::string(CStr::FromNumber(c.x, c.maxDecimals)), std::string(c.text)) << c.x;
}

TEST(StripTrailingZeros, KeepsTheFirstDecimal) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"2.5000000000", "2.5"}, {"3.0000000000", "3.0"}, {"12.05", "12.05"}, {"100", "100"},
      {"100.", "100."},        {"0.0", "0.0"},          {"", ""},           {"1.2.00", "1.2."},
  };
  for (const Case& c : cases) EXPECT_EQ(ZString::StripTrailingZeros(S(c.in)), S(c.out)) << c.in;
}

TEST(ParseNumber, ReadsTheLongestLeadingDecimalNumber) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {" 2,5 ", 2.5},     {"2.5", 2.5},       {"-3", -3.0},       {"+4.25", 4.25},   {".5", 0.5},
      {"5.", 5.0},        {"1e3", 1000.0},    {"1E-2", 0.01},     {"1e", 1.0},        {"1e+", 1.0},
      {"12abc", 12.0},    {"abc", 0.0},       {"", 0.0},          {"-", 0.0},         {".", 0.0},
      {"1,2,3", 1.2},     {"inf", 0.0},       {"nan", 0.0},       {"0x1A", 0.0},      {"1e999", 0.0},
      {"-1e999", 0.0},    {"\t7\t", 7.0},     {"Длина 5", 0.0},   {"3 4", 3.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ZString::ParseNumber(S(c.text)), c.value) << c.text;
}

TEST(ParseNumber, ReadsBackWhatFormatNumberWrites) {
  for (double x : {0.1, 1.0 / 3.0, 123.456, -98765.4321, 1e-7, 123456789012.345}) {
    const double back = ZString::ParseNumber(ZString::FormatNumber(x));
    EXPECT_NEAR(back, x, std::fabs(x) * 1e-9) << x;
  }
}

TEST(ReplaceChar, DeletesOrReplacesEveryOccurrence) {
  EXPECT_EQ(ZString::ReplaceChar(S("1,5,7"), S(","), S(".")), S("1.5.7"));
  EXPECT_EQ(ZString::ReplaceChar(S("a b c"), S(" "), QString()), S("abc"));
  EXPECT_EQ(ZString::ReplaceChar(S("abc"), S("x"), S("y")), S("abc"));
  EXPECT_EQ(ZString::ReplaceChar(S("ёлка"), S("ё"), S("е")), S("елка"));
}

TEST(IncludeTrailingBackslash, AppendsTheSeparatorOnce) {
  EXPECT_EQ(ZString::IncludeTrailingBackslash(QString()), QString());
  EXPECT_EQ(ZString::IncludeTrailingBackslash(S("/tmp/schemes")), S("/tmp/schemes/"));
  EXPECT_EQ(ZString::IncludeTrailingBackslash(S("/tmp/schemes/")), S("/tmp/schemes/"));
}

TEST(ZMathRound, RoundsHalfAwayFromZero) {
  struct Case {
    double x;
    int n;
    double expected;
  };
  const Case cases[] = {
      {2.675, 2, 2.68},     {-1.25, 1, -1.3},     {1.25, 1, 1.3},      {1.24, 1, 1.2},
      {-1.24, 1, -1.2},     {0.5, 1, 0.5},        {1234.5678, 2, 1234.57}, {1.005, 2, 1.01},
      {0.0, 5, 0.0},        {1e300, 2, 1e300},    {-0.05, 1, -0.1},    {9.99999, 3, 10.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ZMath::Round(c.x, c.n), c.expected) << c.x << " @" << c.n;
}

TEST(ZMathRound, LeavesWholeProductsUnchanged) {
  // x * 10^n already whole: x itself comes back, not t / m.
  const double x = 0.1 + 0.2;  // 0.30000000000000004, times 10 is 3.0000000000000004 - not whole
  EXPECT_DOUBLE_EQ(ZMath::Round(x, 1), 0.3);
  EXPECT_EQ(ZMath::Round(2.5, 1), 2.5);
  EXPECT_TRUE(std::isnan(ZMath::Round(std::nan(""), 2)));
}

TEST(FormatRounded, UsesMoreDigitsRatherThanShowingZero) {
  struct Case {
    double x;
    int n;
    const char* text;
  };
  const Case cases[] = {
      {0.004, 2, "0.004"},   {1e-9, 2, "0.000000001"}, {1234.5678, 2, "1234.57"}, {2.0, 2, "2.0"},
      {0.0, 2, ""},          {-0.004, 2, "-0.004"},    {0.01, 2, "0.01"},        {0.005, 2, "0.005"},
      {0.00004, 3, "0.00004"}, {2.675, 2, "2.68"},    {1e-9, 7, "0.000000001"},
  };
  for (const Case& c : cases) EXPECT_EQ(ZMath::FormatRounded(c.x, c.n), S(c.text)) << c.x << " @" << c.n;
}

TEST(Titles, AreTheClassesOwn) {
  EXPECT_EQ(ZString().Title(), S("Класс ZString"));
  EXPECT_EQ(ZMath().Title(), S("Математический класс"));
}

}  // namespace
}  // namespace korvan
