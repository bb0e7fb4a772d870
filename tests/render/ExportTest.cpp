// The scene image written to files and prepared for the clipboard.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "render/ImageExport.h"
#include "render/RenderTestUtil.h"

namespace korvan {
namespace {

using test::Fig;
using test::Paint;

QImage SampleImage() {
  stFigure f = Fig(FigureKind::Ellipse, 10, 10, 120, 70, 1);
  f.Selected = true;
  return Paint({f}, 1280, 1024).image;
}

TEST(RenderExport, FormatsByExtension) {
  struct Row {
    const char* path;
    std::optional<ImageFileFormat> format;
  };
  const Row rows[] = {
      {"a.bmp", ImageFileFormat::Bmp}, {"dir.x/b.BMP", ImageFileFormat::Bmp}, {"c.png", ImageFileFormat::Png},
      {"d.Png", ImageFileFormat::Png}, {"e.jpg", std::nullopt},           {"bmp", std::nullopt},
      {"f.bmp.txt", std::nullopt},     {"", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(ImageFormatForPath(QString::fromUtf8(r.path)), r.format) << r.path;
}

TEST(RenderExport, WrittenFilesReadBackPixelForPixel) {
  const QImage image = SampleImage();
  QTemporaryDir dir;
  struct Row {
    const char* name;
    ImageFileFormat format;
    const char* readerFormat;
  };
  for (const Row r : {Row{"scene.bmp", ImageFileFormat::Bmp, "bmp"}, Row{"scene.png", ImageFileFormat::Png, "png"},
                      Row{"really-png.bmp", ImageFileFormat::Png, "png"}}) {
    const QString path = dir.filePath(QString::fromUtf8(r.name));
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(SaveSceneImage(image, path, r.format, &error)) << error.toStdString();
    EXPECT_EQ(error, QStringLiteral("untouched"));
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray(r.readerFormat)) << r.name;
    const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back.size(), QSize(1280, 1024)) << r.name;
    EXPECT_EQ(back, image) << r.name;
  }
}

TEST(RenderExport, FailureIsReportedAndLeavesOldFilesAlone) {
  const QImage image = SampleImage();
  QTemporaryDir dir;
  QString error;
  const QString nowhere = dir.filePath(QStringLiteral("no/such/dir/scene.bmp"));
  EXPECT_FALSE(SaveSceneImage(image, nowhere, ImageFileFormat::Bmp, &error));
  EXPECT_TRUE(error.contains(nowhere)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_FALSE(SaveSceneImage(image, nowhere, ImageFileFormat::Png));  // no error text asked for

  // A folder standing where the file should go.
  const QString folder = dir.filePath(QStringLiteral("taken.png"));
  ASSERT_TRUE(QDir().mkdir(folder));
  error.clear();
  EXPECT_FALSE(SaveSceneImage(image, folder, ImageFileFormat::Png, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(QFileInfo(folder).isDir());

  // Nothing to write.
  const QString empty = dir.filePath(QStringLiteral("empty.bmp"));
  QFile old(empty);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  EXPECT_FALSE(SaveSceneImage(QImage(), empty, ImageFileFormat::Bmp, &error));
  QFile check(empty);
  ASSERT_TRUE(check.open(QIODevice::ReadOnly));
  EXPECT_EQ(check.readAll(), QByteArray("old"));
}

TEST(RenderExport, ClipboardImageIsAFullSizeCopy) {
  QImage image = SampleImage();
  const QImage before = image.copy();
  const QImage clip = ClipboardImage(image);
  EXPECT_EQ(clip.size(), QSize(1280, 1024));
  EXPECT_EQ(clip.format(), QImage::Format_RGB32);
  EXPECT_EQ(clip, before);
  // Painting the scene again later does not reach the clipboard's picture.
  image.fill(Qt::black);
  EXPECT_EQ(clip, before);
  EXPECT_NE(clip.pixel(60, 40), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace korvan
