#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "common/ScriptedPrompter.h"
#include "model/SchemeFile.h"
#include "support/Cp1251.h"

namespace korvan {
namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// Windows-1251 bytes of a UTF-8 source text, line ends turned into CR LF.
QByteArray Kvn(const char* utf8) {
  QString text = QString::fromUtf8(utf8);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray out;
  EXPECT_TRUE(cp1251::Encode(text, out));
  return out;
}

stFigure FilledRectangle() {
  stFigure f;
  f.Guid = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");
  f.Name = QStringLiteral("Фигура_1");
  f.Vid = static_cast<std::uint8_t>(FigureKind::Rectangle);
  f.VidFill = 1;
  f.X0 = 100;
  f.Y0 = 80;
  f.X1 = 400;
  f.Y1 = 280;
  f.BrushColor = 0xFFFFFF;
  f.Font.Name = QStringLiteral("Arial");
  f.Width = 3.5;
  f.Height = 2;
  return f;
}

class SchemeFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  // Loads bytes written to a file; the prompter records any message.
  bool LoadBytes(const QByteArray& bytes, stScena& scene, FormulaGrid& rows, EditorState& state) {
    const QString path = Path("in.kvn");
    WriteBytes(path, bytes);
    return LoadShemaFile(path, scene, rows, state);
  }

  QTemporaryDir dir_;
  test::ScriptedPrompter prompter_;
  ScopedPrompter scope_{&prompter_};
};

TEST_F(SchemeFileTest, WritesEveryKeyInItsOrder) {
  stScena scene;
  scene.Figures.push_back(FilledRectangle());
  const FormulaGrid rows = {{QStringLiteral("Формула_1"), QStringLiteral("Фигура_1_Площадь*2"), QStringLiteral("14.0")}};
  EditorState state;
  state.LupaEnabled = false;
  ASSERT_TRUE(SaveShemaFile(Path("out.kvn"), scene, rows, state));
  EXPECT_EQ(ReadBytes(Path("out.kvn")), Kvn(R"([COMMON]
FormatFile=KVN 1.0
_IMAGE_WIDTH=1280
_IMAGE_HEIGHT=1024
ColorBackground=16777215
FigCount=1

[Lupa]
Enabled=0

[Grid]
GridColor=12632256

[Strelki]
Show=1
VidColor=1
Color=8421504

[FIG_1]
GUID=6F9619FF-8B86-D011-B42D-00C04FC964FF
GUID_Parent=
Name=Фигура_1
Vid=2
VidFill=1
X0=100
Y0=80
X1=400
Y1=280
DeltaXParent=0
DeltaYParent=0
Text=
TextPosition=0
bShowStrelki=1
Pen_Color=0
Pen_Style=0
Pen_Width=1
Brush_Color=16777215
Brush_Style=0
VidStrelkaLineLengthHor=0
StrelkaLineLengthHor=0
VidStrelkaLineLengthVer=0
StrelkaLineLengthVer=0
TableRow=0
TableColumn=0
Font_Name=Arial
Font_Charset=1
Font_Color=0
Font_Height=-13
Font_Pitch=0
Font_Size=10
Font_Bold=0
Font_Italic=0
Font_Underline=0
Font_StrikeOut=0
Width=3.5
Height=2.0

[Formula_1]
Name=Формула_1
Formula=Фигура_1_Площадь*2
Value=14.0

[Formula]
Count=1

)"));
}

TEST_F(SchemeFileTest, GoldenFileRoundTripsByteForByte) {
  const QString golden = QStringLiteral(KORVAN_FIXTURES_DIR "/golden.kvn");
  const QByteArray original = ReadBytes(golden);
  ASSERT_FALSE(original.isEmpty());
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  ASSERT_TRUE(LoadShemaFile(golden, scene, rows, state));
  ASSERT_TRUE(SaveShemaFile(Path("again.kvn"), scene, rows, state));
  EXPECT_EQ(ReadBytes(Path("again.kvn")), original);
  EXPECT_TRUE(prompter_.shown.isEmpty());
}

TEST_F(SchemeFileTest, EveryKindSurvivesSaveAndLoad) {
  stScena scene;
  for (int kind = 1; kind < kFigureKindCount; ++kind) {
    stFigure f = FilledRectangle();
    f.Guid = QStringLiteral("00000000-0000-0000-0000-%1").arg(kind, 12, 10, QLatin1Char('0'));
    f.GuidParent = kind > 1 ? scene.Figures.front().Guid : QString();
    f.Vid = static_cast<std::uint8_t>(kind);
    f.Name = QStringLiteral("Стена %1").arg(kind);
    f.Text = QStringLiteral("Текст «%1» = x;y").arg(kind);
    f.TextPosition = static_cast<std::uint8_t>(kind % 3);
    f.ShowStrelki = kind % 2 == 0;
    f.X1 = -kind * 7;  // backwards and negative corners are kept
    f.DeltaXParent = -5;
    f.PenColor = 0x00FF8040;
    f.PenWidth = kind;
    f.PenStyle = 2;
    f.BrushStyle = 7;
    f.VidStrelkaLineLengthHor = 1;
    f.StrelkaLineLengthHor = 33;
    f.VidStrelkaLineLengthVer = 1;
    f.StrelkaLineLengthVer = -12;
    f.TableRow = kind;
    f.TableColumn = kind + 1;
    f.Font = {204, 0x00112233, -16, QStringLiteral("Liberation Sans"), 2, 12, true, true, false, true};
    f.Width = kind * 1.25;
    f.Height = 0;
    if (f.Is(FigureKind::Curve)) f.Points = {{0, 0}, {100, 50}, {65535, 65535}, {300, 200}};
    if (f.Is(FigureKind::Picture) || f.Is(FigureKind::Photo)) {
      f.Picture = QImage(7, 5, QImage::Format_RGB32);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) f.Picture.setPixel(x, y, qRgb(x * 30, y * 40, (x + y) * 10));
    }
    scene.Figures.push_back(f);
  }
  const FormulaGrid rows = {{QStringLiteral("Ф1"), QStringLiteral("1+2"), QStringLiteral("3.0")},
                            {QStringLiteral("Ф2"), QStringLiteral("Ф1*2"), QString()}};
  EditorState state;
  state.ImageWidth = 2000;
  state.ImageHeight = 1500;
  state.BackgroundColor = 0x00EEDDCC;
  ASSERT_TRUE(SaveShemaFile(Path("all.kvn"), scene, rows, state));

  stScena loaded;
  FormulaGrid loadedRows;
  EditorState loadedState;
  ASSERT_TRUE(LoadShemaFile(Path("all.kvn"), loaded, loadedRows, loadedState));
  ASSERT_EQ(loaded.Figures.size(), scene.Figures.size());
  for (size_t i = 0; i < scene.Figures.size(); ++i)
    EXPECT_EQ(loaded.Figures[i], scene.Figures[i]) << "figure " << i + 1;
  EXPECT_EQ(loadedRows, rows);
  EXPECT_EQ(loadedState.ImageWidth, 2000);
  EXPECT_EQ(loadedState.ImageHeight, 1500);
  EXPECT_EQ(loadedState.BackgroundColor, 0x00EEDDCCu);
  EXPECT_EQ(loaded.ImageWidth, 2000);
  EXPECT_EQ(loaded.BackgroundColor, 0x00EEDDCCu);

  // And the same scene saved twice gives the same bytes.
  ASSERT_TRUE(SaveShemaFile(Path("all2.kvn"), loaded, loadedRows, loadedState));
  EXPECT_EQ(ReadBytes(Path("all2.kvn")), ReadBytes(Path("all.kvn")));
}

TEST_F(SchemeFileTest, OtherFormatIsRefusedWithItsMessage) {
  const char* const files[] = {
      "[COMMON]\nFormatFile=kvn 1.0\nFigCount=1\n\n[FIG_1]\nVid=2\n",
      "[COMMON]\nFigCount=1\n",
      "no sections at all",
  };
  for (const char* text : files) {
    prompter_.shown.clear();
    stScena scene;
    scene.Figures.push_back(FilledRectangle());
    FormulaGrid rows;
    EditorState state;
    EXPECT_FALSE(LoadBytes(Kvn(text), scene, rows, state)) << text;
    EXPECT_TRUE(scene.Figures.empty());
    ASSERT_EQ(prompter_.shown.size(), 1) << text;
    EXPECT_EQ(prompter_.shown[0].text, QStringLiteral("Неизвестный формат файла!"));
    EXPECT_EQ(prompter_.shown[0].caption, QStringLiteral("Korvan"));
  }
}

TEST_F(SchemeFileTest, MissingFileEmptiesTheSceneSilently) {
  stScena scene;
  scene.Figures.push_back(FilledRectangle());
  scene.FormulaRows = {{QStringLiteral("kept"), QString(), QString()}};
  FormulaGrid rows;
  EditorState state;
  state.ImageWidth = 777;
  EXPECT_FALSE(LoadShemaFile(Path("absent.kvn"), scene, rows, state));
  EXPECT_TRUE(scene.Figures.empty());
  EXPECT_EQ(scene.FormulaRows.size(), 1);  // the saved rows are not the reader's
  EXPECT_EQ(state.ImageWidth, 777);
  EXPECT_TRUE(prompter_.shown.isEmpty());
}

TEST_F(SchemeFileTest, MissingSectionsAndKeysTakeDefaults) {
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  state.ImageWidth = 640;  // absent size keys keep the current values
  state.ImageHeight = 480;
  ASSERT_TRUE(LoadBytes(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=2\n\n[FIG_1]\nName=Стена\nGUID=  \n"), scene,
                        rows, state));
  ASSERT_EQ(scene.Figures.size(), 2u);
  const QRegularExpression guid(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
  EXPECT_TRUE(guid.match(scene.Figures[0].Guid).hasMatch());
  EXPECT_TRUE(guid.match(scene.Figures[1].Guid).hasMatch());
  EXPECT_NE(scene.Figures[0].Guid, scene.Figures[1].Guid);
  EXPECT_EQ(scene.Figures[0].Name, QStringLiteral("Стена"));
  const stFigure& d = scene.Figures[1];
  EXPECT_EQ(d.Vid, 0);
  EXPECT_EQ(d.PenWidth, 1);
  EXPECT_TRUE(d.ShowStrelki);
  EXPECT_FALSE(d.Selected);
  EXPECT_EQ(d.Width, 0.0);
  EXPECT_EQ(state.ImageWidth, 640);
  EXPECT_EQ(state.ImageHeight, 480);
  EXPECT_EQ(state.BackgroundColor, 0u);  // absent background is black
  EXPECT_EQ(rows.size(), 1);              // an empty table still has its one row

  // A blank GUID is replaced on every load, never the same twice.
  const QString first = scene.Figures[0].Guid;
  ASSERT_TRUE(LoadShemaFile(Path("in.kvn"), scene, rows, state));
  EXPECT_NE(scene.Figures[0].Guid, first);
}

TEST_F(SchemeFileTest, ValuesAreReadByTheirRules) {
  struct Case {
    const char* keys;  // lines of FIG_1
    double width;
    std::int32_t x0;
    std::uint8_t vid;
  };
  const Case cases[] = {
      {"Width=2,5\nX0=10\nVid=2", 2.5, 10, 2},
      {"Width=2.5\nX0=-10\nVid=258", 2.5, -10, 2},  // low 8 bits of the kind
      {"Width=\nX0=abc\nVid=x", 0.0, 0, 0},          // not numbers: defaults
      {"Width= 7 \nX0=99999999999\nVid=14", 7.0, 0, 14},
      {"Width=1e999\nX0=2147483647\nVid=-1", 0.0, 2147483647, 255},
      {"Width=3abc\nX0=0x10\nVid=$0B", 3.0, 16, 11},
  };
  for (const Case& c : cases) {
    stScena scene;
    FormulaGrid rows;
    EditorState state;
    const QByteArray text =
        Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\n") + Kvn(c.keys) + "\r\n";
    ASSERT_TRUE(LoadBytes(text, scene, rows, state)) << c.keys;
    ASSERT_EQ(scene.Figures.size(), 1u);
    EXPECT_EQ(scene.Figures[0].Width, c.width) << c.keys;
    EXPECT_EQ(scene.Figures[0].X0, c.x0) << c.keys;
    EXPECT_EQ(scene.Figures[0].Vid, c.vid) << c.keys;
  }
}

TEST_F(SchemeFileTest, ImageSizeIsLoweredToTheMaximum) {
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  ASSERT_TRUE(LoadBytes(Kvn("[COMMON]\nFormatFile=KVN 1.0\n_IMAGE_WIDTH=5000\n_IMAGE_HEIGHT=-3\n"), scene, rows,
                        state));
  EXPECT_EQ(state.ImageWidth, 3000);
  EXPECT_EQ(state.ImageHeight, -3);  // no lower bound here; the painter guards its bitmap
}

TEST_F(SchemeFileTest, HugeCountsAreCapped) {
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  ASSERT_TRUE(LoadBytes(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=2000000000\n\n[Formula]\nCount=2147483647\n"),
                        scene, rows, state));
  EXPECT_EQ(scene.Figures.size(), static_cast<size_t>(kMaxSchemeFigures));
  EXPECT_EQ(rows.size(), kMaxSchemeFormulas);
  ASSERT_TRUE(LoadBytes(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=-5\n\n[Formula]\nCount=-1\n"), scene, rows,
                        state));
  EXPECT_TRUE(scene.Figures.empty());
  EXPECT_EQ(rows.size(), 1);
}

TEST_F(SchemeFileTest, FormulaRowsAreWrittenWithoutGaps) {
  const FormulaGrid rows = {{QStringLiteral("А"), QStringLiteral("1"), QStringLiteral("1.0")},
                            {QStringLiteral("  "), QString(), QStringLiteral(" ")},
                            {QString(), QStringLiteral("2+2"), QString()}};
  EditorState state;
  ASSERT_TRUE(SaveShemaFile(Path("f.kvn"), stScena{}, rows, state));
  const QString text = cp1251::Decode(ReadBytes(Path("f.kvn")));
  EXPECT_TRUE(text.contains(QStringLiteral("[Formula_1]\r\nName=А\r\nFormula=1\r\nValue=1.0\r\n\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("[Formula_2]\r\nName=\r\nFormula=2+2\r\nValue=\r\n\r\n")));
  EXPECT_FALSE(text.contains(QStringLiteral("[Formula_3]")));
  EXPECT_TRUE(text.endsWith(QStringLiteral("[Formula]\r\nCount=2\r\n\r\n")));

  stScena scene;
  FormulaGrid loaded;
  ASSERT_TRUE(LoadShemaFile(Path("f.kvn"), scene, loaded, state));
  EXPECT_EQ(loaded, (FormulaGrid{rows[0], rows[2]}));
}

TEST_F(SchemeFileTest, LoadHooksProposeANameAndComputeValues) {
  EditorState state;
  const FormulaGrid rows = {{QStringLiteral("A"), QStringLiteral("1+1"), QStringLiteral("stale")},
                            {QStringLiteral("B"), QStringLiteral("A*3"), QStringLiteral("stale")}};
  ASSERT_TRUE(SaveShemaFile(Path("h.kvn"), stScena{}, rows, state));
  SchemeLoadHooks hooks;
  QStringList seen;
  hooks.evaluateRow = [&](const stScena&, const FormulaGrid& r, int index) {
    seen << QStringLiteral("%1:%2:%3").arg(index).arg(r[index][0], r.value(index + 1).value(0));
    return QStringLiteral("v%1").arg(index);
  };
  stScena scene;
  FormulaGrid loaded;
  ASSERT_TRUE(LoadShemaFile(Path("h.kvn"), scene, loaded, state, hooks));
  EXPECT_EQ(loaded[0][2], QStringLiteral("v0"));
  EXPECT_EQ(loaded[1][2], QStringLiteral("v1"));
  // Row 0 is evaluated before row 1 is read.
  EXPECT_EQ(seen, (QStringList{QStringLiteral("0:A:"), QStringLiteral("1:B:")}));

  hooks.proposeFormulaName = [](const stScena&, const FormulaGrid&) { return QStringLiteral("Формула_1"); };
  ASSERT_TRUE(SaveShemaFile(Path("empty.kvn"), stScena{}, FormulaGrid{}, state));
  ASSERT_TRUE(LoadShemaFile(Path("empty.kvn"), scene, loaded, state, hooks));
  EXPECT_EQ(loaded, (FormulaGrid{{QStringLiteral("Формула_1"), QString(), QString()}}));
}

TEST_F(SchemeFileTest, CurvePointsKeepTheirPlaces) {
  struct Case {
    std::vector<QPoint> written;
    std::vector<QPoint> read;
  };
  const Case cases[] = {
      {{}, {}},
      {{{100, 50}, {300, 200}}, {{100, 50}, {300, 200}}},
      {{{0, 0}, {65535, 65535}}, {{0, 0}, {65535, 65535}}},
      // Out of range: clamped, and the following points keep their places.
      {{{-20, 5}, {70000, -1}, {7, 8}}, {{0, 5}, {65535, 0}, {7, 8}}},
  };
  for (const Case& c : cases) {
    IniDocument doc;
    WriteCurvePoints(doc, QStringLiteral("FIG_1"), c.written);
    std::vector<QPoint> read{{1, 1}};
    ReadCurvePoints(doc, QStringLiteral("FIG_1"), read);
    EXPECT_EQ(read, c.read);
  }
  IniDocument doc;
  WriteCurvePoints(doc, QStringLiteral("S"), {{100, 50}, {300, 200}});
  EXPECT_EQ(doc.Value(QStringLiteral("S"), QStringLiteral("Point")),
            std::optional<QString>(QStringLiteral("303036343030333230313243303043380D0A")));
}

TEST_F(SchemeFileTest, DamagedPointValuesNeverShiftPoints) {
  struct Case {
    const char* value;
    std::vector<QPoint> points;
  };
  const Case cases[] = {
      {"303036343030333230313243303043380D0A", {{100, 50}, {300, 200}}},
      {"30303634303033323031324330304338", {{100, 50}, {300, 200}}},      // no line break
      {"3030363430303332303132433030433", {{100, 50}}},                   // odd length
      {"303036343030333230313243", {{100, 50}}},                          // partial group
      {"5A5A5A5A30303332303132433030433830", {{300, 200}}},               // "ZZZZ0032" dropped
      {"ZZ", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    IniDocument doc;
    ASSERT_TRUE(doc.SetValue(QStringLiteral("F"), QStringLiteral("Point"), QString::fromLatin1(c.value)));
    std::vector<QPoint> read;
    ReadCurvePoints(doc, QStringLiteral("F"), read);
    EXPECT_EQ(read, c.points) << c.value;
  }
}

TEST_F(SchemeFileTest, CurveSurvivesManyCycles) {
  stScena scene;
  stFigure curve = FilledRectangle();
  curve.Vid = static_cast<std::uint8_t>(FigureKind::Curve);
  for (int i = 0; i < 300; ++i) curve.Points.emplace_back(i * 37 % 3000, i * 53 % 2000);
  scene.Figures.push_back(curve);
  EditorState state;
  FormulaGrid rows;
  for (int cycle = 0; cycle < 5; ++cycle) {
    ASSERT_TRUE(SaveShemaFile(Path("c.kvn"), scene, rows, state));
    ASSERT_TRUE(LoadShemaFile(Path("c.kvn"), scene, rows, state));
  }
  ASSERT_EQ(scene.Figures.size(), 1u);
  EXPECT_EQ(scene.Figures[0].Points, curve.Points);
}

TEST_F(SchemeFileTest, BitmapThatIsNoImageLeavesAnEmptyPicture) {
  const char* const values[] = {"424D00", "00112233445566778899", "NOTHEX", "4"};
  for (const char* value : values) {
    stScena scene;
    FormulaGrid rows;
    EditorState state;
    const QByteArray text = Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\nVid=11\nBitmap=") +
                            QByteArray(value) + "\r\n";
    ASSERT_TRUE(LoadBytes(text, scene, rows, state)) << value;
    ASSERT_EQ(scene.Figures.size(), 1u);
    EXPECT_TRUE(scene.Figures[0].Picture.isNull()) << value;
  }
}

TEST_F(SchemeFileTest, LongTextIsKeptWhole) {
  stScena scene;
  stFigure f = FilledRectangle();
  f.Vid = static_cast<std::uint8_t>(FigureKind::Text);
  f.Text = QString(3000, QChar(0x0416));  // Ж
  scene.Figures.push_back(f);
  EditorState state;
  FormulaGrid rows;
  ASSERT_TRUE(SaveShemaFile(Path("t.kvn"), scene, rows, state));
  stScena loaded;
  ASSERT_TRUE(LoadShemaFile(Path("t.kvn"), loaded, rows, state));
  EXPECT_EQ(loaded.Figures.at(0).Text.size(), 3000);
}

TEST_F(SchemeFileTest, TextsWithBlanksOrQuotesAtTheirEndsReadBackUnchanged) {
  const char* const texts[] = {"  отступ", "хвост  ", "'в кавычках'", "\"двойные\"", "\"", "'", "\"'", " ",
                               "a=b", "[x]", ";не комментарий", "\t"};
  for (const char* text : texts) {
    stScena scene;
    scene.Figures.push_back(FilledRectangle());
    scene.Figures[0].Text = QString::fromUtf8(text);
    const FormulaGrid rows = {{QString::fromUtf8(text), QStringLiteral("1"), QString()}};
    EditorState state;
    ASSERT_TRUE(SaveShemaFile(Path("q.kvn"), scene, rows, state)) << text;
    stScena loaded;
    FormulaGrid loadedRows;
    ASSERT_TRUE(LoadShemaFile(Path("q.kvn"), loaded, loadedRows, state)) << text;
    EXPECT_EQ(loaded.Figures.at(0).Text, QString::fromUtf8(text));
    EXPECT_EQ(loadedRows.value(0).value(0), QString::fromUtf8(text));
  }
}

TEST_F(SchemeFileTest, FailedSaveLeavesTheOldFile) {
  const QString path = Path("keep.kvn");
  WriteBytes(path, "old contents");
  EditorState state;
  stScena scene;
  scene.Figures.push_back(FilledRectangle());

  // A text the file cannot hold fails the save; nothing is written as "?".
  scene.Figures[0].Name = QStringLiteral("Стена 日本");
  EXPECT_FALSE(SaveShemaFile(path, scene, {}, state));
  EXPECT_EQ(ReadBytes(path), QByteArray("old contents"));

  // A folder that cannot hold the file.
  scene.Figures[0].Name = QStringLiteral("Стена");
  WriteBytes(Path("plainfile"), "x");
  EXPECT_FALSE(SaveShemaFile(Path("plainfile") + QStringLiteral("/s.kvn"), scene, {}, state));
  EXPECT_FALSE(SaveShemaFile(Path("no/such/folder/s.kvn"), scene, {}, state));
  EXPECT_EQ(ReadBytes(Path("plainfile")), QByteArray("x"));
}

TEST_F(SchemeFileTest, CarriageReturnInsideAValueReadsAsABlank) {
  // Found by fuzzing: such a value could be read but never written back.
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  ASSERT_TRUE(LoadBytes(Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=1\n\n[FIG_1]\n") + "Name=a\rb\r\n", scene, rows, state));
  EXPECT_EQ(scene.Figures.at(0).Name, QStringLiteral("a b"));
  EXPECT_TRUE(SaveShemaFile(Path("cr.kvn"), scene, rows, state));
}

TEST_F(SchemeFileTest, GarbageNeverCrashes) {
  QByteArray garbage;
  quint32 seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage.append(static_cast<char>(seed >> 16));
  }
  const QByteArray header = Kvn("[COMMON]\nFormatFile=KVN 1.0\nFigCount=3\n\n[FIG_1]\nVid=14\nPoint=");
  const QByteArray inputs[] = {garbage, header + garbage, header.left(header.size() / 2),
                               header + "3030\r\n[FIG_2]\nVid=11\nBitmap=424D" + garbage.toHex()};
  for (const QByteArray& bytes : inputs) {
    stScena scene;
    FormulaGrid rows;
    EditorState state;
    if (LoadBytes(bytes, scene, rows, state)) {
      EXPECT_GE(rows.size(), 1);
    }
    EXPECT_LE(scene.Figures.size(), 3u);
  }
}

}  // namespace
}  // namespace korvan
