#include "render/ImageExport.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace korvan {

std::optional<ImageFileFormat> ImageFormatForPath(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == QLatin1String("bmp")) return ImageFileFormat::Bmp;
  if (ext == QLatin1String("png")) return ImageFileFormat::Png;
  return std::nullopt;
}

bool SaveSceneImage(const QImage& bitmap, const QString& path, ImageFileFormat format, QString* error) {
  auto fail = [&](const QString& why) {
    if (error) *error = QStringLiteral("Не удалось сохранить рисунок в файл %1: %2").arg(path, why);
    return false;
  };
  if (bitmap.isNull()) return fail(QStringLiteral("рисунок пуст"));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
  QImageWriter writer(&file, format == ImageFileFormat::Png ? QByteArrayLiteral("png") : QByteArrayLiteral("bmp"));
  if (!writer.write(bitmap.convertToFormat(QImage::Format_RGB32))) {
    file.cancelWriting();
    return fail(writer.errorString());
  }
  if (!file.commit()) return fail(file.errorString());
  return true;
}

QImage ClipboardImage(const QImage& bitmap) {
  QImage copy = bitmap.convertToFormat(QImage::Format_RGB32);
  copy.detach();
  return copy;
}

}  // namespace korvan
