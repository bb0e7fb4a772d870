#pragma once
// The editor's main window. It owns the whole editor state for the life of the process; its
// handlers are defined in the folder of their subsystem (painting in src/render, and so on).

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

#include "app/StartupPaths.h"
#include "formula/FormulaTable.h"
#include "formula/FormulaTypes.h"
#include "model/EditorState.h"
#include "model/Scene.h"
#include "render/ScenePainter.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QScrollArea;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QWidget;

namespace korvan {

class CanvasWidget;
class MagnifierWidget;
class Prompter;
class QtPrompter;

class TKorvanForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // Where the window finds its files; tests pass temporary folders.
  struct Environment {
    QString executableDir;  // the program's folder, with or without a trailing "/"
    QString userDataDir;    // the per-user fallback when the program's folder is read-only
    QStringList arguments;  // the command line without the program name
  };

  explicit TKorvanForm1(const Environment& env, QWidget* parent = nullptr);
  ~TKorvanForm1() override;

  // Start-up after construction: lists the schemes and opens the first (FormCreate).
  void FormCreate();
  // Resets the window and loads ShemaFile.
  void OpenCurrentScheme();

  // Repaints the whole scene into SceneBitmap and onto the canvas; refreshMeasures also refreshes
  // the measure panel from the selected figures.
  void RedrawScene(int refreshMeasures);
  // Size of SceneBitmap follows ImageWidth x ImageHeight.
  void ResizeSceneBitmap();
  // The magnifier shows the bitmap round scene point (x, y).
  void DrawMagnifier(int x, int y);
  // Widget coordinates of the canvas to scene pixels (1:1 today; the one place a zoom would touch).
  static QPoint CanvasToScene(const QPoint& widgetPos) { return widgetPos; }

  // Export of the scene bitmap as last painted.
  void SaveAsBitmapItem1Click();
  void CopyToClipboardItem1Click();
  // Writes the image as last painted to path (BMP or PNG by its suffix, defaultSuffix when it has
  // none); a failure is told to the user and returns false.
  bool SaveSceneImageTo(QString path, const QString& defaultSuffix);

  void GridSpeedButton1Click();
  void LupaSpeedButton1Click();
  void HideToolsPanelSpeedButton1Click();

  // State readable by tests and by the other subsystems' handlers.
  EditorState State;
  stScena Scene;
  std::vector<stScena> UndoList, RedoList;
  CommandLineArgs Args;
  EstimateLink Link;          // the estimate program's exchange path, formula and names
  FormulaTableState Table;    // the formula table's current row, old name and status line
  EditorFolders Folders;
  QImage SceneBitmap;
  PaintOptions PaintState;  // mouse and caret state that changes what is painted

  const QImage& SceneImage() const { return SceneBitmap; }
  QTableWidget* FormulaTableWidget() const { return FormulaStringGrid1; }
  // The formula rows as the grid shows them (below the header).
  FormulaGrid FormulaRowsFromGrid() const;
  void SetFormulaRowsToGrid(const FormulaGrid& rows);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class CanvasWidget;

  // Window construction, by region.
  void BuildActions();
  void BuildMenus();
  void BuildRibbon();
  QWidget* BuildToolsPanel();
  QWidget* BuildCanvas();
  QWidget* BuildBottomPanel();
  void BuildStatusBar();

  // Saves the open scheme and writes the exchange file; a failure is told to the user.
  bool SaveCurrentScheme();
  bool FormCloseQuery();
  void FormActivate();
  void FormDestroy();
  void CanvasMouseMove(const QPoint& scenePos);

  std::unique_ptr<QtPrompter> prompter_;
  ScenePainter painter_;

  // Controls, named as the object names they carry.
  QTabWidget* bsRibbon1 = nullptr;
  QWidget* Panel1 = nullptr;
  QWidget* ToolsPanel1 = nullptr;
  QToolButton* HideToolsPanelSpeedButton1 = nullptr;
  QWidget* LupaPanel1 = nullptr;
  MagnifierWidget* LupaPaintBox1 = nullptr;
  QWidget* ImagePanel1 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  CanvasWidget* PaintBox1 = nullptr;
  QWidget* Panel4 = nullptr;
  QComboBox* FigureComboBox1 = nullptr;
  QTableWidget* FormulaStringGrid1 = nullptr;
  QLabel* FormulaPanel1 = nullptr;
  QLabel* bsSkinStatusPanel1 = nullptr;
  QLabel* bsSkinStatusPanel2 = nullptr;
  QLabel* bsSkinStatusPanel3 = nullptr;

  QAction* SaveAsBitmapItem1 = nullptr;
  QAction* CopyToClipboardItem1 = nullptr;
  QAction* GridItem1 = nullptr;
  QAction* LupaItem1 = nullptr;
  QAction* ExitItem1 = nullptr;

  bool destroyed_ = false;
};

}  // namespace korvan
