// The main window: construction of its regions and its life from start to close.

#include "app/KorvanForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/CanvasWidgets.h"
#include "app/QtPrompter.h"
#include "app/ToolCursors.h"
#include "formula/ExchangeFile.h"
#include "model/SchemeFile.h"
#include "support/Prompter.h"
#include "support/ZDirFile.h"

namespace korvan {
namespace {

QColor FromColorRef(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// A captioned group of the ribbon holding tool buttons side by side.
QGroupBox* RibbonGroup(const QString& caption, std::initializer_list<QAction*> actions) {
  auto* box = new QGroupBox(caption);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(2);
  for (QAction* a : actions) {
    auto* b = new QToolButton;
    b->setDefaultAction(a);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    row->addWidget(b);
  }
  return box;
}

QWidget* RibbonPage(std::initializer_list<QGroupBox*> groups) {
  auto* page = new QWidget;
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(2, 2, 2, 2);
  for (QGroupBox* g : groups) row->addWidget(g);
  row->addStretch(1);
  return page;
}

}  // namespace

TKorvanForm1::TKorvanForm1(const Environment& env, QWidget* parent) : QMainWindow(parent) {
  // 1. Every field of the state starts at its initial value (EditorState's initialisers).
  setObjectName(QStringLiteral("KorvanForm1"));
  // Message boxes over this window, unless a prompter is in force already (a test's).
  if (!InstalledPrompter()) {
    prompter_ = std::make_unique<QtPrompter>(this);
    InstallPrompter(prompter_.get());
  }

  // 3. Title, paths; 4 and 7. the editor's folders, created as needed.
  setWindowTitle(State.Title);
  QApplication::setApplicationDisplayName(QString());
  Args = ParseCommandLine(env.arguments);
  Folders = ResolveEditorFolders(env.executableDir, env.userDataDir, Args);
  State.SettingsFile = Folders.SettingsFile;
  State.ShemaFolder = Folders.ShemaFolder;
  // 8. The estimate program's exchange file is read once and removed, so that a stale one is never
  // taken for its answer.
  Link.SmetaFileArg = Args.SmetaFileArg;
  if (Link.Linked() && QFileInfo::exists(Link.SmetaFileArg)) {
    ReadExchangeFile(Link.SmetaFileArg, Link);
    QFile::remove(Link.SmetaFileArg);
  }

  BuildActions();
  BuildMenus();
  BuildRibbon();
  auto* central = new QWidget;
  auto* columns = new QHBoxLayout(central);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(0);
  columns->addWidget(BuildToolsPanel());
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(BuildCanvas());
  split->addWidget(BuildBottomPanel());
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 0);
  split->setSizes({560, 144});
  auto* right = new QWidget;
  auto* rows = new QVBoxLayout(right);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  rows->addWidget(bsRibbon1);
  rows->addWidget(split, 1);
  columns->addWidget(right, 1);
  setCentralWidget(central);
  BuildStatusBar();

  // 9. The scene bitmap at its largest size; resized when a scheme is opened.
  SceneBitmap = QImage(State.MaxImageWidth, State.MaxImageHeight, QImage::Format_RGB32);
  if (SceneBitmap.isNull()) {
    CurrentPrompter().Warn(State.Title, QStringLiteral("Не хватает оперативной памяти!"));
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  }
  // 10. The tool cursors.
  RegisterToolCursors();
  resize(1280, 860);
}

TKorvanForm1::~TKorvanForm1() {
  FormDestroy();
  if (prompter_ && InstalledPrompter() == prompter_.get()) InstallPrompter(nullptr);
}

void TKorvanForm1::BuildActions() {
  SaveAsBitmapItem1 = new QAction(QStringLiteral("Сохранить как рисунок..."), this);
  SaveAsBitmapItem1->setObjectName(QStringLiteral("SaveAsBitmapItem1"));
  SaveAsBitmapItem1->setIconText(QStringLiteral("Сохранить как рисунок"));
  connect(SaveAsBitmapItem1, &QAction::triggered, this, &TKorvanForm1::SaveAsBitmapItem1Click);

  CopyToClipboardItem1 = new QAction(QStringLiteral("Сохранить рисунок в буфере обмена"), this);
  CopyToClipboardItem1->setObjectName(QStringLiteral("CopyToClipboardItem1"));
  CopyToClipboardItem1->setIconText(QStringLiteral("Рисунок в буфер обмена"));
  connect(CopyToClipboardItem1, &QAction::triggered, this, &TKorvanForm1::CopyToClipboardItem1Click);

  GridItem1 = new QAction(QStringLiteral("Сетка"), this);
  GridItem1->setObjectName(QStringLiteral("GridItem1"));
  GridItem1->setCheckable(true);
  GridItem1->setChecked(State.GridEnabled);
  connect(GridItem1, &QAction::triggered, this, &TKorvanForm1::GridSpeedButton1Click);

  LupaItem1 = new QAction(QStringLiteral("Лупа"), this);
  LupaItem1->setObjectName(QStringLiteral("LupaItem1"));
  LupaItem1->setCheckable(true);
  LupaItem1->setChecked(State.LupaEnabled);
  connect(LupaItem1, &QAction::triggered, this, &TKorvanForm1::LupaSpeedButton1Click);

  ExitItem1 = new QAction(QStringLiteral("Выход"), this);
  ExitItem1->setObjectName(QStringLiteral("ExitItem1"));
  connect(ExitItem1, &QAction::triggered, this, &QWidget::close);
}

void TKorvanForm1::BuildMenus() {
  QMenu* scheme = menuBar()->addMenu(QStringLiteral("Схема"));
  scheme->setObjectName(QStringLiteral("ShemaMenu1"));
  scheme->addAction(SaveAsBitmapItem1);
  scheme->addAction(CopyToClipboardItem1);
  scheme->addSeparator();
  scheme->addAction(ExitItem1);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("Инструменты"));
  tools->setObjectName(QStringLiteral("ToolsMenu1"));
  tools->addAction(LupaItem1);
  tools->addAction(GridItem1);
}

void TKorvanForm1::BuildRibbon() {
  bsRibbon1 = new QTabWidget;
  bsRibbon1->setObjectName(QStringLiteral("bsRibbon1"));
  bsRibbon1->setDocumentMode(true);
  bsRibbon1->addTab(RibbonPage({RibbonGroup(QStringLiteral("Импорт/экспорт"), {SaveAsBitmapItem1, CopyToClipboardItem1})}),
                    QStringLiteral("Схема"));
  bsRibbon1->addTab(RibbonPage({RibbonGroup(QStringLiteral("Сервис"), {LupaItem1, GridItem1})}),
                    QStringLiteral("Инструменты"));
  bsRibbon1->setCurrentIndex(0);
}

QWidget* TKorvanForm1::BuildToolsPanel() {
  Panel1 = new QWidget;
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedWidth(119);
  auto* column = new QVBoxLayout(Panel1);
  column->setContentsMargins(2, 2, 2, 2);

  ToolsPanel1 = new QWidget;
  ToolsPanel1->setObjectName(QStringLiteral("ToolsPanel1"));
  auto* tools = new QVBoxLayout(ToolsPanel1);
  tools->setContentsMargins(0, 0, 0, 0);
  auto* lupaFrame = new QFrame;
  lupaFrame->setFrameShape(QFrame::StyledPanel);
  LupaPanel1 = lupaFrame;
  LupaPanel1->setObjectName(QStringLiteral("LupaPanel1"));
  LupaPanel1->setFixedSize(116, 103);
  auto* lupa = new QVBoxLayout(LupaPanel1);
  lupa->setContentsMargins(1, 1, 1, 1);
  LupaPaintBox1 = new MagnifierWidget(this);
  lupa->addWidget(LupaPaintBox1);
  LupaPanel1->setVisible(State.LupaEnabled);
  tools->addStretch(1);
  tools->addWidget(LupaPanel1);
  column->addWidget(ToolsPanel1, 1);

  HideToolsPanelSpeedButton1 = new QToolButton;
  HideToolsPanelSpeedButton1->setObjectName(QStringLiteral("HideToolsPanelSpeedButton1"));
  HideToolsPanelSpeedButton1->setText(QStringLiteral("<"));
  HideToolsPanelSpeedButton1->setToolTip(QStringLiteral("Скрыть панель"));
  HideToolsPanelSpeedButton1->setAutoRaise(true);
  connect(HideToolsPanelSpeedButton1, &QToolButton::clicked, this, &TKorvanForm1::HideToolsPanelSpeedButton1Click);
  column->addWidget(HideToolsPanelSpeedButton1, 0, Qt::AlignLeft | Qt::AlignBottom);
  return Panel1;
}

QWidget* TKorvanForm1::BuildCanvas() {
  ImagePanel1 = new QWidget;
  ImagePanel1->setObjectName(QStringLiteral("ImagePanel1"));
  auto* layout = new QVBoxLayout(ImagePanel1);
  layout->setContentsMargins(0, 0, 0, 0);
  ScrollBox1 = new QScrollArea;
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ScrollBox1->setBackgroundRole(QPalette::Window);
  QPalette pal = ScrollBox1->palette();
  pal.setColor(QPalette::Window, FromColorRef(0xEFEFEF));
  ScrollBox1->setPalette(pal);
  ScrollBox1->setAutoFillBackground(true);
  PaintBox1 = new CanvasWidget(this);
  ScrollBox1->setWidget(PaintBox1);
  ScrollBox1->setWidgetResizable(false);
  layout->addWidget(ScrollBox1);
  return ImagePanel1;
}

QWidget* TKorvanForm1::BuildBottomPanel() {
  Panel4 = new QWidget;
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel4->setMinimumHeight(144);
  auto* column = new QVBoxLayout(Panel4);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);

  auto* panel5 = new QWidget;
  panel5->setObjectName(QStringLiteral("Panel5"));
  auto* figureRow = new QHBoxLayout(panel5);
  figureRow->setContentsMargins(0, 0, 0, 0);
  figureRow->addWidget(new QLabel(QStringLiteral("Фигуры:")));
  FigureComboBox1 = new QComboBox;
  FigureComboBox1->setObjectName(QStringLiteral("FigureComboBox1"));
  FigureComboBox1->setMinimumWidth(200);
  figureRow->addWidget(FigureComboBox1);
  figureRow->addStretch(1);
  column->addWidget(panel5);

  FormulaStringGrid1 = new QTableWidget(0, 3);
  FormulaStringGrid1->setObjectName(QStringLiteral("FormulaStringGrid1"));
  FormulaStringGrid1->setHorizontalHeaderLabels(
      {QStringLiteral("Имя формулы"), QStringLiteral("Формула"), QStringLiteral("Значение")});
  FormulaStringGrid1->verticalHeader()->setVisible(false);
  FormulaStringGrid1->verticalHeader()->setDefaultSectionSize(18);
  FormulaStringGrid1->setColumnWidth(0, 103);
  FormulaStringGrid1->setColumnWidth(1, 671);
  FormulaStringGrid1->setColumnWidth(2, 74);
  FormulaStringGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  FormulaStringGrid1->horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section { background-color: #E6F0E6; }"));
  FormulaStringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  column->addWidget(FormulaStringGrid1, 1);

  FormulaPanel1 = new QLabel(QStringLiteral(" Расчетная формула: "));
  FormulaPanel1->setObjectName(QStringLiteral("FormulaPanel1"));
  FormulaPanel1->setFrameShape(QFrame::StyledPanel);
  column->addWidget(FormulaPanel1);
  return Panel4;
}

void TKorvanForm1::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  bsSkinStatusPanel1 = new QLabel;
  bsSkinStatusPanel1->setObjectName(QStringLiteral("bsSkinStatusPanel1"));
  bsSkinStatusPanel1->setMinimumWidth(160);
  bsSkinStatusPanel2 = new QLabel;
  bsSkinStatusPanel2->setObjectName(QStringLiteral("bsSkinStatusPanel2"));
  bsSkinStatusPanel2->setMinimumWidth(160);
  bsSkinStatusPanel3 = new QLabel;
  bsSkinStatusPanel3->setObjectName(QStringLiteral("bsSkinStatusPanel3"));
  statusBar()->addWidget(bsSkinStatusPanel1);
  statusBar()->addWidget(bsSkinStatusPanel2);
  statusBar()->addWidget(bsSkinStatusPanel3, 1);
}

FormulaGrid TKorvanForm1::FormulaRowsFromGrid() const {
  FormulaGrid rows;
  for (int r = 0; r < FormulaStringGrid1->rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < 3; ++c) {
      const QTableWidgetItem* item = FormulaStringGrid1->item(r, c);
      row << (item ? item->text() : QString());
    }
    rows << row;
  }
  return rows;
}

void TKorvanForm1::SetFormulaRowsToGrid(const FormulaGrid& rows) {
  FormulaStringGrid1->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < 3; ++c) FormulaStringGrid1->setItem(r, c, new QTableWidgetItem(rows[r].value(c)));
}

void TKorvanForm1::FormCreate() {
  // The first scheme of the folder, in name order; an empty folder gives the default name.
  QStringList files;
  ZDirFile().ListFiles(State.ShemaFolder, QStringLiteral("*") + State.ShemaExt, files);
  std::sort(files.begin(), files.end());
  const QString first = files.isEmpty() ? QStringLiteral("Схема 1")
                                        : QFileInfo(files.first()).fileName().chopped(State.ShemaExt.size());
  State.ShemaFile = State.ShemaFolder + first + State.ShemaExt;
  OpenCurrentScheme();
}

void TKorvanForm1::OpenCurrentScheme() {
  Table.OldNameFormula = stOldNameFormula{};
  ClearScene(Scene);
  FormulaGrid rows;
  ResetFormulaTable(rows, Table, Scene.Figures, State, Link);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  LoadShemaFile(State.ShemaFile, Scene, rows, State, MakeSchemeLoadHooks(State, Link));
  QGuiApplication::restoreOverrideCursor();
  SetFormulaRowsToGrid(rows);
  UpdateFormulaStatus(rows, Table.CurrentRow, Scene.Figures, State, Table);
  FormulaPanel1->setText(Table.Status);
  ResizeSceneBitmap();
  RedrawScene(1);
  UndoList.clear();
  RedoList.clear();
  State.Modified = false;
}

void TKorvanForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QMainWindow::changeEvent(event);
}

void TKorvanForm1::FormActivate() { bsRibbon1->setFocus(); }

bool TKorvanForm1::FormCloseQuery() {
  if (UndoList.empty() && !State.Modified) return true;
  switch (CurrentPrompter().Ask(State.Title, QStringLiteral("Сохранить схему?"))) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    case Answer::Yes:
      break;
  }
  // Closing after a failed save would lose the work; the user decides again.
  return SaveCurrentScheme();
}

bool TKorvanForm1::SaveCurrentScheme() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const FormulaGrid rows = FormulaRowsFromGrid();
  const bool saved = SaveShemaFile(State.ShemaFile, Scene, rows, State);
  const bool exchanged =
      !saved || WriteExchangeFile(Link.SmetaFileArg, Link.SmetaNormaFormula, Scene.Figures, rows, State, Link);
  QGuiApplication::restoreOverrideCursor();
  if (!saved) {
    CurrentPrompter().Warn(State.Title, QStringLiteral("Не удалось сохранить схему: ") + State.ShemaFile);
    return false;
  }
  // The scheme is safe; the histories go as after any save, but the estimate program must learn
  // that its file is missing.
  UndoList.clear();
  RedoList.clear();
  State.Modified = false;
  if (!exchanged)
    CurrentPrompter().Warn(State.Title, QStringLiteral("Не удалось записать файл обмена: ") + Link.SmetaFileArg);
  return true;
}

void TKorvanForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

void TKorvanForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  ClearScene(Scene);
  UndoList.clear();
  RedoList.clear();
  SceneBitmap = QImage();
}

void TKorvanForm1::HideToolsPanelSpeedButton1Click() {
  const bool show = ToolsPanel1->isHidden();
  ToolsPanel1->setVisible(show);
  if (show) {
    Panel1->setFixedWidth(119);
    HideToolsPanelSpeedButton1->setText(QStringLiteral("<"));
    HideToolsPanelSpeedButton1->setToolTip(QStringLiteral("Скрыть панель"));
  } else {
    Panel1->setFixedWidth(12);
    HideToolsPanelSpeedButton1->setText(QStringLiteral(">"));
    HideToolsPanelSpeedButton1->setToolTip(QStringLiteral("Показать панель"));
  }
}

void TKorvanForm1::GridSpeedButton1Click() {
  State.GridEnabled = GridItem1->isChecked();
  RedrawScene(1);
}

void TKorvanForm1::LupaSpeedButton1Click() {
  State.LupaEnabled = LupaItem1->isChecked();
  LupaPanel1->setVisible(State.LupaEnabled);
}

void TKorvanForm1::CanvasMouseMove(const QPoint& scenePos) {
  bsSkinStatusPanel1->setText(QStringLiteral(" X=%1  Y=%2").arg(scenePos.x()).arg(scenePos.y()));
  DrawMagnifier(scenePos.x(), scenePos.y());
}

}  // namespace korvan
