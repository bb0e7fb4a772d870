// The main window built offscreen over temporary folders, driven through its handlers.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/KorvanForm.h"
#include "common/QtPrinters.h"
#include "common/ScriptedPrompter.h"
#include "model/SchemeFile.h"
#include "support/IniDocument.h"

namespace korvan {
namespace {

void WriteScheme(const QString& path, int figures, const FormulaGrid& rows = {}) {
  stScena scene;
  for (int i = 0; i < figures; ++i) {
    stFigure f;
    f.Guid = QStringLiteral("00000000-0000-0000-0000-%1").arg(i, 12, 10, QLatin1Char('0'));
    f.Name = QStringLiteral("Фигура_%1").arg(i + 1);
    f.Vid = static_cast<std::uint8_t>(FigureKind::Rectangle);
    f.X0 = 10 + i * 30;
    f.Y0 = 10;
    f.X1 = 30 + i * 30;
    f.Y1 = 40;
    scene.Figures.push_back(f);
  }
  EditorState state;
  state.ImageWidth = 640;
  state.ImageHeight = 480;
  ASSERT_TRUE(SaveShemaFile(path, scene, rows, state));
}

class KorvanFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(exe_.isValid());
    env_.executableDir = exe_.path();
    env_.userDataDir = user_.path();
  }

  std::unique_ptr<TKorvanForm1> Start(const QStringList& args = {}) {
    env_.arguments = args;
    auto form = std::make_unique<TKorvanForm1>(env_);
    form->FormCreate();
    return form;
  }

  QTemporaryDir exe_, user_, schemes_;
  TKorvanForm1::Environment env_;
  test::ScriptedPrompter prompter_;
  ScopedPrompter scope_{&prompter_};
};

TEST_F(KorvanFormTest, StartsOnTheFirstSchemeOfTheFolder) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  WriteScheme(folder + QStringLiteral("Б.kvn"), 1);
  WriteScheme(folder + QStringLiteral("А.kvn"), 3, {{QStringLiteral("Ф"), QStringLiteral("1+1"), QStringLiteral("2.0")}});
  auto form = Start({folder + QLatin1Char('?')});
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvan"));
  EXPECT_EQ(form->State.ShemaFolder, folder);
  EXPECT_EQ(form->State.ShemaFile, folder + QStringLiteral("А.kvn"));
  EXPECT_EQ(form->Scene.Figures.size(), 3u);
  EXPECT_EQ(form->State.ImageWidth, 640);
  EXPECT_EQ(form->SceneBitmap.size(), QSize(640, 480));
  EXPECT_EQ(form->FormulaRowsFromGrid().value(0).value(1), QStringLiteral("1+1"));
  EXPECT_TRUE(form->UndoList.empty());
  EXPECT_FALSE(form->State.Modified);
  EXPECT_TRUE(prompter_.shown.isEmpty());
  EXPECT_TRUE(form->close());  // unchanged: closes without a question
  EXPECT_TRUE(prompter_.shown.isEmpty());
}

TEST_F(KorvanFormTest, WithoutAQuestionMarkTheSampleFolderIsUsed) {
  auto form = Start({schemes_.path() + QLatin1Char('/')});
  EXPECT_EQ(form->State.ShemaFolder, exe_.path() + QStringLiteral("/Korvan/Sample/"));
  EXPECT_EQ(form->State.ShemaFile, exe_.path() + QStringLiteral("/Korvan/Sample/Схема 1.kvn"));
  EXPECT_TRUE(form->Scene.Figures.empty());
  EXPECT_EQ(form->State.SettingsFile, exe_.path() + QStringLiteral("/Korvan/Korvan.ini"));
}

TEST_F(KorvanFormTest, CloseAfterAnEditAsksToSave) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  const QString file = folder + QStringLiteral("Комната.kvn");
  WriteScheme(file, 2);
  auto form = Start({folder + QLatin1Char('?')});
  const auto edit = [&] {
    form->UndoList.push_back(form->Scene);
    form->Scene.Figures.pop_back();
  };
  edit();

  // Cancel: the window stays.
  prompter_.QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(prompter_.shown.size(), 1);
  EXPECT_EQ(prompter_.shown[0].text, QStringLiteral("Сохранить схему?"));
  EXPECT_EQ(prompter_.shown[0].caption, QStringLiteral("Korvan"));

  // No: closes, the file keeps both figures.
  prompter_.QueueAnswer(Answer::No);
  EXPECT_TRUE(form->close());
  stScena onDisk;
  FormulaGrid rows;
  EditorState state;
  ASSERT_TRUE(LoadShemaFile(file, onDisk, rows, state));
  EXPECT_EQ(onDisk.Figures.size(), 2u);

  // Yes: saved, then closed.
  form = Start({folder + QLatin1Char('?')});
  edit();
  prompter_.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(form->close());
  ASSERT_TRUE(LoadShemaFile(file, onDisk, rows, state));
  EXPECT_EQ(onDisk.Figures.size(), 1u);
}

TEST_F(KorvanFormTest, FailedSaveOnCloseKeepsTheWindowOpen) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  WriteScheme(folder + QStringLiteral("A.kvn"), 1);
  auto form = Start({folder + QLatin1Char('?')});
  form->UndoList.push_back(form->Scene);
  form->State.ShemaFile = folder + QStringLiteral("missing/dir/A.kvn");
  prompter_.QueueAnswer(Answer::Yes);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(prompter_.shown.size(), 2);
  EXPECT_EQ(prompter_.shown[1].text, QStringLiteral("Не удалось сохранить схему: ") + form->State.ShemaFile);
  EXPECT_FALSE(form->UndoList.empty());  // nothing was given up
}

TEST_F(KorvanFormTest, ExchangeFileIsReadAtStartAndWrittenOnSave) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  WriteScheme(folder + QStringLiteral("Дом.kvn"), 2,
              {{QStringLiteral("Пол"), QStringLiteral("2*3"), QString()},
               {QStringLiteral("Двойной"), QStringLiteral("Пол*2"), QString()}});
  const QString exchange = schemes_.path() + QStringLiteral("/obmen.ini");
  IniDocument doc;
  ASSERT_TRUE(doc.SetValue(QStringLiteral("Formula"), QStringLiteral("FormulaNorma"), QStringLiteral("Двойной+1")));
  ASSERT_TRUE(doc.SetValue(QStringLiteral("Formula"), QStringLiteral("FormulaCount"), QStringLiteral("1")));
  ASSERT_TRUE(doc.SetValue(QStringLiteral("Formula"), QStringLiteral("FormulaVid_1"), QStringLiteral("0")));
  ASSERT_TRUE(doc.SetValue(QStringLiteral("Formula"), QStringLiteral("FormulaName_1"), QStringLiteral("Смета_1")));
  ASSERT_TRUE(doc.SaveFile(exchange));

  auto form = Start({folder + QLatin1Char('?') + exchange});
  EXPECT_FALSE(QFileInfo::exists(exchange));  // read once, then gone
  EXPECT_EQ(form->Link.SmetaNormaFormula, QStringLiteral("Двойной+1"));
  ASSERT_EQ(form->Link.SmetaFormulas.size(), 1u);
  EXPECT_EQ(form->Link.SmetaFormulas[0].Name, QStringLiteral("Смета_1"));
  // Values are computed as the scheme is read, each row seeing the rows above it.
  const FormulaGrid rows = form->FormulaRowsFromGrid();
  EXPECT_EQ(rows.value(0).value(2), QStringLiteral("6.0"));
  EXPECT_EQ(rows.value(1).value(2), QStringLiteral("12.0"));

  form->UndoList.push_back(form->Scene);
  prompter_.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(form->close());
  IniDocument written;
  ASSERT_TRUE(written.LoadFile(exchange));
  // Names are expanded in row order: "Пол" comes in with the later row and stays a name.
  EXPECT_EQ(written.Value(QStringLiteral("Formula"), QStringLiteral("FormulaStr")),
            std::optional<QString>(QStringLiteral("Пол*2+1")));
}

TEST_F(KorvanFormTest, MissingExchangeFileIsSkipped) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  auto form = Start({folder + QStringLiteral("?") + folder + QStringLiteral("absent.ini")});
  EXPECT_TRUE(form->Link.Linked());
  EXPECT_TRUE(form->Link.SmetaFormulas.empty());
  EXPECT_TRUE(prompter_.shown.isEmpty());
  // An empty table proposes the first free formula name.
  EXPECT_EQ(form->FormulaRowsFromGrid(), (FormulaGrid{{QStringLiteral("Формула_1"), QString(), QString()}}));
}

TEST_F(KorvanFormTest, SceneIsPaintedAndExportedAtItsFullSize) {
  const QString folder = schemes_.path() + QLatin1Char('/');
  WriteScheme(folder + QStringLiteral("A.kvn"), 2);
  auto form = Start({folder + QLatin1Char('?')});
  // The first rectangle's top-left corner is drawn in its black pen on the white background.
  EXPECT_EQ(form->SceneBitmap.pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(form->SceneBitmap.pixel(5, 5), qRgb(255, 255, 255));
  auto* figures = form->findChild<QComboBox*>(QStringLiteral("FigureComboBox1"));
  ASSERT_NE(figures, nullptr);
  ASSERT_EQ(figures->count(), 2);
  EXPECT_EQ(figures->itemText(1), QStringLiteral("Фигура_2"));

  for (const char* suffix : {"bmp", "png"}) {
    const QString path = folder + QStringLiteral("export.") + QLatin1String(suffix);
    ASSERT_TRUE(form->SaveSceneImageTo(path, QStringLiteral("bmp")));
    const QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(640, 480)) << suffix;
    EXPECT_EQ(saved.pixel(10, 10), qRgb(0, 0, 0)) << suffix;
  }
  // No suffix typed: the filter's format is added.
  ASSERT_TRUE(form->SaveSceneImageTo(folder + QStringLiteral("plain"), QStringLiteral("bmp")));
  EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("plain.bmp")));
  EXPECT_TRUE(prompter_.shown.isEmpty());

  // A folder that does not exist: told, not crashed.
  EXPECT_FALSE(form->SaveSceneImageTo(folder + QStringLiteral("no/such/x.bmp"), QStringLiteral("bmp")));
  ASSERT_EQ(prompter_.shown.size(), 1);
  EXPECT_TRUE(prompter_.shown[0].text.contains(QStringLiteral("x.bmp")));
}

TEST_F(KorvanFormTest, GridToggleRepaints) {
  auto form = Start();
  auto* grid = form->findChild<QAction*>(QStringLiteral("GridItem1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(form->SceneBitmap.pixel(40, 7), qRgb(255, 255, 255));
  grid->trigger();
  EXPECT_TRUE(form->State.GridEnabled);
  EXPECT_EQ(form->SceneBitmap.pixel(40, 7), qRgb(0xC0, 0xC0, 0xC0));  // the vertical line at x = 40
  grid->trigger();
  EXPECT_FALSE(form->State.GridEnabled);
  EXPECT_EQ(form->SceneBitmap.pixel(40, 7), qRgb(255, 255, 255));
}

TEST_F(KorvanFormTest, ToolsPanelHidesAndShows) {
  auto form = Start();
  auto* panel = form->findChild<QWidget*>(QStringLiteral("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->maximumWidth(), 119);
  form->HideToolsPanelSpeedButton1Click();
  EXPECT_EQ(panel->maximumWidth(), 12);
  form->HideToolsPanelSpeedButton1Click();
  EXPECT_EQ(panel->maximumWidth(), 119);
}

TEST_F(KorvanFormTest, ControlsCarryTheirNames) {
  auto form = Start();
  for (const char* name : {"bsRibbon1", "Panel1", "ToolsPanel1", "LupaPanel1", "LupaPaintBox1", "ScrollBox1",
                           "PaintBox1", "FigureComboBox1", "FormulaStringGrid1", "FormulaPanel1",
                           "bsSkinStatusPanel1", "bsSkinStatusPanel2", "bsSkinStatusPanel3",
                           "HideToolsPanelSpeedButton1"})
    EXPECT_NE(form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  auto* grid = form->FormulaTableWidget();
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Имя формулы"));
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Формула"));
  EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Значение"));
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("FormulaPanel1"))->text(), QStringLiteral(" Расчетная формула: "));
}

}  // namespace
}  // namespace korvan
