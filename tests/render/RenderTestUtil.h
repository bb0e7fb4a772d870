#pragma once
// Building small scenes and reading the painted pixels back.

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/EditorState.h"
#include "model/FontConversion.h"
#include "model/Scene.h"
#include "render/ScenePainter.h"

namespace korvan::test {

inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kRed = 0x0000FF;
inline constexpr ColorRef kGreen = 0x00FF00;
inline constexpr ColorRef kBlue = 0xFF0000;
inline constexpr ColorRef kYellow = 0x00FFFF;
inline constexpr ColorRef kGray = 0x808080;

// A figure with a black one-pixel solid pen, a red solid brush, no dimension lines.
inline stFigure Fig(FigureKind kind, int x0, int y0, int x1, int y1, int fill = 0) {
  stFigure f;
  f.Vid = static_cast<std::uint8_t>(kind);
  f.X0 = x0;
  f.Y0 = y0;
  f.X1 = x1;
  f.Y1 = y1;
  f.VidFill = static_cast<std::uint8_t>(fill);
  f.PenColor = kBlack;
  f.PenWidth = 1;
  f.PenStyle = 0;
  f.BrushColor = kRed;
  f.BrushStyle = 0;
  f.ShowStrelki = false;
  f.Font.Name = QStringLiteral("Arial");
  f.Font.Size = 0;
  f.Font.Height = -14;
  return f;
}

// A font whose text height is exactly the given number of pixels, found by trying pixel sizes.
inline bool FontWithTextHeight(int height, stFont& out) {
  for (int px = 6; px < 60; ++px) {
    stFont f;
    f.Name = QStringLiteral("Arial");
    f.Size = 0;
    f.Height = -px;
    if (QFontMetrics(ToQFont(f)).height() == height) {
      out = f;
      return true;
    }
  }
  return false;
}

struct Painted {
  QImage image;
  stScena scene;
  EditorState state;
  PaintResult result;

  ColorRef At(int x, int y) const {
    const QRgb p = image.pixel(x, y);
    return static_cast<ColorRef>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
  }
  bool Is(int x, int y, ColorRef c) const { return At(x, y) == c; }
  // Pixels of the colour inside the rectangle (inclusive bounds), clipped to the image.
  int Count(ColorRef c, int l = 0, int t = 0, int r = -1, int b = -1) const {
    if (r < 0) r = image.width() - 1;
    if (b < 0) b = image.height() - 1;
    int n = 0;
    for (int y = std::max(t, 0); y <= std::min(b, image.height() - 1); ++y)
      for (int x = std::max(l, 0); x <= std::min(r, image.width() - 1); ++x) n += Is(x, y, c);
    return n;
  }
  // Pixels of any colour other than c (the "ink" over a plain background).
  int CountNot(ColorRef c, int l, int t, int r, int b) const {
    return (std::min(r, image.width() - 1) - std::max(l, 0) + 1) * (std::min(b, image.height() - 1) - std::max(t, 0) + 1) -
           Count(c, l, t, r, b);
  }
};

// Paints the figures on a background of the given colour; setup may adjust the state first.
inline Painted Paint(std::vector<stFigure> figures, int w = 200, int h = 160, ColorRef background = kWhite,
                     const PaintOptions& options = {}, const std::function<void(EditorState&)>& setup = {}) {
  Painted p;
  p.scene.Figures = std::move(figures);
  p.scene.BackgroundColor = background;
  p.state.BackgroundColor = background;
  p.state.ImageWidth = w;
  p.state.ImageHeight = h;
  if (setup) setup(p.state);
  EXPECT_TRUE(ResizeSceneBitmap(p.image, p.state));
  ScenePainter painter;
  p.result = painter.RedrawScene(p.image, p.scene, p.state, options);
  return p;
}

}  // namespace korvan::test
