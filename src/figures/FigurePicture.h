#pragma once
// The "Bitmap" value of a picture figure: the picture as a BMP file image in hexadecimal.

#include <QString>

#include "model/Figure.h"
#include "support/IniDocument.h"

namespace korvan {

// Stores the picture as BMP file bytes; a figure without a picture stores an empty value.
void WriteFigurePicture(IniDocument& doc, const QString& section, const stFigure& figure);
// Loads the picture when the value holds bytes; bytes that are no BMP image leave the picture
// empty rather than failing the scheme.
void ReadFigurePicture(const IniDocument& doc, const QString& section, stFigure& figure);

}  // namespace korvan
