// The window's side of painting: the scene image shown on the canvas, the figure list, the
// magnifier, and the image leaving the program as a file or on the clipboard.

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageWriter>

#include "app/CanvasWidgets.h"
#include "app/KorvanForm.h"
#include "render/ImageExport.h"
#include "support/Prompter.h"

namespace korvan {

void TKorvanForm1::RedrawScene(int refreshMeasures) {
  Q_UNUSED(refreshMeasures);  // the measure panel arrives with figure selection
  painter_.RedrawScene(SceneBitmap, Scene, State, PaintState);

  const QStringList names = FigureNames(Scene);
  FigureComboBox1->clear();
  FigureComboBox1->addItems(names);

  if (PaintBox1->size() != SceneBitmap.size()) PaintBox1->setFixedSize(SceneBitmap.size());
  PaintBox1->update();
}

void TKorvanForm1::ResizeSceneBitmap() {
  if (!korvan::ResizeSceneBitmap(SceneBitmap, State))
    CurrentPrompter().Warn(State.Title, QStringLiteral("Не хватает оперативной памяти!"));
}

void TKorvanForm1::DrawMagnifier(int x, int y) { LupaPaintBox1->ShowAround(QPoint(x, y)); }

void TKorvanForm1::SaveAsBitmapItem1Click() {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Сохранить как рисунок"), State.ShemaFolder,
      QStringLiteral("Рисунок (*.bmp);;Рисунок PNG (*.png)"), &filter);
  if (path.isEmpty()) return;
  SaveSceneImageTo(path, filter.contains(QStringLiteral("png")) ? QStringLiteral("png") : QStringLiteral("bmp"));
}

bool TKorvanForm1::SaveSceneImageTo(QString path, const QString& defaultSuffix) {
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + defaultSuffix;
  // Any other extension typed by the user still gets a BMP, as the dialog's filter promised.
  const ImageFileFormat format = ImageFormatForPath(path).value_or(ImageFileFormat::Bmp);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  RedrawScene(1);
  QString error;
  const bool saved = SaveSceneImage(SceneBitmap, path, format, &error);
  QGuiApplication::restoreOverrideCursor();
  if (!saved) CurrentPrompter().Warn(State.Title, error);
  return saved;
}

void TKorvanForm1::CopyToClipboardItem1Click() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QGuiApplication::clipboard()->setImage(ClipboardImage(SceneBitmap));
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace korvan
