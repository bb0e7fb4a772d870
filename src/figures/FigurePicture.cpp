#include "figures/FigurePicture.h"

#include <QBuffer>

namespace korvan {
namespace {
const QString kBitmapKey = QStringLiteral("Bitmap");
}

void WriteFigurePicture(IniDocument& doc, const QString& section, const stFigure& figure) {
  QByteArray bytes;
  if (!figure.Picture.isNull()) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!figure.Picture.save(&buffer, "BMP")) bytes.clear();
  }
  doc.SetBinaryValue(section, kBitmapKey, bytes);
}

void ReadFigurePicture(const IniDocument& doc, const QString& section, stFigure& figure) {
  QByteArray bytes;
  doc.BinaryValue(section, kBitmapKey, bytes);
  if (bytes.isEmpty()) return;
  QImage image;
  if (image.loadFromData(bytes, "BMP") && image.format() != QImage::Format_RGB32 &&
      image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
  figure.Picture = image;
}

}  // namespace korvan
