// Dimension lines: where each kind puts them, their distances, colours and labels.

#include <QPainter>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "render/RenderTestUtil.h"

namespace korvan {
namespace {

using test::Fig;
using test::kBlack;
using test::kGray;
using test::kRed;
using test::kWhite;
using test::kYellow;
using test::Paint;
using test::Painted;

// A figure with dimension lines in a font whose "9" is 16 pixels high (distance trunc(20.8) = 20)
// and a transparent outline so that only the dimensions show.
stFigure Measured(FigureKind kind, int x0, int y0, int x1, int y1) {
  stFigure f = Fig(kind, x0, y0, x1, y1);
  f.ShowStrelki = true;
  f.PenStyle = 5;
  EXPECT_TRUE(test::FontWithTextHeight(16, f.Font)) << "no Arial size gives a 16-pixel line";
  f.Font.Color = kBlack;
  f.Width = 3.5;
  f.Height = 2;
  return f;
}

bool VerticalRun(const Painted& p, int x, int y0, int y1, ColorRef c) {
  for (int y = y0; y <= y1; ++y)
    if (!p.Is(x, y, c)) return false;
  return true;
}

bool HorizontalRun(const Painted& p, int y, int x0, int x1, ColorRef c) {
  for (int x = x0; x <= x1; ++x)
    if (!p.Is(x, y, c)) return false;
  return true;
}

TEST(RenderDimensions, RectangleAtTwentyPixelsFromA16PixelNine) {
  const Painted p = Paint({Measured(FigureKind::Rectangle, 100, 100, 300, 200)}, 400, 300);
  // Vertical: extension lines from x = 300 to 320 at y = 100 and 200, the line at x = 320.
  EXPECT_TRUE(HorizontalRun(p, 100, 300, 319, kGray));
  EXPECT_TRUE(HorizontalRun(p, 200, 300, 319, kGray));
  EXPECT_TRUE(VerticalRun(p, 320, 115, 135, kGray));
  EXPECT_TRUE(VerticalRun(p, 320, 165, 185, kGray));
  EXPECT_TRUE(p.Is(321, 130, kWhite));
  EXPECT_TRUE(p.Is(320, 98, kWhite));
  EXPECT_TRUE(p.Is(320, 203, kWhite));
  // Filled heads at both ends.
  EXPECT_TRUE(p.Is(320, 104, kGray) && p.Is(318, 110, kGray) && p.Is(322, 110, kGray));
  EXPECT_TRUE(p.Is(320, 196, kGray) && p.Is(318, 190, kGray) && p.Is(322, 190, kGray));
  // Horizontal: extension lines from y = 200 to 220 at x = 100 and 300, the line at y = 220.
  EXPECT_TRUE(VerticalRun(p, 100, 200, 219, kGray));
  EXPECT_TRUE(VerticalRun(p, 300, 200, 219, kGray));
  EXPECT_TRUE(HorizontalRun(p, 220, 115, 170, kGray));
  EXPECT_TRUE(HorizontalRun(p, 220, 230, 285, kGray));
  EXPECT_TRUE(p.Is(130, 221, kWhite));
  EXPECT_TRUE(p.Is(130, 219, kWhite));
}

TEST(RenderDimensions, PositionsByKindAndDragDirection) {
  struct Row {
    FigureKind kind;
    int x0, y0, x1, y1;
    int lineX, extFromX;  // vertical dimension line and where its extension lines start
    int lineY, extFromY;  // horizontal dimension line and where its extension lines start
  };
  const Row rows[] = {
      {FigureKind::Rectangle, 100, 100, 300, 200, 320, 300, 220, 200},
      {FigureKind::Rectangle, 300, 200, 100, 100, 320, 300, 220, 200},
      {FigureKind::RoundRect, 100, 100, 300, 200, 320, 200, 220, 150},
      {FigureKind::Ellipse, 300, 200, 100, 100, 320, 200, 220, 150},
      {FigureKind::Romb, 100, 200, 300, 100, 320, 200, 220, 150},
      // Triangles measure their base on the Y1 side: below when dragged down, above when up.
      {FigureKind::Triangle, 100, 100, 300, 200, 320, 200, 220, 200},
      {FigureKind::Triangle, 100, 200, 300, 100, 320, 200, 80, 100},
      // The right triangle's height stands on the side of its leg X0.
      {FigureKind::SquareTriangle, 100, 100, 300, 200, 80, 100, 220, 200},
      {FigureKind::SquareTriangle, 300, 100, 100, 200, 320, 300, 220, 200},
      {FigureKind::SquareTriangle, 100, 200, 300, 100, 80, 100, 80, 100},
  };
  for (const Row& r : rows) {
    const Painted p = Paint({Measured(r.kind, r.x0, r.y0, r.x1, r.y1)}, 400, 300);
    const std::string what = std::to_string(int(r.kind)) + " " + std::to_string(r.x0) + "," +
                             std::to_string(r.y0) + " " + std::to_string(r.x1) + "," + std::to_string(r.y1);
    EXPECT_TRUE(VerticalRun(p, r.lineX, 115, 135, kGray)) << what;
    EXPECT_TRUE(VerticalRun(p, r.lineX, 165, 185, kGray)) << what;
    const int e0 = std::min(r.extFromX, r.lineX), e1 = std::max(r.extFromX, r.lineX);
    EXPECT_TRUE(HorizontalRun(p, 100, e0 + 1, e1 - 1, kGray)) << what;
    EXPECT_TRUE(HorizontalRun(p, 200, e0 + 1, e1 - 1, kGray)) << what;
    EXPECT_TRUE(HorizontalRun(p, r.lineY, 115, 170, kGray)) << what;
    EXPECT_TRUE(HorizontalRun(p, r.lineY, 230, 285, kGray)) << what;
    const int f0 = std::min(r.extFromY, r.lineY), f1 = std::max(r.extFromY, r.lineY);
    EXPECT_TRUE(VerticalRun(p, 100, f0 + 1, f1 - 1, kGray)) << what;
    EXPECT_TRUE(VerticalRun(p, 300, f0 + 1, f1 - 1, kGray)) << what;
  }
}

TEST(RenderDimensions, DistancesSetByHand) {
  stFigure f = Measured(FigureKind::Rectangle, 100, 100, 300, 200);
  f.VidStrelkaLineLengthVer = 1;
  f.StrelkaLineLengthVer = 45;
  f.VidStrelkaLineLengthHor = 1;
  f.StrelkaLineLengthHor = 7;
  const Painted p = Paint({f}, 400, 300);
  EXPECT_TRUE(VerticalRun(p, 345, 115, 135, kGray));
  EXPECT_TRUE(HorizontalRun(p, 207, 115, 170, kGray));
  EXPECT_EQ(p.Count(kGray, 320, 115, 320, 185), 0);
}

TEST(RenderDimensions, OnlyMeasuredKindsAndOnlyWhenSwitchedOn) {
  for (const FigureKind k : {FigureKind::Line, FigureKind::Strelka, FigureKind::DoubleStrelka, FigureKind::Text,
                             FigureKind::Picture, FigureKind::Photo, FigureKind::Table, FigureKind::Curve}) {
    for (int fill : {0, 1}) {
      stFigure f = Measured(k, 100, 100, 300, 200);
      f.VidFill = static_cast<std::uint8_t>(fill);
      f.PenStyle = 0;
      f.Points = {{100, 100}, {300, 200}};
      const Painted p = Paint({f}, 400, 300);
      EXPECT_EQ(p.Count(kGray), 0) << int(k) << " fill " << fill;
    }
  }
  stFigure off = Measured(FigureKind::Rectangle, 100, 100, 300, 200);
  off.ShowStrelki = false;
  EXPECT_EQ(Paint({off}, 400, 300).Count(kGray), 0);
}

TEST(RenderDimensions, SmallFiguresShowNoneWhileTheMouseIsDown) {
  PaintOptions pressed;
  pressed.MousePressed = true;
  struct Row {
    int w, h;
    PaintOptions options;
    bool shown;
  };
  const Row rows[] = {
      {15, 100, pressed, false}, {100, 19, pressed, false}, {20, 20, pressed, true},
      {15, 100, {}, true},       {100, 15, {}, true},
  };
  for (const Row& r : rows) {
    const Painted p = Paint({Measured(FigureKind::Rectangle, 100, 100, 100 + r.w, 100 + r.h)}, 400, 300, kWhite,
                            r.options);
    EXPECT_EQ(p.Count(kGray) > 0, r.shown) << r.w << 'x' << r.h << " pressed " << r.options.MousePressed;
  }
  // Also a figure other than the one under the mouse.
  stFigure big = Measured(FigureKind::Rectangle, 100, 100, 300, 200);
  stFigure small = Measured(FigureKind::Ellipse, 10, 10, 25, 60);
  const Painted p = Paint({big, small}, 400, 300, kWhite, pressed);
  EXPECT_TRUE(VerticalRun(p, 320, 115, 135, kGray));
  EXPECT_EQ(p.Count(kGray, 0, 0, 90, 90), 0);
}

TEST(RenderDimensions, FigureColoursWhenAskedFor) {
  stFigure f = Measured(FigureKind::Rectangle, 100, 100, 300, 200);
  f.VidFill = 1;
  f.PenStyle = 0;
  f.PenColor = kRed;
  f.BrushColor = kYellow;
  const Painted p = Paint({f}, 400, 300, kWhite, {}, [](EditorState& s) { s.StrelkiVidColor = 0; });
  EXPECT_TRUE(VerticalRun(p, 320, 115, 135, kRed));
  EXPECT_TRUE(HorizontalRun(p, 220, 115, 170, kRed));
  EXPECT_TRUE(p.Is(320, 100, kRed)) << "head outline";
  EXPECT_TRUE(p.Is(320, 106, kYellow)) << "head filled with the brush colour";
  EXPECT_TRUE(p.Is(106, 220, kYellow));
  EXPECT_EQ(p.Count(kGray), 0);
  // Another arrow colour of the settings.
  const Painted q = Paint({Measured(FigureKind::Ellipse, 100, 100, 300, 200)}, 400, 300, kWhite, {},
                          [](EditorState& s) { s.StrelkiColor = 0x00AA00; });
  EXPECT_TRUE(VerticalRun(q, 320, 115, 135, 0x00AA00));
}

TEST(RenderDimensions, LabelsTakeEachFiguresFontColour) {
  // The same measures in two colours, drawn twice by one painter: nothing of one colour may be
  // reused for the other.
  stFigure a = Measured(FigureKind::Rectangle, 40, 40, 140, 140);
  a.Font.Color = kRed;
  stFigure b = Measured(FigureKind::Rectangle, 240, 40, 340, 140);
  b.Font.Color = test::kBlue;
  stScena scene;
  scene.Figures = {a, b};
  EditorState state;
  state.ImageWidth = 400;
  state.ImageHeight = 200;
  QImage image;
  ResizeSceneBitmap(image, state);
  ScenePainter painter;
  for (int round = 0; round < 2; ++round) {
    painter.RedrawScene(image, scene, state, {});
    const Painted p{image, scene, state, {}};
    // Height labels left of x = 160 and 360, length labels above y = 160.
    EXPECT_GT(p.Count(kRed, 144, 60, 159, 120), 5) << round;
    EXPECT_EQ(p.Count(test::kBlue, 144, 60, 159, 120), 0) << round;
    EXPECT_GT(p.Count(test::kBlue, 344, 60, 359, 120), 5) << round;
    EXPECT_EQ(p.Count(kRed, 344, 60, 359, 120), 0) << round;
    EXPECT_GT(p.Count(kRed, 60, 144, 120, 159), 5) << round;
    EXPECT_GT(p.Count(test::kBlue, 260, 144, 320, 159), 5) << round;
    // Next round: each figure takes the other's colour and place, so the same label texts are
    // drawn in the other colour by the other figure.
    std::swap(scene.Figures[0].Font.Color, scene.Figures[1].Font.Color);
    scene.Figures[0].X0 += 200, scene.Figures[0].X1 += 200;
    scene.Figures[1].X0 -= 200, scene.Figures[1].X1 -= 200;
  }
}

// The text drawn upright with its cell's top-left corner at (x, y) on a white image.
QImage Upright(const stFont& font, const QString& text, int x, int y, QSize size) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  QFont f = ToQFont(font);
  f.setFamily(QStringLiteral("Arial"));
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(x, y + QFontMetrics(f).ascent(), text);
  return img;
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

TEST(RenderDimensions, LabelsStandCentredAndTheHeightReadsUpward) {
  stFigure f = Measured(FigureKind::Rectangle, 100, 100, 300, 200);
  f.Height = 12.25;
  f.Width = 0;  // shown as "0"
  const Painted p = Paint({f}, 400, 300);
  const QFontMetrics fm(ToQFont(f.Font));
  const int h = fm.height();
  ASSERT_EQ(h, 16);

  // Length label above y = 220, centred on x = 200: exactly the text drawn there.
  const QString zero = QStringLiteral("0");
  const QImage flat = Upright(f.Font, zero, 200 - fm.horizontalAdvance(zero) / 2, 220 - h, p.image.size());
  int inkFlat = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (flat.pixel(x, y) != qRgb(255, 255, 255)) {
        ++inkFlat;
        ASSERT_EQ(p.image.pixel(x, y), flat.pixel(x, y)) << x << ',' << y;
      }
  EXPECT_GT(inkFlat, 10);

  // Height label left of x = 320, centred on y = 150, reading upward from (320 - 16, 150 + w / 2):
  // the upright text turned a quarter counter-clockwise about that point, so upright pixel (u, v)
  // of the text cell lands on (X + v, Y - 1 - u).
  const QString height = QStringLiteral("12.25");
  const int w = fm.horizontalAdvance(height);
  const int X = 320 - h, Y = 150 + w / 2;
  const QImage up = Upright(f.Font, height, 20, 10, QSize(w + 40, h + 20));
  int ink = 0;
  for (int v = 0; v < up.height(); ++v)
    for (int u = 0; u < up.width(); ++u) {
      const int x = X + v - 10, y = Y - 1 - (u - 20);
      if (x < X || x >= 320 || y < 105 || y > 195) continue;  // clear of the lines
      ink += up.pixel(u, v) != qRgb(255, 255, 255);
      ASSERT_TRUE(Near(p.image.pixel(x, y), up.pixel(u, v))) << "upright " << u << ',' << v << " at " << x << ',' << y;
    }
  EXPECT_GT(ink, 40);
  // Nothing of it right of the dimension line (and its heads) or beyond half its width from the
  // middle.
  EXPECT_EQ(p.CountNot(kWhite, 325, 101, 399, 199), 0);
  EXPECT_EQ(p.CountNot(kWhite, 290, 150 + w / 2 + 2, 313, 199), 0);
  EXPECT_EQ(p.CountNot(kWhite, 290, 101, 313, 150 - w / 2 - 3), 0);
}

}  // namespace
}  // namespace korvan
