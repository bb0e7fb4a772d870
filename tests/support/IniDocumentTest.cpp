#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <random>

#include "support/Cp1251.h"
#include "support/IniDocument.h"

namespace korvan {
namespace {

IniDocument Parsed(QByteArrayView bytes) {
  IniDocument doc;
  doc.Parse(bytes);
  return doc;
}

QByteArray Cp(const QString& text) {
  QByteArray out;
  EXPECT_TRUE(cp1251::Encode(text, out)) << text.toStdString();
  return out;
}

std::string Show(const std::optional<QString>& v) {
  if (!v) return "(missing)";
  std::string shown(1, '"');
  shown += v->toStdString();
  shown += '"';
  return shown;
}

// Parsing and lookup: one row per input shape, with the value a lookup must give.
TEST(IniDocument, ReadsValuesAsTheProfileFunctionsDo) {
  struct Case {
    const char* what;
    QByteArray file;
    QString section;
    QString key;
    std::optional<QString> expected;
  };
  const QByteArray lf("[A]\nx=1\ny=2\n[B]\nx=3\n");
  const Case cases[] = {
      {"plain CRLF", "[Grid]\r\nStep=10\r\n\r\n", "Grid", "Step", "10"},
      {"section and key ignore case", "[Grid]\r\nStep=10\r\n", "gRID", "sTEP", "10"},
      {"missing key", "[Grid]\r\nStep=10\r\n", "Grid", "Color", std::nullopt},
      {"missing section", "[Grid]\r\nStep=10\r\n", "Lupa", "Step", std::nullopt},
      {"value trimmed of blanks and tabs", "[S]\r\nk = \t 12 \t \r\n", "S", "k", "12"},
      {"key trimmed", "[S]\r\n \t k \t=v\r\n", "S", "k", "v"},
      {"lookup names trimmed", "[S]\r\nk=v\r\n", " S\t", "\tk ", "v"},
      {"key with inner blank", "[S]\r\nmy key=v\r\n", "S", "my key", "v"},
      {"inner blanks of value kept", "[S]\r\nk=a  b\r\n", "S", "k", "a  b"},
      {"double quotes removed", "[S]\r\nk=\"a b\"\r\n", "S", "k", "a b"},
      {"single quotes removed", "[S]\r\nk='a b'\r\n", "S", "k", "a b"},
      {"quotes inside blanks removed", "[S]\r\nk=  \" a \"  \r\n", "S", "k", " a "},
      {"only one pair removed", "[S]\r\nk=\"\"a\"\"\r\n", "S", "k", "\"a\""},
      {"empty quotes give empty", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
      {"mismatched quotes kept", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
      {"lone quote kept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
      {"quote on one side kept", "[S]\r\nk=\"abc\r\n", "S", "k", "\"abc"},
      {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
      {"value holds more '='", "[S]\r\nk=a=b=c\r\n", "S", "k", "a=b=c"},
      {"LF-only line ends", lf, "B", "x", "3"},
      {"LF-only first section", lf, "A", "y", "2"},
      {"missing final newline", "[S]\r\nk=last", "S", "k", "last"},
      {"bare CR at line end dropped once", "[S]\r\nk=v\r", "S", "k", "v"},
      {"line without '=' is no key", "[S]\r\nnokey\r\nk=v\r\n", "S", "nokey", std::nullopt},
      {"line without '=' keeps neighbours", "[S]\r\nnokey\r\nk=v\r\n", "S", "k", "v"},
      {"comment is no key", "[S]\r\n;k=1\r\nk=2\r\n", "S", ";k", std::nullopt},
      {"comment does not hide the real key", "[S]\r\n;k=1\r\nk=2\r\n", "S", "k", "2"},
      {"keys before any section are no keys", "k=1\r\n[S]\r\nj=2\r\n", "", "k", std::nullopt},
      {"first duplicate section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
      {"key only in later duplicate section unseen", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b",
       std::nullopt},
      {"first duplicate key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
      {"section name trimmed", "[  Grid \t]\r\nk=v\r\n", "Grid", "k", "v"},
      {"section line indented", "  [Grid]  \r\nk=v\r\n", "Grid", "k", "v"},
      {"name ends at the last bracket", "[a]b]junk\r\nk=v\r\n", "a]b", "k", "v"},
      {"section without closing bracket", "[Grid\r\nk=v\r\n", "Grid", "k", "v"},
      {"empty section name", "[]\r\nk=v\r\n", "", "k", "v"},
      {"NUL bytes inside a value", QByteArray("[S]\r\nk=a\0b\r\n", 12), "S", "k",
       QString::fromUtf16(u"a\u0000b", 3)},
      {"Cyrillic names fold case", Cp(u"[Фигура_1]\r\nДлина=5\r\n"_qs), u"фИГУРА_1"_qs,
       u"дЛИНА"_qs, "5"},
      {"Cyrillic value decoded", Cp(u"[S]\r\nk=Комната №1\r\n"_qs), "S", "k", u"Комната №1"_qs},
      {"Ё and ё are one letter", Cp(u"[Ёж]\r\nk=v\r\n"_qs), u"ёЖ"_qs, "k", "v"},
  };
  for (const Case& c : cases) {
    const IniDocument doc = Parsed(c.file);
    EXPECT_EQ(Show(doc.Value(c.section, c.key)), Show(c.expected)) << c.what;
    EXPECT_EQ(doc.HasKey(c.section, c.key), c.expected.has_value()) << c.what;
  }
}

TEST(IniDocument, LetterCaseFoldsAsTheCodePageLowerCase) {
  // Every letter the code page holds must find its section through its lower-case form.
  for (int b = 0x41; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    const QString ch = cp1251::Decode(QByteArrayView(&byte, 1));
    if (ch == u"]" || ch == u"[" || ch == u";" || ch == u"=") continue;
    const QString name = u"S"_qs + ch;
    IniDocument doc;
    ASSERT_TRUE(doc.SetValue(name, u"k", u"v")) << b;
    EXPECT_TRUE(doc.HasSection(cp1251::ToLower(name))) << "byte 0x" << std::hex << b;
    const QString upper = name.toUpper();
    if (cp1251::CanEncode(upper)) {
      EXPECT_TRUE(doc.HasSection(upper)) << "byte 0x" << std::hex << b;
    }
  }
  // Distinct letters stay distinct.
  IniDocument doc;
  ASSERT_TRUE(doc.SetValue(u"е", u"k", u"v"));
  EXPECT_FALSE(doc.HasSection(u"ё"));
  EXPECT_FALSE(doc.HasSection(u"Ё"));
  EXPECT_TRUE(doc.HasSection(u"Е"));
}

// Serialisation: CR LF everywhere, blank lines dropped, exactly one empty line after each section,
// lines before the first section and lines that are not keys written back as they were.
TEST(IniDocument, SerializesInTheProfileLayout) {
  struct Case {
    const char* what;
    QByteArray file;
    QByteArray expected;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"only blank lines", "\r\n \t\r\n\n", ""},
      {"already in layout", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n"},
      {"LF-only", "[A]\nx=1\n[B]\ny=2\n", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n"},
      {"no final newline", "[A]\r\nx=1", "[A]\r\nx=1\r\n\r\n"},
      {"blank lines dropped", "\r\n[A]\r\n\r\n\r\nx=1\r\n  \r\ny=2\r\n\r\n\r\n",
       "[A]\r\nx=1\r\ny=2\r\n\r\n"},
      {"empty section keeps its empty line", "[A]\r\n[B]\r\nx=1\r\n",
       "[A]\r\n\r\n[B]\r\nx=1\r\n\r\n"},
      {"preamble kept on top", "top line\r\nk=1\r\n\r\n[A]\r\nx=1\r\n",
       "top line\r\nk=1\r\n[A]\r\nx=1\r\n\r\n"},
      {"lines kept as written", "  [A] trailing\r\n  x = 1 \r\n;note\r\nnoequals\r\n",
       "  [A] trailing\r\n  x = 1 \r\n;note\r\nnoequals\r\n\r\n"},
      {"duplicates kept", "[A]\r\nx=1\r\nx=2\r\n[a]\r\nx=3\r\n",
       "[A]\r\nx=1\r\nx=2\r\n\r\n[a]\r\nx=3\r\n\r\n"},
      {"extra CR kept inside the line", "[A]\r\nx=1\r\r\n", "[A]\r\nx=1\r\r\n\r\n"},
  };
  for (const Case& c : cases) {
    const QByteArray once = Parsed(c.file).Serialize();
    EXPECT_EQ(once, c.expected) << c.what;
    EXPECT_EQ(Parsed(once).Serialize(), once) << c.what << ": layout is not a fixed point";
  }
}

// Writing: replace in place, append to the end of the section, or append the section at the end.
TEST(IniDocument, SetValuePlacesKeysAsTheProfileFunctionsDo) {
  struct Case {
    const char* what;
    QByteArray file;
    QString section, key, value;
    QByteArray expected;
  };
  const Case cases[] = {
      {"new file", "", "Grid", "Step", "10", "[Grid]\r\nStep=10\r\n\r\n"},
      {"replace in place keeps neighbours and file spelling",
       "[Grid]\r\na=1\r\nSTEP = 5\r\nb=2\r\n\r\n[Lupa]\r\nOn=1\r\n", "grid", "step", "10",
       "[Grid]\r\na=1\r\nSTEP=10\r\nb=2\r\n\r\n[Lupa]\r\nOn=1\r\n\r\n"},
      {"append to the end of its section", "[Grid]\r\na=1\r\n\r\n[Lupa]\r\nOn=1\r\n\r\n", "Grid",
       "b", "2", "[Grid]\r\na=1\r\nb=2\r\n\r\n[Lupa]\r\nOn=1\r\n\r\n"},
      {"append section at the end", "[Grid]\r\na=1\r\n\r\n", "Lupa", "On", "1",
       "[Grid]\r\na=1\r\n\r\n[Lupa]\r\nOn=1\r\n\r\n"},
      {"append after preamble", "orphan\r\n", "S", "k", "v", "orphan\r\n[S]\r\nk=v\r\n\r\n"},
      {"first duplicate key replaced", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "3",
       "[S]\r\nk=3\r\nk=2\r\n\r\n"},
      {"first duplicate section gets the new key", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "c", "3",
       "[S]\r\na=1\r\nc=3\r\n\r\n[S]\r\nb=2\r\n\r\n"},
      {"names trimmed", "", " Grid ", "\tStep ", "10", "[Grid]\r\nStep=10\r\n\r\n"},
      {"value written as given", "", "S", "k", " a\t", "[S]\r\nk= a\t\r\n\r\n"},
      {"empty value", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n\r\n"},
      {"key line replaced after LF-only file", "[S]\nk=1\nj=2", "S", "k", "9",
       "[S]\r\nk=9\r\nj=2\r\n\r\n"},
      {"Cyrillic in windows-1251", "", u"Фигура_1"_qs, u"Имя"_qs, u"Стена №2"_qs,
       Cp(u"[Фигура_1]\r\nИмя=Стена №2\r\n\r\n"_qs)},
  };
  for (const Case& c : cases) {
    IniDocument doc = Parsed(c.file);
    ASSERT_TRUE(doc.SetValue(c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(doc.Serialize(), c.expected) << c.what;
    const std::optional<QString> back = doc.Value(c.section, c.key);
    ASSERT_TRUE(back) << c.what;
    EXPECT_EQ(*back, c.value.trimmed()) << c.what;
  }
}

TEST(IniDocument, SetValueRefusesWhatTheLayoutCannotHold) {
  struct Case {
    const char* what;
    QString section, key, value;
  };
  const Case cases[] = {
      {"value outside the code page", "S", "k", u"日本"_qs},
      {"key outside the code page", "S", u"Ω"_qs, "v"},
      {"section outside the code page", u"a😀"_qs, "k", "v"},
      {"value with LF", "S", "k", "a\nb"},
      {"value with CR", "S", "k", "a\rb"},
      {"key with LF", "S", "a\nb", "v"},
      {"section with CR", "a\rb", "k", "v"},
      {"key with '='", "S", "a=b", "v"},
      {"empty key", "S", "", "v"},
      {"blank key", "S", " \t ", "v"},
      {"key starting with '['", "S", "[k", "v"},
      {"key starting with ';'", "S", " ;k", "v"},
      {"section with ']'", "a]b", "k", "v"},
      {"empty section", "", "k", "v"},
      {"blank section", "  ", "k", "v"},
  };
  const QByteArray original("[S]\r\nk=old\r\n\r\n");
  for (const Case& c : cases) {
    IniDocument doc = Parsed(original);
    EXPECT_FALSE(doc.SetValue(c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(doc.Serialize(), original) << c.what;
    EXPECT_EQ(doc.Value(u"S", u"k"), u"old"_qs) << c.what;
  }
}

TEST(IniDocument, SaveLoadSaveGivesTheSameBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString first = dir.filePath("first.kvn");
  const QString second = dir.filePath("second.kvn");

  IniDocument doc;
  doc.Parse("; made by hand\n[COMMON]\nFormatFile=KVN 1.0\n\n\n[FIG_1]\nName=\"a\"\nX0 = 5\n");
  ASSERT_TRUE(doc.SetValue(u"FIG_1", u"Text", u"Комната «№1»"));
  ASSERT_TRUE(doc.SetValue(u"FIG_2", u"Name", u"b"));
  ASSERT_TRUE(doc.SetValue(u"common", u"FigCount", u"2"));
  ASSERT_TRUE(doc.SaveFile(first));

  IniDocument loaded;
  ASSERT_TRUE(loaded.LoadFile(first));
  ASSERT_TRUE(loaded.SaveFile(second));
  QFile a(first), b(second);
  ASSERT_TRUE(a.open(QIODevice::ReadOnly));
  ASSERT_TRUE(b.open(QIODevice::ReadOnly));
  const QByteArray bytes = a.readAll();
  EXPECT_EQ(bytes, b.readAll());
  EXPECT_EQ(bytes, Cp(u"; made by hand\r\n[COMMON]\r\nFormatFile=KVN 1.0\r\nFigCount=2\r\n\r\n"
                     u"[FIG_1]\r\nName=\"a\"\r\nX0 = 5\r\nText=Комната «№1»\r\n\r\n"
                     u"[FIG_2]\r\nName=b\r\n\r\n"_qs));
  EXPECT_EQ(loaded.Value(u"fig_1", u"text"), u"Комната «№1»"_qs);
  EXPECT_EQ(loaded.Value(u"fig_1", u"name"), u"a"_qs);
}

TEST(IniDocument, ArbitraryBytesParseToAFixedPointLayout) {
  // Binary garbage, truncated files, NULs, stray brackets, CRs and '=' signs: every input gives a
  // document whose layout survives another parse unchanged.
  std::mt19937 random(20260101);
  const char alphabet[] = "[]=;\r\n \t\"'ab\0\xC0\xFF\x98";
  for (int round = 0; round < 400; ++round) {
    QByteArray bytes;
    const int size = int(random() % 200);
    for (int i = 0; i < size; ++i)
      bytes.append(round % 2 ? static_cast<char>(random() & 0xFF)
                             : alphabet[random() % (sizeof(alphabet) - 1)]);
    const QByteArray once = Parsed(bytes).Serialize();
    ASSERT_EQ(Parsed(once).Serialize(), once) << "round " << round;
  }
  // A truncated real file keeps whatever was complete.
  const QByteArray full("[A]\r\nx=1\r\ny=22\r\n");
  const IniDocument cut = Parsed(full.first(full.size() - 3));
  EXPECT_EQ(cut.Value(u"A", u"x"), u"1"_qs);
  EXPECT_EQ(cut.Value(u"A", u"y"), u"2"_qs);
}

TEST(IniDocument, EveryByteSurvivesLoadAndSave) {
  QByteArray value;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') value.append(static_cast<char>(b));
  const QByteArray file = "[S]\r\nk=" + value + "\r\n\r\n";
  EXPECT_EQ(Parsed(file).Serialize(), file);
}

TEST(IniDocument, NamesListsAndRemoval) {
  IniDocument doc = Parsed("x=0\r\n[A]\r\nk1=1\r\n;c\r\nk2=2\r\nk1=3\r\n[B]\r\n[a]\r\nz=9\r\n");
  EXPECT_EQ(doc.SectionNames(), QStringList({"A", "B", "a"}));
  EXPECT_EQ(doc.KeyNames(u"a"), QStringList({"k1", "k2", "k1"}));
  EXPECT_TRUE(doc.KeyNames(u"B").isEmpty());
  EXPECT_TRUE(doc.KeyNames(u"none").isEmpty());
  ASSERT_TRUE(doc.SetValue(u"A", u"k3", u"4"));
  EXPECT_EQ(doc.KeyNames(u"A"), QStringList({"k1", "k2", "k1", "k3"}));

  EXPECT_TRUE(doc.RemoveSection(u"a"));  // the first one
  EXPECT_EQ(doc.SectionNames(), QStringList({"B", "a"}));
  EXPECT_EQ(doc.Value(u"A", u"z"), u"9"_qs);  // the duplicate is now the first
  EXPECT_FALSE(doc.HasKey(u"A", u"k1"));
  EXPECT_EQ(doc.Serialize(), QByteArray("x=0\r\n[B]\r\n\r\n[a]\r\nz=9\r\n\r\n"));
  EXPECT_FALSE(doc.RemoveSection(u"none"));
  ASSERT_TRUE(doc.SetValue(u"A", u"k", u"v"));  // goes to the remaining "a"
  EXPECT_EQ(doc.Serialize(), QByteArray("x=0\r\n[B]\r\n\r\n[a]\r\nz=9\r\nk=v\r\n\r\n"));

  doc.Clear();
  EXPECT_EQ(doc.Serialize(), QByteArray());
  EXPECT_TRUE(doc.SectionNames().isEmpty());
  EXPECT_FALSE(doc.HasSection(u"a"));
}

TEST(IniDocument, CopiesAreIndependentAndMovedFromStaysUsable) {
  IniDocument a = Parsed("[S]\r\nk=1\r\n");
  IniDocument b = a;
  ASSERT_TRUE(b.SetValue(u"S", u"k", u"2"));
  EXPECT_EQ(a.Value(u"S", u"k"), u"1"_qs);
  EXPECT_EQ(b.Value(u"S", u"k"), u"2"_qs);
  a = b;
  EXPECT_EQ(a.Value(u"S", u"k"), u"2"_qs);

  IniDocument c = std::move(b);
  EXPECT_EQ(c.Value(u"S", u"k"), u"2"_qs);
  EXPECT_TRUE(b.SetValue(u"T", u"k", u"3"));  // NOLINT(bugprone-use-after-move): must stay usable
  EXPECT_EQ(b.Serialize(), QByteArray("[T]\r\nk=3\r\n\r\n"));
}

TEST(IniDocument, ManyRewritesOfOneKeyKeepTheDocumentRight) {
  // Enough replaced text to make the document reclaim its garbage more than once.
  IniDocument doc = Parsed("top\r\n[A]\r\nfirst=1\r\nk=0\r\nlast=2\r\n\r\n[B]\r\nb=3\r\n");
  ASSERT_TRUE(doc.SetValue(u"A", u"added", u"x"));
  const QString filler(500, u'Ж');
  for (int i = 1; i <= 10000; ++i)
    ASSERT_TRUE(doc.SetValue(u"A", u"k", filler + QString::number(i)));
  EXPECT_EQ(doc.Value(u"A", u"k"), filler + u"10000"_qs);
  EXPECT_EQ(doc.Serialize(), "top\r\n[A]\r\nfirst=1\r\nk=" + Cp(filler) +
                                 "10000\r\nlast=2\r\nadded=x\r\n\r\n[B]\r\nb=3\r\n\r\n");
  ASSERT_TRUE(doc.SetValue(u"B", u"c", u"4"));
  EXPECT_EQ(doc.KeyNames(u"B"), QStringList({"b", "c"}));
}

TEST(IniDocument, ManySectionsStayFindable) {
  IniDocument doc;
  for (int i = 1; i <= 3000; ++i)
    ASSERT_TRUE(doc.SetValue(u"FIG_"_qs + QString::number(i), u"X0", QString::number(i)));
  for (int i = 1; i <= 3000; i += 7)
    EXPECT_EQ(doc.Value(u"fig_"_qs + QString::number(i), u"x0"), QString::number(i)) << i;
  EXPECT_FALSE(doc.HasSection(u"FIG_3001"));
  const IniDocument again = Parsed(doc.Serialize());
  EXPECT_EQ(again.SectionNames().size(), 3000);
  EXPECT_EQ(again.Value(u"FIG_2999", u"X0"), u"2999"_qs);
}

TEST(IniDocument, BinaryValues) {
  IniDocument doc;
  const QByteArray bytes("\x00\x01\x7F\x80\xAB\xFF", 6);
  ASSERT_TRUE(doc.SetBinaryValue(u"FIG_1", u"Bitmap", bytes));
  EXPECT_EQ(doc.Serialize(), QByteArray("[FIG_1]\r\nBitmap=00017F80ABFF\r\n\r\n"));
  QByteArray out = "junk";
  EXPECT_TRUE(doc.BinaryValue(u"fig_1", u"bitmap", out));
  EXPECT_EQ(out, bytes);

  out = "junk";
  EXPECT_FALSE(doc.BinaryValue(u"FIG_1", u"Point", out));
  EXPECT_TRUE(out.isEmpty());

  // A long value is not cut.
  const QByteArray big(5000, '\x5A');
  ASSERT_TRUE(doc.SetBinaryValue(u"FIG_1", u"Big", big));
  EXPECT_TRUE(doc.BinaryValue(u"FIG_1", u"Big", out));
  EXPECT_EQ(out, big);

  const IniDocument bad = Parsed("[S]\r\nodd=ABC\r\nwrong=AB0G12\r\nlow=abcd\r\n");
  EXPECT_FALSE(bad.BinaryValue(u"S", u"odd", out));
  EXPECT_EQ(out, QByteArray("\xAB"));
  EXPECT_FALSE(bad.BinaryValue(u"S", u"wrong", out));
  EXPECT_EQ(out, QByteArray("\xAB"));
  EXPECT_TRUE(bad.BinaryValue(u"S", u"low", out));
  EXPECT_EQ(out, QByteArray("\xAB\xCD"));
}

TEST(Hex, EncodeIsUpperCasePairs) {
  struct Case {
    QByteArray bytes;
    QString text;
  };
  const Case cases[] = {
      {QByteArray(), ""},
      {QByteArray("\x00", 1), "00"},
      {QByteArray("\x0F\xF0", 2), "0FF0"},
      {QByteArray("\xDE\xAD\xBE\xEF", 4), "DEADBEEF"},
      {QByteArray("Az"), "417A"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeHex(c.bytes), c.text) << c.text.toStdString();
}

TEST(Hex, DecodeStopsAtTheFirstMalformedPair) {
  struct Case {
    QString text;
    bool ok;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"", true, QByteArray()},
      {"00FF", true, QByteArray("\x00\xFF", 2)},
      {"deadBEEF", true, QByteArray("\xDE\xAD\xBE\xEF")},
      {"A", false, QByteArray()},
      {"ABC", false, QByteArray("\xAB")},
      {"AB G0", false, QByteArray("\xAB")},
      {"ABG0CD", false, QByteArray("\xAB")},
      {"0G", false, QByteArray()},
      {"G0", false, QByteArray()},
      {" AB", false, QByteArray()},
      {"AB ", false, QByteArray("\xAB")},
      {"12-3", false, QByteArray("\x12")},
      {u"12Ж3"_qs, false, QByteArray("\x12")},
      {u"１２"_qs, false, QByteArray()},  // full-width digits are not hexadecimal
  };
  for (const Case& c : cases) {
    QByteArray out = "previous";
    EXPECT_EQ(DecodeHex(c.text, out), c.ok) << c.text.toStdString();
    EXPECT_EQ(out, c.bytes) << c.text.toStdString();
  }
}

TEST(IniDocumentFiles, LoadAndSave) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString missing = dir.filePath("missing.ini");

  IniDocument doc = Parsed("[Keep]\r\nk=1\r\n");
  EXPECT_TRUE(doc.LoadFile(missing));
  EXPECT_EQ(doc.Serialize(), QByteArray());
  EXPECT_FALSE(QFile::exists(missing));

  // A folder exists but is no file: the document stays as it was.
  doc.Parse("[Keep]\r\nk=1\r\n");
  EXPECT_FALSE(doc.LoadFile(dir.path()));
  EXPECT_EQ(doc.Value(u"Keep", u"k"), u"1"_qs);
  EXPECT_FALSE(doc.SaveFile(dir.path()));
  EXPECT_TRUE(QFileInfo(dir.path()).isDir());

  // A path under a regular file can neither exist nor be written.
  const QString plain = dir.filePath("plain");
  {
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("content");
  }
  const QString under = plain + "/x.ini";
  EXPECT_TRUE(doc.LoadFile(under));
  doc.Parse("[Keep]\r\nk=1\r\n");
  EXPECT_FALSE(doc.SaveFile(under));
  QFile f(plain);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("content"));

  // Saving replaces an existing file entirely.
  const QString path = dir.filePath("doc.ini");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
  }
  ASSERT_TRUE(doc.SaveFile(path));
  IniDocument back;
  ASSERT_TRUE(back.LoadFile(path));
  EXPECT_EQ(back.Serialize(), QByteArray("[Keep]\r\nk=1\r\n\r\n"));
  EXPECT_EQ(QFileInfo(path).size(), 15);
}

TEST(IniDocumentFiles, UnreadableFileLeavesTheDocumentUntouched) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("locked.ini");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[S]\r\nk=file\r\n");
  }
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
  IniDocument doc = Parsed("[S]\r\nk=memory\r\n");
  EXPECT_FALSE(doc.LoadFile(path));
  EXPECT_EQ(doc.Value(u"S", u"k"), u"memory"_qs);
}

}  // namespace
}  // namespace korvan

namespace korvan {
namespace {

TEST(IniSectionRef, ReadsLikeValueInAnyOrderAndFirstKeyWins) {
  IniDocument doc;
  doc.Parse("[S]\r\nA=1\r\nB=2\r\nC=3\r\n\r\n[D]\r\nK=first\r\nX=x\r\nk=second\r\n");
  const IniDocument::SectionRef s = doc.Section(u"s");
  ASSERT_TRUE(s.Exists());
  // In stored order, backwards, and again: every read agrees with Value().
  for (const char16_t* key : {u"A", u"B", u"C", u"C", u"B", u"A", u"b", u"Z"}) {
    const std::optional<QStringView> v = s.ValueView(key);
    const std::optional<QString> expected = doc.Value(u"S", key);
    ASSERT_EQ(v.has_value(), expected.has_value()) << QString::fromUtf16(key).toStdString();
    if (v) EXPECT_EQ(v->toString(), *expected);
  }
  const IniDocument::SectionRef d = doc.Section(u"D");
  for (const char16_t* key : {u"X", u"K", u"k", u"X", u"K"})
    EXPECT_EQ(d.ValueView(key).value_or(QStringView()).toString(), doc.Value(u"D", key).value_or(QString()));
  EXPECT_EQ(d.ValueView(u"k")->toString(), QStringLiteral("first"));
  EXPECT_FALSE(doc.Section(u"none").Exists());
  EXPECT_FALSE(doc.Section(u"none").ValueView(u"A").has_value());
}

}  // namespace
}  // namespace korvan
