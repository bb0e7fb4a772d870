#include "model/FontConversion.h"

#include <cmath>
#include <cstdlib>

namespace korvan {

QFont ToQFont(const stFont& font) {
  QFont f;
  if (font.Height != 0) f.setPixelSize(std::abs(font.Height));
  if (!font.Name.isEmpty()) f.setFamily(font.Name);
  f.setFixedPitch(font.Pitch == 2);
  if (font.Size > 0) f.setPixelSize(static_cast<int>(std::lround(font.Size * kSceneDpi / 72.0)));
  f.setBold(font.Bold);
  f.setItalic(font.Italic);
  f.setUnderline(font.Underline);
  f.setStrikeOut(font.StrikeOut);
  return f;
}

stFont FromQFont(const QFont& font, ColorRef color, std::int32_t charset) {
  stFont out;
  out.Charset = charset;
  out.Color = color;
  out.Name = font.family();
  out.Pitch = font.fixedPitch() ? 2 : 0;
  int pixels = font.pixelSize();
  if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * kSceneDpi / 72.0));
  out.Height = -pixels;
  out.Size = font.pointSize() > 0 ? font.pointSize()
                                  : static_cast<std::int32_t>(std::lround(pixels * 72.0 / kSceneDpi));
  out.Bold = font.bold();
  out.Italic = font.italic();
  out.Underline = font.underline();
  out.StrikeOut = font.strikeOut();
  return out;
}

}  // namespace korvan
