#pragma once
// The scene image leaving the program: as a picture file or for the clipboard. Both take the
// image exactly as last painted, at its full size, whatever part of it the window shows.

#include <QImage>
#include <QString>

#include <optional>

namespace korvan {

enum class ImageFileFormat { Bmp, Png };

// The format a file name asks for by its extension (".bmp" or ".png", any case); none otherwise.
std::optional<ImageFileFormat> ImageFormatForPath(const QString& path);

// Writes the image to path in the format, replacing an existing file only once the new one is
// complete. On failure the result is false, an existing file is left as it was, and error (when
// given) holds a sentence for the user naming the file; nothing is thrown.
bool SaveSceneImage(const QImage& bitmap, const QString& path, ImageFileFormat format, QString* error = nullptr);

// The picture for the clipboard: a copy of the whole image in RGB32, independent of later
// repaints. The window hands it to QGuiApplication::clipboard()->setImage.
QImage ClipboardImage(const QImage& bitmap);

}  // namespace korvan
