#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"

#include "support/Cp1251.h"

namespace korvan::cp1251 {
namespace {

TEST(Cp1251, EveryByteSurvivesDecodeAndEncode) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = Decode(all);
  ASSERT_EQ(text.size(), 256);
  QByteArray back;
  ASSERT_TRUE(Encode(text, back));
  EXPECT_EQ(back, all);
}

TEST(Cp1251, AgreesWithQtCodecOnEveryDefinedByte) {
  QStringDecoder qt("windows-1251");
  if (!qt.isValid()) GTEST_SKIP() << "this Qt build has no windows-1251 codec to compare with";
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;  // undefined in the code page
    const char byte = static_cast<char>(b);
    const QString expected = qt.decode(QByteArrayView(&byte, 1));
    EXPECT_EQ(Decode(QByteArrayView(&byte, 1)), expected) << "byte 0x" << std::hex << b;
  }
}

TEST(Cp1251, RussianTextRoundTrips) {
  const QString text = QStringLiteral("Фигура_1 Ёлка «№5» — ёж");
  QByteArray bytes;
  ASSERT_TRUE(Encode(text, bytes));
  EXPECT_EQ(bytes.size(), text.size());
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD4);  // Ф
  EXPECT_EQ(Decode(bytes), text);
}

TEST(Cp1251, RefusesCharactersOutsideTheCodePage) {
  struct Case {
    QString text;
    bool storable;
  };
  const Case cases[] = {
      {QString(), true},
      {QStringLiteral("abc 123"), true},
      {QStringLiteral("Схема №1"), true},
      {QStringLiteral("€ ™ ‰"), true},
      {QStringLiteral("日本"), false},
      {QStringLiteral("Ω"), false},
      {QStringLiteral("a😀"), false},
      {QString(QChar(0x0080)), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CanEncode(c.text), c.storable) << c.text.toStdString();
    QByteArray out = "untouched";
    EXPECT_EQ(Encode(c.text, out), c.storable) << c.text.toStdString();
    if (!c.storable) EXPECT_EQ(out, QByteArray("untouched"));
  }
}

TEST(Cp1251, LowerCaseCoversLatinAndCyrillicLetters) {
  struct Case {
    const char16_t* in;
    const char16_t* out;
  };
  const Case cases[] = {
      {u"ABC xyz", u"abc xyz"},
      {u"СХЕМА Ёжик", u"схема ёжик"},
      {u"ЂЃЉЊЌЋЏЎЈҐЄІЇЅ", u"ђѓљњќћџўјґєіїѕ"},
      {u"№ 12 «А»", u"№ 12 «а»"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToLower(QString::fromUtf16(c.in)), QString::fromUtf16(c.out));
}

}  // namespace
}  // namespace korvan::cp1251
