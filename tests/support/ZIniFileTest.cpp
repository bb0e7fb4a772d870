#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <limits>

#include "common/ScriptedPrompter.h"
#include "support/Cp1251.h"
#include "support/ZIniFile.h"

namespace korvan {
namespace {

QByteArray Cp(const QString& text) {
  QByteArray out;
  EXPECT_TRUE(cp1251::Encode(text, out)) << text.toStdString();
  return out;
}

class ZIniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString Path(const QString& name) const { return dir_.filePath(name); }

  static void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }

  static QByteArray Get(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "(unreadable)";
    return f.readAll();
  }

  // Outputs of a read, preset so that an untouched output can be told from a written one.
  struct Outputs {
    QString s = "preset";
    double d = -7.5;
    int i = 20;
    bool b = true;
  };

  bool Read(const QString& file, const QString& section, const QString& key, int type, Outputs& o,
            bool showErrors = false) {
    return ini_.Read(file, section, key, type, o.s, o.d, o.i, o.b, showErrors);
  }

  bool WriteString(const QString& file, const QString& section, const QString& key,
                   const QString& s, bool showErrors = false) {
    return ini_.Write(file, section, key, ZIniFile::String, s, 0, 0, false, showErrors);
  }

  ZIniFile ini_;
  QTemporaryDir dir_;
};

TEST_F(ZIniFileTest, TitleCaptionsItsMessages) { EXPECT_EQ(ini_.Title(), u"Класс: ZIniFile"_qs); }

TEST_F(ZIniFileTest, DocumentedEdgeCases) {
  const QString file = Path("edge.ini");
  Outputs o;

  // An absent integer keeps its preset.
  EXPECT_FALSE(Read(file, "Grid", "Step", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 20);

  ASSERT_TRUE(ini_.Write(file, "Grid", "Step", ZIniFile::Integer, "", 0, 35, false, false));
  EXPECT_TRUE(Read(file, "Grid", "Step", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 35);

  // Names match without regard to case.
  o.i = 20;
  EXPECT_TRUE(Read(file, "grid", "step", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 35);

  // A bool written as true reads as true and as the integer 1.
  ASSERT_TRUE(ini_.Write(file, "Lupa", "Enabled", ZIniFile::Bool, "", 0, 0, true, false));
  o.b = false;
  o.i = 20;
  EXPECT_TRUE(Read(file, "Lupa", "Enabled", ZIniFile::Bool, o));
  EXPECT_TRUE(o.b);
  EXPECT_TRUE(Read(file, "Lupa", "Enabled", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 1);

  // A long string reads back cut to 2047 characters.
  QString longText;
  for (int k = 0; k < 3000; ++k) longText.append(QChar(u'a' + k % 26));
  ASSERT_TRUE(WriteString(file, "Text", "Long", longText));
  EXPECT_TRUE(Read(file, "Text", "Long", ZIniFile::String, o));
  EXPECT_EQ(o.s, longText.left(2047));
  EXPECT_TRUE(Get(file).contains(longText.toLatin1()));  // stored whole, cut on reading

  EXPECT_EQ(Get(file), "[Grid]\r\nStep=35\r\n\r\n[Lupa]\r\nEnabled=1\r\n\r\n[Text]\r\nLong=" +
                           longText.toLatin1() + "\r\n\r\n");
}

// One row per stored text: what each typed read gives from fixed presets.
TEST_F(ZIniFileTest, TypedReads) {
  struct Case {
    QByteArray stored;
    int asInt;
    bool asBool;
    double asDouble;
    QString asString;
  };
  const double nanPreset = -7.5;  // Outputs' preset double
  const Case cases[] = {
      {"35", 35, true, 35, "35"},
      {"-12", -12, true, -12, "-12"},
      {"+12", 12, true, 12, "+12"},
      {"0", 0, false, 0, "0"},
      {"  7  ", 7, true, 7, "7"},
      {"\"5\"", 5, true, 5, "5"},
      {"'abc'", 20, true, nanPreset, "abc"},
      {"2147483647", 2147483647, true, 2147483647.0, "2147483647"},
      {"-2147483648", std::numeric_limits<int>::min(), true, -2147483648.0, "-2147483648"},
      {"2147483648", 20, true, 2147483648.0, "2147483648"},
      {"-2147483649", 20, true, -2147483649.0, "-2147483649"},
      {"99999999999999999999", 20, true, 1e20, "99999999999999999999"},
      {"$FF", 255, true, nanPreset, "$FF"},
      {"0x1A", 26, true, nanPreset, "0x1A"},
      {"0X1a", 26, true, nanPreset, "0X1a"},
      {"$FFFFFFFF", -1, true, nanPreset, "$FFFFFFFF"},
      {"$100000000", 20, true, nanPreset, "$100000000"},
      {"0x", 20, true, nanPreset, "0x"},
      {"$", 20, true, nanPreset, "$"},
      {"1.5", 20, true, 1.5, "1.5"},
      {"1,5", 20, true, nanPreset, "1,5"},
      {"-0.25e2", 20, true, -25, "-0.25e2"},
      {".5", 20, true, 0.5, ".5"},
      {"1e400", 20, true, nanPreset, "1e400"},
      {"inf", 20, true, nanPreset, "inf"},
      {"nan", 20, true, nanPreset, "nan"},
      {"12abc", 20, true, nanPreset, "12abc"},
      {"1 2", 20, true, nanPreset, "1 2"},
      {"--1", 20, true, nanPreset, "--1"},
      {"+-1", 20, true, nanPreset, "+-1"},
      {"", 20, true, nanPreset, ""},
      {"abc", 20, true, nanPreset, "abc"},
  };
  const QString file = Path("typed.ini");
  for (const Case& c : cases) {
    Put(file, "[S]\r\nk=" + c.stored + "\r\n");
    const std::string row = c.stored.toStdString();
    Outputs o;
    EXPECT_TRUE(Read(file, "S", "k", ZIniFile::Integer, o)) << row;
    EXPECT_EQ(o.i, c.asInt) << row;
    EXPECT_TRUE(Read(file, "S", "k", ZIniFile::Bool, o)) << row;
    EXPECT_EQ(o.b, c.asBool) << row;
    o.b = false;  // a bool that is no integer keeps the preset either way
    Read(file, "S", "k", ZIniFile::Bool, o);
    EXPECT_EQ(o.b, c.asInt != 20 ? c.asBool : false) << row;
    EXPECT_TRUE(Read(file, "S", "k", ZIniFile::Double, o)) << row;
    EXPECT_DOUBLE_EQ(o.d, c.asDouble) << row;
    EXPECT_TRUE(Read(file, "S", "k", ZIniFile::String, o)) << row;
    EXPECT_EQ(o.s, c.asString) << row;
  }
}

TEST_F(ZIniFileTest, ReadOfAMissingValueTouchesNothing) {
  const QString file = Path("missing.ini");
  Put(file, "[S]\r\nk=1\r\n");
  struct Case {
    const char* what;
    QString file, section, key;
  };
  const Case cases[] = {
      {"missing file", Path("nowhere.ini"), "S", "k"},
      {"missing section", file, "T", "k"},
      {"missing key", file, "S", "j"},
  };
  for (const Case& c : cases) {
    for (int type = ZIniFile::String; type <= ZIniFile::Bool; ++type) {
      test::ScriptedPrompter prompter;
      ScopedPrompter scope(&prompter);
      Outputs o;
      EXPECT_FALSE(Read(c.file, c.section, c.key, type, o, true)) << c.what << " type " << type;
      EXPECT_EQ(o.s, "preset");
      EXPECT_EQ(o.d, -7.5);
      EXPECT_EQ(o.i, 20);
      EXPECT_EQ(o.b, true);
      EXPECT_TRUE(prompter.shown.isEmpty()) << c.what << ": a missing value is no error";
    }
  }
  EXPECT_FALSE(QFile::exists(Path("nowhere.ini")));
}

TEST_F(ZIniFileTest, OnlyTheChosenTypeIsRead) {
  const QString file = Path("one.ini");
  Put(file, "[S]\r\nk=1\r\n");
  Outputs o;
  ASSERT_TRUE(Read(file, "S", "k", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 1);
  EXPECT_EQ(o.s, "preset");
  EXPECT_EQ(o.d, -7.5);
  EXPECT_EQ(o.b, true);
}

// Writes of each type, with the exact file they leave.
TEST_F(ZIniFileTest, TypedWritesAndLayout) {
  struct Step {
    QString section, key;
    int type;
    QString s;
    double d;
    int i;
    bool b;
  };
  const Step steps[] = {
      {"COMMON", "FormatFile", ZIniFile::String, "KVN 1.0", 0, 0, false},
      {"COMMON", "_IMAGE_WIDTH", ZIniFile::Integer, "", 0, 1024, false},
      {"COMMON", "ColorBackground", ZIniFile::Integer, "", 0, -16777201, false},
      {"Lupa", "Enabled", ZIniFile::Bool, "", 0, 0, false},
      {"Strelki", "Show", ZIniFile::Bool, "", 0, 0, true},
      {"Calc", "Third", ZIniFile::Double, "", 1.0 / 3.0, 0, false},
      {"Calc", "Big", ZIniFile::Double, "", 1e20, 0, false},
      {"Calc", "Tenth", ZIniFile::Double, "", 0.1, 0, false},
      {"Calc", "Whole", ZIniFile::Double, "", -2.0, 0, false},
      {"common", "figcount", ZIniFile::Integer, "", 0, 3, false},  // appended to COMMON
      {"common", "FigCount", ZIniFile::Integer, "", 0, 0, false},  // replaced, spelling kept
      {"Lupa", "Size", ZIniFile::Integer, "", 0, 5, false},  // appended to its section
  };
  const QString file = Path("written.ini");
  for (const Step& s : steps)
    ASSERT_TRUE(ini_.Write(file, s.section, s.key, s.type, s.s, s.d, s.i, s.b, false))
        << s.key.toStdString();
  EXPECT_EQ(Get(file),
            "[COMMON]\r\nFormatFile=KVN 1.0\r\n_IMAGE_WIDTH=1024\r\nColorBackground=-16777201\r\n"
            "figcount=0\r\n\r\n"
            "[Lupa]\r\nEnabled=0\r\nSize=5\r\n\r\n"
            "[Strelki]\r\nShow=1\r\n\r\n"
            "[Calc]\r\nThird=0.333333333333333\r\nBig=1e+20\r\nTenth=0.1\r\nWhole=-2\r\n\r\n");

  Outputs o;
  ASSERT_TRUE(Read(file, "Calc", "Tenth", ZIniFile::Double, o));
  EXPECT_EQ(o.d, 0.1);
  ASSERT_TRUE(Read(file, "COMMON", "ColorBackground", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, -16777201);
}

TEST_F(ZIniFileTest, ExistingFileIsEditedInPlace) {
  const QString file = Path("edit.ini");
  Put(file, "; keep me\n[A]\nx=1\ny=2\n\n\n[B]\nz=3");
  ASSERT_TRUE(WriteString(file, "a", "Y", "22"));
  EXPECT_EQ(Get(file), "; keep me\r\n[A]\r\nx=1\r\ny=22\r\n\r\n[B]\r\nz=3\r\n\r\n");
  ASSERT_TRUE(WriteString(file, "B", "w", "4"));
  ASSERT_TRUE(WriteString(file, "C", "v", "5"));
  EXPECT_EQ(Get(file),
            "; keep me\r\n[A]\r\nx=1\r\ny=22\r\n\r\n[B]\r\nz=3\r\nw=4\r\n\r\n[C]\r\nv=5\r\n\r\n");
}

TEST_F(ZIniFileTest, CyrillicIsStoredAsWindows1251) {
  const QString file = Path(u"схема.kvn"_qs);
  const QString value = u"Стена «Северная» №2 — ёлка"_qs;
  ASSERT_TRUE(WriteString(file, u"Фигура_1"_qs, u"Имя"_qs, value));
  EXPECT_EQ(Get(file), Cp(u"[Фигура_1]\r\nИмя="_qs + value + u"\r\n\r\n"_qs));
  Outputs o;
  ASSERT_TRUE(Read(file, u"ФИГУРА_1"_qs, u"имя"_qs, ZIniFile::String, o));
  EXPECT_EQ(o.s, value);
}

TEST_F(ZIniFileTest, ValuesTheFileCannotHoldAreRefused) {
  const QString file = Path("refuse.ini");
  const QByteArray before("[S]\r\nk=old\r\n\r\n");
  Put(file, before);
  struct Case {
    const char* what;
    QString section, key, value;
  };
  const Case cases[] = {
      {"characters outside windows-1251", "S", "k", u"日本"_qs},
      {"one bad character among good ones", "S", "k", u"Стена 日"_qs},
      {"line break in a value", "S", "k", "a\r\nb"},
      {"'=' in a key", "S", "a=b", "v"},
      {"']' in a section", "S]", "k", "v"},
      {"empty key", "S", "", "v"},
  };
  for (const Case& c : cases) {
    test::ScriptedPrompter prompter;
    ScopedPrompter scope(&prompter);
    EXPECT_FALSE(WriteString(file, c.section, c.key, c.value, true)) << c.what;
    EXPECT_EQ(Get(file), before) << c.what;
    ASSERT_EQ(prompter.shown.size(), 1) << c.what;
    EXPECT_EQ(prompter.shown[0].text, u"Ошибка при записи параметра: "_qs + c.key +
                                          u"\nСекции: "_qs + c.section + u"\nФайла: "_qs + file);
  }
  EXPECT_FALSE(Get(file).contains('?'));
  EXPECT_FALSE(WriteString(Path("new.ini"), "S", "k", u"日本"_qs));
  EXPECT_FALSE(QFile::exists(Path("new.ini")));
}

TEST_F(ZIniFileTest, FileThatCannotBeOpened) {
  // The path names a folder: nothing can be read from it or written to it.
  const QString folder = Path("folder.ini");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.ini"));
  for (int type = ZIniFile::String; type <= ZIniFile::Bool; ++type) {
    test::ScriptedPrompter prompter;
    ScopedPrompter scope(&prompter);
    Outputs o;
    EXPECT_FALSE(Read(folder, "S", "k", type, o, true));
    EXPECT_EQ(o.s, "preset");
    EXPECT_EQ(o.d, -7.5);
    EXPECT_EQ(o.i, 20);
    EXPECT_EQ(o.b, true);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].kind, test::ScriptedPrompter::Shown::Warning);
    EXPECT_EQ(prompter.shown[0].caption, u"Класс: ZIniFile"_qs);
    EXPECT_EQ(prompter.shown[0].text,
              u"Ошибка при чтении параметра: k\nСекции: S\nФайла: "_qs + folder);
  }
  {
    test::ScriptedPrompter prompter;
    ScopedPrompter scope(&prompter);
    Outputs o;
    EXPECT_FALSE(Read(folder, "S", "k", ZIniFile::Integer, o, false));
    EXPECT_TRUE(prompter.shown.isEmpty()) << "failures are silent unless asked";
    EXPECT_FALSE(WriteString(folder, "S", "k", "v", false));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_FALSE(WriteString(folder, "S", "k", "v", true));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, u"Класс: ZIniFile"_qs);
    EXPECT_EQ(prompter.shown[0].text,
              u"Ошибка при записи параметра: k\nСекции: S\nФайла: "_qs + folder);
  }
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(ZIniFileTest, FolderThatCannotBeWritten) {
  // The parent of the path is a regular file, so no file can ever be created there.
  const QString blocker = Path("blocker");
  Put(blocker, "not a folder");
  const QString file = blocker + "/settings.ini";
  test::ScriptedPrompter prompter;
  ScopedPrompter scope(&prompter);
  EXPECT_FALSE(ini_.Write(file, "S", "k", ZIniFile::Integer, "", 0, 5, false, true));
  ASSERT_EQ(prompter.shown.size(), 1);
  EXPECT_TRUE(prompter.shown[0].text.startsWith(u"Ошибка при записи параметра: k"_qs));
  EXPECT_FALSE(ini_.WriteBinary(file, "S", "Bitmap", QByteArray("\x01", 1)));
  EXPECT_EQ(Get(blocker), "not a folder");
}

TEST_F(ZIniFileTest, ReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const QString sub = Path("ro");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("ro"));
  const QString file = sub + "/settings.ini";
  Put(file, "[S]\r\nk=1\r\n");
  ASSERT_TRUE(QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  EXPECT_FALSE(ini_.Write(file, "S", "k", ZIniFile::Integer, "", 0, 2, false, false));
  EXPECT_FALSE(ini_.WriteBinary(file, "S", "b", QByteArray("\x01", 1)));
  EXPECT_EQ(Get(file), "[S]\r\nk=1\r\n");
  QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ExeOwner);
}

TEST_F(ZIniFileTest, UnreadableFileIsNeverOverwritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
  const QString file = Path("locked.ini");
  Put(file, "[S]\r\nk=1\r\n");
  ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::WriteOwner));
  Outputs o;
  EXPECT_FALSE(Read(file, "S", "k", ZIniFile::Integer, o));
  EXPECT_EQ(o.i, 20);
  EXPECT_FALSE(ini_.Write(file, "S", "j", ZIniFile::Integer, "", 0, 2, false, false));
  EXPECT_FALSE(ini_.WriteBinary(file, "S", "b", QByteArray("\x01", 1)));
  ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  EXPECT_EQ(Get(file), "[S]\r\nk=1\r\n");
}

TEST_F(ZIniFileTest, BinaryValues) {
  const QString file = Path("bin.kvn");
  ASSERT_TRUE(WriteString(file, "FIG_1", "Name", "pic"));
  QByteArray picture;
  for (int b = 0; b < 256; ++b) picture.append(static_cast<char>(b));
  ASSERT_TRUE(ini_.WriteBinary(file, "FIG_1", "Bitmap", picture));
  ASSERT_TRUE(ini_.WriteBinary(file, "FIG_2", "Point", QByteArray("\x0A\xFF", 2)));
  const QByteArray bytes = Get(file);
  EXPECT_TRUE(bytes.startsWith("[FIG_1]\r\nName=pic\r\nBitmap=000102030405060708090A0B"));
  EXPECT_TRUE(bytes.endsWith("FCFDFEFF\r\n\r\n[FIG_2]\r\nPoint=0AFF\r\n\r\n"));

  QByteArray out = "junk";
  EXPECT_TRUE(ini_.ReadBinary(file, "fig_1", "bitmap", out));
  EXPECT_EQ(out, picture);
  out = "junk";
  EXPECT_FALSE(ini_.ReadBinary(file, "FIG_1", "Point", out));
  EXPECT_TRUE(out.isEmpty());
  out = "junk";
  EXPECT_FALSE(ini_.ReadBinary(Path("none.kvn"), "FIG_1", "Bitmap", out));
  EXPECT_TRUE(out.isEmpty());

  struct Case {
    QByteArray stored;
    bool ok;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"", true, QByteArray()},
      {"0aff", true, QByteArray("\x0A\xFF", 2)},
      {"0AF", false, QByteArray("\x0A")},
      {"0AXYFF", false, QByteArray("\x0A")},
      {"Z", false, QByteArray()},
  };
  for (const Case& c : cases) {
    Put(file, "[S]\r\nb=" + c.stored + "\r\n");
    out = "junk";
    EXPECT_EQ(ini_.ReadBinary(file, "S", "b", out), c.ok) << c.stored.toStdString();
    EXPECT_EQ(out, c.bytes) << c.stored.toStdString();
  }
}

TEST_F(ZIniFileTest, UnknownTypeIsAnError) {
  const QString file = Path("type.ini");
  Put(file, "[S]\r\nk=1\r\n");
  test::ScriptedPrompter prompter;
  ScopedPrompter scope(&prompter);
  Outputs o;
  EXPECT_FALSE(Read(file, "S", "k", 4, o, true));
  EXPECT_EQ(o.i, 20);
  EXPECT_FALSE(ini_.Write(file, "S", "k", -1, "x", 0, 9, false, true));
  EXPECT_EQ(Get(file), "[S]\r\nk=1\r\n");
  EXPECT_EQ(prompter.shown.size(), 2);
}

}  // namespace
}  // namespace korvan
