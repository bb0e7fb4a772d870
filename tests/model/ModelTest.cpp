#include <QFontInfo>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "model/FontConversion.h"
#include "model/Scene.h"

namespace korvan {
namespace {

stFigure PictureFigure() {
  stFigure f;
  f.Vid = static_cast<std::uint8_t>(FigureKind::Picture);
  f.Picture = QImage(4, 3, QImage::Format_RGB32);
  f.Picture.fill(Qt::red);
  f.Points = {{1, 2}, {3, 4}};
  f.TextLines = {{0, 0, 10, 10, QStringLiteral("строка")}};
  f.Selected = true;
  f.MarkRects[3] = {1, 2, 3, 4};
  return f;
}

TEST(FigureValue, CopyIsDeepIncludingThePicture) {
  const stFigure original = PictureFigure();
  stFigure copy = original;
  EXPECT_EQ(copy, original);  // every field, Selected, TextLines, Points and MarkRects included

  copy.Picture.setPixel(0, 0, qRgb(0, 0, 255));
  copy.Points[0] = {9, 9};
  copy.TextLines[0].Text = QStringLiteral("другая");
  EXPECT_EQ(original.Picture.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(original.Points[0], QPoint(1, 2));
  EXPECT_EQ(original.TextLines[0].Text, QStringLiteral("строка"));
}

TEST(SceneValue, CopiedSceneSharesNothingObservable) {
  stScena a;
  a.Figures.push_back(PictureFigure());
  a.FormulaRows = {{QStringLiteral("Ф"), QStringLiteral("1+2"), QStringLiteral("3.0")}};
  stScena b = a;
  b.Figures[0].Picture.fill(Qt::green);
  b.FormulaRows[0][1] = QStringLiteral("5");
  EXPECT_EQ(a.Figures[0].Picture.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(a.FormulaRows[0][1], QStringLiteral("1+2"));
}

TEST(SceneValue, ClearSceneKeepsColourAndSize) {
  stScena s;
  s.BackgroundColor = 0x123456;
  s.ImageWidth = 640;
  s.ImageHeight = 480;
  ClearScene(s);  // on an empty scene: nothing happens
  EXPECT_TRUE(s.Figures.empty());
  s.Figures.push_back(PictureFigure());
  s.FormulaRows = {{QString(), QString(), QString()}};
  ClearScene(s);
  EXPECT_TRUE(s.Figures.empty());
  EXPECT_TRUE(s.FormulaRows.isEmpty());
  EXPECT_EQ(s.BackgroundColor, 0x123456u);
  EXPECT_EQ(s.ImageWidth, 640);
  EXPECT_EQ(s.ImageHeight, 480);
}

TEST(FigureValue, BackwardsCornersAreKept) {
  stFigure f;
  f.X0 = 100;
  f.X1 = 10;
  f.Y0 = 50;
  f.Y1 = 5;
  const stFigure copy = f;
  EXPECT_EQ(copy.X1, 10);
  EXPECT_EQ(copy.Y1, 5);
}

TEST(FontConversion, SizeWinsOverHeight) {
  struct Case {
    std::int32_t height, size;
    int pixels;
  };
  const Case cases[] = {
      {-13, 10, 13},  // consistent pair
      {-40, 12, 16},  // the size decides
      {-20, 0, 20},   // no size: the height decides
      {25, 0, 25},    // a positive height is a pixel height too
  };
  for (const Case& c : cases) {
    stFont f;
    f.Name = QStringLiteral("Arial");
    f.Height = c.height;
    f.Size = c.size;
    EXPECT_EQ(ToQFont(f).pixelSize(), c.pixels) << c.height << "/" << c.size;
  }
}

TEST(FontConversion, StylesAndFaceGoBothWays) {
  stFont f;
  f.Name = QStringLiteral("Liberation Serif");
  f.Size = 14;
  f.Height = -19;
  f.Bold = true;
  f.Underline = true;
  f.Color = 0x0000FF;
  f.Charset = 204;
  const QFont q = ToQFont(f);
  EXPECT_EQ(q.family(), QStringLiteral("Liberation Serif"));
  EXPECT_TRUE(q.bold());
  EXPECT_FALSE(q.italic());
  EXPECT_TRUE(q.underline());
  EXPECT_FALSE(q.strikeOut());

  const stFont back = FromQFont(q, f.Color, f.Charset);
  EXPECT_EQ(back.Name, f.Name);
  EXPECT_EQ(back.Size, 14);
  EXPECT_EQ(back.Height, -19);
  EXPECT_EQ(back.Color, 0x0000FFu);
  EXPECT_EQ(back.Charset, 204);
  EXPECT_TRUE(back.Bold);
  EXPECT_TRUE(back.Underline);
  EXPECT_FALSE(back.Italic);
  EXPECT_FALSE(back.StrikeOut);
}

TEST(FontConversion, PointSizedFontReadsBackInPoints) {
  QFont q(QStringLiteral("Arial"));
  q.setPointSize(10);
  q.setItalic(true);
  const stFont f = FromQFont(q, 0);
  EXPECT_EQ(f.Size, 10);
  EXPECT_EQ(f.Height, -13);
  EXPECT_TRUE(f.Italic);
}

}  // namespace
}  // namespace korvan
