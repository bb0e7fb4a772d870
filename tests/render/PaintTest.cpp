// Pixels of painted figures: the geometry each kind fixes, pens and brushes, marks, grid, and
// figures at impossible places that must still paint without harm.

#include <gtest/gtest.h>

#include <climits>

#include "common/QtPrinters.h"
#include "render/FigureGeometry.h"
#include "render/RenderTestUtil.h"

namespace korvan {
namespace {

using test::Fig;
using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::Paint;
using test::Painted;

struct PixelCase {
  int x, y;
  ColorRef color;
  const char* why;
};

void ExpectPixels(const Painted& p, std::initializer_list<PixelCase> cases, const char* what) {
  for (const PixelCase& c : cases)
    EXPECT_EQ(p.At(c.x, c.y), c.color) << what << ": (" << c.x << ", " << c.y << ") " << c.why;
}

TEST(RenderPaint, FilledRectangleCoversBothCornersInclusive) {
  const Painted p = Paint({Fig(FigureKind::Rectangle, 10, 10, 20, 20, 1)});
  EXPECT_EQ(p.CountNot(kWhite, 0, 0, 199, 159), 11 * 11);
  EXPECT_EQ(p.CountNot(kWhite, 10, 10, 20, 20), 11 * 11);
  ExpectPixels(p,
               {{10, 10, kBlack, "frame"},
                {20, 20, kBlack, "frame"},
                {15, 15, kRed, "brush inside"},
                {11, 19, kRed, "brush inside"},
                {9, 15, kWhite, "left of it"},
                {21, 15, kWhite, "right of it"}},
               "filled");
}

TEST(RenderPaint, OutlineRectangleDrawsTheSameOuterPixels) {
  const Painted filled = Paint({Fig(FigureKind::Rectangle, 10, 10, 20, 20, 1)});
  const Painted outline = Paint({Fig(FigureKind::Rectangle, 10, 10, 20, 20, 0)});
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool edge = (x == 10 || x == 20 || y == 10 || y == 20) && x >= 10 && x <= 20 && y >= 10 && y <= 20;
      EXPECT_EQ(outline.Is(x, y, kBlack), edge) << x << ',' << y;
      if (edge) {
        EXPECT_TRUE(filled.Is(x, y, kBlack)) << x << ',' << y;
      }
    }
}

TEST(RenderPaint, BackwardsFilledRectangleNormalisesItsWidenedCorners) {
  // (X0, Y0, X1 + 1, Y1 + 1) = (20, 20, 11, 11) normalises to 11 .. 19.
  const Painted p = Paint({Fig(FigureKind::Rectangle, 20, 20, 10, 10, 1)});
  EXPECT_EQ(p.CountNot(kWhite, 0, 0, 199, 159), 9 * 9);
  EXPECT_TRUE(p.Is(11, 11, kBlack));
  EXPECT_TRUE(p.Is(19, 19, kBlack));
  EXPECT_TRUE(p.Is(20, 20, kWhite));
}

TEST(RenderPaint, TrianglesKeepApexOnY0AndRightAngleAtX0Y1) {
  // Upright.
  Painted p = Paint({Fig(FigureKind::Triangle, 20, 20, 80, 60)});
  ExpectPixels(p,
               {{50, 20, kBlack, "apex in the middle of the Y0 edge"},
                {50, 19, kWhite, "nothing above the apex"},
                {20, 60, kBlack, "base left"},
                {50, 60, kBlack, "base"},
                {79, 60, kBlack, "base right"},
                {21, 21, kWhite, "top-left corner of the box is outside"},
                {79, 21, kWhite, "top-right corner of the box is outside"},
                {50, 40, kWhite, "outline only"}},
               "triangle");
  // Dragged upward: upside down.
  p = Paint({Fig(FigureKind::Triangle, 20, 60, 80, 20, 1)});
  ExpectPixels(p,
               {{50, 60, kBlack, "apex on the Y0 edge, now at the bottom"},
                {50, 20, kBlack, "base along Y1 at the top"},
                {21, 59, kWhite, "bottom-left corner outside"},
                {50, 30, kRed, "filled"}},
               "upside-down triangle");
  // Right triangle: the right angle at (X0, Y1) for either drag direction.
  p = Paint({Fig(FigureKind::SquareTriangle, 20, 20, 80, 60, 1)});
  ExpectPixels(p,
               {{20, 20, kBlack, "top of the vertical leg"},
                {20, 40, kBlack, "vertical leg on X0"},
                {20, 60, kBlack, "right angle"},
                {50, 60, kBlack, "horizontal leg on Y1"},
                {25, 55, kRed, "inside"},
                {75, 25, kWhite, "beyond the hypotenuse"}},
               "right triangle");
  p = Paint({Fig(FigureKind::SquareTriangle, 80, 20, 20, 60, 1)});
  ExpectPixels(p,
               {{80, 40, kBlack, "vertical leg on X0 = 80"},
                {80, 60, kBlack, "right angle at (X0, Y1)"},
                {75, 55, kRed, "inside"},
                {25, 25, kWhite, "beyond the hypotenuse"}},
               "mirrored right triangle");
}

TEST(RenderPaint, RhombusTouchesTheEdgeMiddles) {
  const Painted p = Paint({Fig(FigureKind::Romb, 20, 20, 80, 60, 1)});
  ExpectPixels(p,
               {{20, 40, kBlack, "left vertex"},
                {50, 20, kBlack, "top vertex"},
                {80, 40, kBlack, "right vertex"},
                {50, 60, kBlack, "bottom vertex"},
                {50, 40, kRed, "centre filled"},
                {22, 22, kWhite, "corner of the box outside"},
                {78, 58, kWhite, "corner of the box outside"}},
               "rhombus");
}

TEST(RenderPaint, EllipseAndRoundRectStayInsideTheirBoxes) {
  // The ellipse's box is (X0, Y0, X1, Y1) with no + 1: it reaches X1 - 1.
  Painted p = Paint({Fig(FigureKind::Ellipse, 10, 10, 51, 31)});
  EXPECT_EQ(p.CountNot(kWhite, 0, 0, 199, 159), p.CountNot(kWhite, 10, 10, 50, 30));
  EXPECT_GT(p.Count(kBlack, 10, 10, 10, 30), 0);
  EXPECT_GT(p.Count(kBlack, 50, 10, 50, 30), 0);
  EXPECT_GT(p.Count(kBlack, 10, 10, 50, 10), 0);
  EXPECT_GT(p.Count(kBlack, 10, 30, 50, 30), 0);
  EXPECT_TRUE(p.Is(30, 20, kWhite)) << "outline only";
  p = Paint({Fig(FigureKind::Ellipse, 51, 31, 10, 10, 1)});
  EXPECT_TRUE(p.Is(30, 20, kRed));
  EXPECT_EQ(p.CountNot(kWhite, 0, 0, 199, 159), p.CountNot(kWhite, 10, 10, 50, 30));

  // Rounded rectangle: (X0, Y0, X1 + 1, Y1 + 1) with 30-pixel corner ellipses.
  p = Paint({Fig(FigureKind::RoundRect, 10, 10, 100, 60, 1)});
  ExpectPixels(p,
               {{10, 10, kWhite, "corner cut off"},
                {13, 13, kWhite, "still outside the corner arc"},
                {10, 35, kBlack, "straight left edge"},
                {55, 10, kBlack, "straight top edge"},
                {100, 35, kBlack, "right edge at X1"},
                {55, 60, kBlack, "bottom edge at Y1"},
                {55, 35, kRed, "filled"}},
               "round rect");
  p = Paint({Fig(FigureKind::RoundRect, 10, 10, 100, 60, 1)}, 200, 160, kWhite, {},
            [](EditorState& s) { s.RoundRectRadius = 0; });
  EXPECT_TRUE(p.Is(10, 10, kBlack)) << "a zero radius leaves square corners";
}

TEST(RenderPaint, ArrowHeadsAndTailDot) {
  // A filled arrow from (20, 50) to (120, 50): the head points are 88.46 along and 4.20 off the
  // shaft, truncated toward zero on the image: (108, 45) and (108, 54).
  Painted p = Paint({Fig(FigureKind::Strelka, 20, 50, 120, 50, 1)});
  ExpectPixels(p,
               {{108, 45, kBlack, "+20 head point"},
                {108, 54, kBlack, "-20 head point"},
                {112, 50, kRed, "head filled with the brush"},
                {108, 43, kWhite, "nothing beyond the head point"},
                {108, 56, kWhite, "nothing beyond the head point"},
                {60, 50, kBlack, "shaft"},
                {20, 46, kBlack, "tail dot top"},
                {16, 50, kBlack, "tail dot left"},
                {20, 50, kRed, "tail dot filled"},
                {24, 50, kBlack, "shaft right of the dot"}},
               "arrow");
  // Outline head: two lines from the tip, nothing between them.
  p = Paint({Fig(FigureKind::Strelka, 20, 50, 120, 50, 0)});
  EXPECT_TRUE(p.Is(112, 49, kWhite));
  EXPECT_TRUE(p.Is(112, 51, kWhite));
  EXPECT_GT(p.Count(kBlack, 108, 45, 111, 47), 0);
  EXPECT_GT(p.Count(kBlack, 108, 53, 111, 54), 0);

  // Double arrow: a head at each end, no tail dot; the start head points are (31, 54), (31, 45).
  p = Paint({Fig(FigureKind::DoubleStrelka, 20, 50, 120, 50, 1)});
  ExpectPixels(p,
               {{108, 45, kBlack, "head at (X1, Y1)"},
                {108, 54, kBlack, "head at (X1, Y1)"},
                {31, 45, kBlack, "head at (X0, Y0)"},
                {31, 54, kBlack, "head at (X0, Y0)"},
                {28, 50, kRed, "filled head at the start"},
                {112, 50, kRed, "filled head at the end"},
                {16, 50, kWhite, "no tail dot"},
                {20, 46, kWhite, "no tail dot"}},
               "double arrow");
}

TEST(RenderPaint, DashedArrowShowsTheSceneBackgroundInItsHeadAndDot) {
  struct Row {
    int penStyle;
    ColorRef headFill;
  };
  for (const Row r : {Row{0, kRed}, Row{1, kGreen}, Row{2, kGreen}}) {
    stFigure f = Fig(FigureKind::Strelka, 20, 50, 120, 50, 1);
    f.PenStyle = static_cast<std::uint8_t>(r.penStyle);
    const Painted p = Paint({f}, 200, 160, kGreen);
    EXPECT_EQ(p.At(112, 50), r.headFill) << "pen style " << r.penStyle;
    EXPECT_EQ(p.At(20, 50), r.headFill) << "tail dot, pen style " << r.penStyle;
  }
}

TEST(RenderPaint, HatchDirections) {
  // Inside a 100 x 100 filled rectangle: which neighbours of a hatch pixel are hatch pixels too.
  struct Row {
    int style;
    bool right, down, downRight, upRight;
  };
  const Row rows[] = {
      {2, true, false, false, false},  // horizontal
      {3, false, true, false, false},  // vertical
      {4, false, false, true, false},  // forward diagonal: down from left to right
      {5, false, false, false, true},  // backward diagonal: up from left to right
  };
  for (const Row& r : rows) {
    stFigure f = Fig(FigureKind::Rectangle, 10, 10, 110, 110, 1);
    f.BrushStyle = static_cast<std::uint8_t>(r.style);
    const Painted p = Paint({f});
    int hx = -1, hy = -1;
    for (int y = 40; y < 50 && hx < 0; ++y)
      for (int x = 40; x < 50 && hx < 0; ++x)
        if (p.Is(x, y, kRed)) hx = x, hy = y;
    ASSERT_GE(hx, 0) << "style " << r.style << " draws no hatch";
    EXPECT_EQ(p.Is(hx + 1, hy, kRed), r.right) << "style " << r.style;
    EXPECT_EQ(p.Is(hx, hy + 1, kRed), r.down) << "style " << r.style;
    EXPECT_EQ(p.Is(hx + 1, hy + 1, kRed), r.downRight) << "style " << r.style;
    EXPECT_EQ(p.Is(hx + 1, hy - 1, kRed), r.upRight) << "style " << r.style;
    // Between the lines the background shows, not the brush colour.
    EXPECT_GT(p.Count(kWhite, 40, 40, 60, 60), 300) << "style " << r.style;
  }
  // Cross and diagonal cross hold both directions of their pair.
  for (int style : {6, 7}) {
    stFigure f = Fig(FigureKind::Rectangle, 10, 10, 110, 110, 1);
    f.BrushStyle = static_cast<std::uint8_t>(style);
    const Painted p = Paint({f});
    bool a = false, b = false;
    for (int y = 30; y < 90; ++y)
      for (int x = 30; x < 90; ++x) {
        if (!p.Is(x, y, kRed)) continue;
        if (style == 6) {
          a = a || (p.Is(x + 1, y, kRed) && p.Is(x + 2, y, kRed));
          b = b || (p.Is(x, y + 1, kRed) && p.Is(x, y + 2, kRed));
        } else {
          a = a || (p.Is(x + 1, y + 1, kRed) && p.Is(x + 2, y + 2, kRed));
          b = b || (p.Is(x + 1, y - 1, kRed) && p.Is(x + 2, y - 2, kRed));
        }
      }
    EXPECT_TRUE(a && b) << "style " << style;
    EXPECT_GT(p.Count(kWhite, 40, 40, 60, 60), 250) << "style " << style;
  }
  // Clear brush: nothing inside.
  stFigure f = Fig(FigureKind::Rectangle, 10, 10, 110, 110, 1);
  f.BrushStyle = 1;
  EXPECT_EQ(Paint({f}).Count(kWhite, 11, 11, 109, 109), 99 * 99);
}

TEST(RenderPaint, PenStylesAndGapColours) {
  auto along = [](const Painted& p, ColorRef c) { return p.Count(c, 10, 50, 109, 50); };
  struct Row {
    int penStyle, brushStyle;
    int black;      // pen pixels on the 100-pixel line
    ColorRef gaps;  // colour of the rest
  };
  const Row rows[] = {
      {0, 0, 100, kBlack},
      {1, 0, 76, kGreen},  // 18 on, 6 off: four full periods and 4 more on
      {2, 0, 51, kGreen},  // 3 on, 3 off: sixteen periods and 3 more on
      {1, 1, 76, kWhite},  // a clear brush leaves the gaps transparent
      {2, 4, 51, kWhite},  // so does a hatched one
      {5, 0, 0, kWhite},   // clear pen
  };
  for (const Row& r : rows) {
    stFigure f = Fig(FigureKind::Line, 10, 50, 110, 50);
    f.PenStyle = static_cast<std::uint8_t>(r.penStyle);
    f.BrushStyle = static_cast<std::uint8_t>(r.brushStyle);
    f.BrushColor = kGreen;
    const Painted p = Paint({f});
    EXPECT_EQ(along(p, kBlack), r.black) << "pen " << r.penStyle << " brush " << r.brushStyle;
    EXPECT_EQ(along(p, r.gaps), r.gaps == kBlack ? 100 : 100 - r.black)
        << "pen " << r.penStyle << " brush " << r.brushStyle;
    EXPECT_TRUE(p.Is(110, 50, kWhite)) << "the end point is left out";
  }
  // A wide pen is as wide as asked.
  stFigure wide = Fig(FigureKind::Line, 10, 50, 110, 50);
  wide.PenWidth = 5;
  const Painted p = Paint({wide});
  EXPECT_EQ(p.Count(kBlack, 60, 40, 60, 60), 5);
}

TEST(RenderPaint, PicturesStretchAndMirror) {
  QImage pic(2, 2, QImage::Format_RGB32);
  pic.setPixel(0, 0, qRgb(255, 0, 0));
  pic.setPixel(1, 0, qRgb(0, 255, 0));
  pic.setPixel(0, 1, qRgb(0, 0, 255));
  pic.setPixel(1, 1, qRgb(0, 0, 0));
  stFigure f = Fig(FigureKind::Picture, 10, 10, 30, 30);
  f.Picture = pic;
  Painted p = Paint({f});
  ExpectPixels(p,
               {{10, 10, kRed, "top-left source pixel"},
                {19, 19, kRed, "still the top-left one"},
                {20, 10, kGreen, "top-right"},
                {10, 29, kBlue, "bottom-left"},
                {29, 29, kBlack, "bottom-right"},
                {30, 30, kWhite, "right and bottom edges exclusive"},
                {30, 15, kWhite, "right edge exclusive"}},
               "picture");
  // Corners given backwards mirror the picture over the same pixels.
  f.X0 = 30, f.Y0 = 30, f.X1 = 10, f.Y1 = 10;
  f.Vid = static_cast<std::uint8_t>(FigureKind::Photo);
  p = Paint({f});
  ExpectPixels(p,
               {{10, 10, kBlack, "mirrored both ways"},
                {29, 29, kRed, "mirrored both ways"},
                {29, 10, kBlue, "mirrored"},
                {10, 29, kGreen, "mirrored"},
                {30, 30, kWhite, "outside"}},
               "mirrored picture");
  // No picture: nothing but the marks.
  stFigure empty = Fig(FigureKind::Picture, 10, 10, 30, 30);
  empty.Selected = true;
  p = Paint({empty});
  EXPECT_TRUE(p.Is(20, 20, kWhite));
  EXPECT_TRUE(p.Is(8, 8, kBlack)) << "top-left mark";
}

TEST(RenderPaint, Curves) {
  stFigure f = Fig(FigureKind::Curve, 0, 0, 0, 0);
  f.Points = {{10, 10}};
  EXPECT_EQ(Paint({f}).CountNot(kWhite, 0, 0, 199, 159), 0) << "one point shows nothing";
  f.Points = {{10, 10}, {60, 10}, {60, 60}};
  Painted p = Paint({f});
  EXPECT_EQ(p.Count(kBlack), 100) << "two 50-pixel strokes, the last point left out";
  EXPECT_TRUE(p.Is(60, 59, kBlack));
  EXPECT_TRUE(p.Is(60, 60, kWhite));
  f.VidFill = 1;
  p = Paint({f});
  EXPECT_TRUE(p.Is(50, 20, kRed)) << "closed polygon, filled";
  EXPECT_TRUE(p.Is(20, 50, kWhite));
  f.Points.clear();
  EXPECT_EQ(Paint({f}).CountNot(kWhite, 0, 0, 199, 159), 0);
}

TEST(RenderPaint, FiguresPaintInListOrder) {
  stFigure below = Fig(FigureKind::Rectangle, 10, 10, 50, 50, 1);
  stFigure above = Fig(FigureKind::Rectangle, 30, 30, 70, 70, 1);
  above.BrushColor = kBlue;
  EXPECT_TRUE(Paint({below, above}).Is(40, 40, kBlue));
  EXPECT_TRUE(Paint({above, below}).Is(40, 40, kRed));
}

TEST(RenderMarks, EightMarksWrittenBackAndFilled) {
  stFigure f = Fig(FigureKind::Line, 10, 10, 100, 50);
  f.Selected = true;
  const Painted p = Paint({f});
  const stFigure& out = p.scene.Figures[0];
  EXPECT_EQ(out.MarkRects, MarkRectsOf(f, 6));
  for (const MarkRect& m : out.MarkRects) {
    // 6 x 6 pixels, right and bottom exclusive. The dotted frame drawn afterwards crosses each
    // mark through its centre, its gaps in the background colour; the corners stay.
    for (const auto& [x, y] : {std::pair{m.Left, m.Top}, {m.Right - 1, m.Top}, {m.Left, m.Bottom - 1},
                              {m.Right - 1, m.Bottom - 1}, {m.Left + 1, m.Top + 1}, {m.Right - 2, m.Bottom - 2}})
      EXPECT_TRUE(p.Is(x, y, kBlack)) << x << ',' << y;
    EXPECT_TRUE(p.Is(m.Left, m.Top - 1, kWhite)) << m.Left << ',' << m.Top;
    EXPECT_TRUE(p.Is(m.Left, m.Bottom, kWhite)) << m.Left << ',' << m.Bottom;
    EXPECT_GE(p.Count(kBlack, m.Left, m.Top, m.Right - 1, m.Bottom - 1), 30) << m.Left << ',' << m.Top;
  }
  EXPECT_TRUE(p.Is(6, 6, kWhite));
  EXPECT_TRUE(p.Is(13, 7, kWhite)) << "right edge of the top-left mark is exclusive";
  // The dotted frame on the box: mark colour and background alternate along the top edge.
  const int dots = p.Count(kBlack, 14, 10, 51, 10), gaps = p.Count(kWhite, 14, 10, 51, 10);
  EXPECT_GT(dots, 10);
  EXPECT_GT(gaps, 10);
  EXPECT_EQ(dots + gaps, 38);
  EXPECT_EQ(p.state.MarkColor, kBlack);
  EXPECT_EQ(p.result.LastSelected, 0);
}

TEST(RenderMarks, MarkColourIsTheInvertedBackground) {
  for (const ColorRef bg : {kWhite, kBlack, ColorRef{0x336699}}) {
    stFigure f = Fig(FigureKind::Line, 10, 10, 100, 50);
    f.Selected = true;
    const Painted p = Paint({f}, 200, 160, bg);
    const ColorRef mark = ~bg & 0xFFFFFF;
    EXPECT_EQ(p.state.MarkColor, mark) << std::hex << bg;
    EXPECT_TRUE(p.Is(8, 8, mark)) << std::hex << bg;
    EXPECT_GT(p.Count(mark, 14, 50, 51, 50), 10) << "dotted frame, background " << std::hex << bg;
    EXPECT_EQ(p.Count(mark, 14, 50, 51, 50) + p.Count(bg, 14, 50, 51, 50), 38) << std::hex << bg;
  }
}

TEST(RenderMarks, BackwardsFigureLooksLikeForwards) {
  for (const FigureKind k : {FigureKind::Rectangle, FigureKind::Ellipse, FigureKind::Text, FigureKind::Picture}) {
    stFigure a = Fig(k, 20, 30, 120, 90);
    a.Selected = true;
    stFigure b = Fig(k, 120, 90, 20, 30);
    b.Selected = true;
    const Painted pa = Paint({a}), pb = Paint({b});
    EXPECT_EQ(pb.scene.Figures[0].MarkRects, pa.scene.Figures[0].MarkRects) << int(k);
    EXPECT_EQ(pa.image, pb.image) << int(k);
  }
}

TEST(RenderMarks, LaterFiguresCoverEarlierMarksAndCurvesBeingDrawnHaveNone) {
  stFigure selected = Fig(FigureKind::Line, 10, 10, 100, 50);
  selected.Selected = true;
  stFigure cover = Fig(FigureKind::Rectangle, 0, 0, 20, 20, 1);
  cover.BrushColor = kBlue;
  EXPECT_TRUE(Paint({selected, cover}).Is(9, 9, kBlue));

  stFigure curve = Fig(FigureKind::Curve, 10, 10, 100, 50);
  curve.Points = {{10, 10}, {100, 50}};
  curve.Selected = true;
  PaintOptions drawing;
  drawing.MousePressed = true;
  EXPECT_TRUE(Paint({curve}, 200, 160, kWhite, drawing).Is(8, 8, kWhite)) << "being drawn";
  drawing.DragExisting = true;
  EXPECT_TRUE(Paint({curve}, 200, 160, kWhite, drawing).Is(8, 8, kBlack)) << "being dragged";
  EXPECT_TRUE(Paint({curve}).Is(8, 8, kBlack)) << "at rest";
  // Codes that are no kind draw nothing but still get marks.
  for (const int code : {0, 15, 200}) {
    stFigure odd = Fig(FigureKind::Line, 10, 10, 100, 50);
    odd.Vid = static_cast<std::uint8_t>(code);
    odd.Selected = true;
    const Painted p = Paint({odd});
    EXPECT_TRUE(p.Is(8, 8, kBlack)) << code;
    EXPECT_TRUE(p.Is(50, 30, kWhite)) << code;
  }
}

TEST(RenderScene, BackgroundComesFromTheSceneWhileItHasFigures) {
  Painted p = Paint({}, 50, 40, kGreen, {}, [](EditorState& s) { s.BackgroundColor = kBlue; });
  EXPECT_EQ(p.Count(kBlue), 50 * 40) << "an empty scene keeps the window's colour";
  EXPECT_EQ(p.state.BackgroundColor, kBlue);
  EXPECT_EQ(p.result.LastSelected, -1);
  p = Paint({Fig(FigureKind::Line, 0, 0, 0, 0)}, 50, 40, kGreen, {}, [](EditorState& s) { s.BackgroundColor = kBlue; });
  EXPECT_EQ(p.Count(kGreen), 50 * 40);
  EXPECT_EQ(p.state.BackgroundColor, kGreen) << "taken over from the scene";
}

TEST(RenderScene, GridLines) {
  constexpr ColorRef grid = 0xC0C0C0;
  Painted p = Paint({}, 1280, 1024, kWhite, {}, [](EditorState& s) { s.GridEnabled = true; });
  for (int x = 0; x < 1280; ++x) ASSERT_EQ(p.Is(x, 7, grid), x % 20 == 0) << x;
  for (int y = 0; y < 1024; ++y) ASSERT_EQ(p.Is(7, y, grid), y % 20 == 0) << y;
  EXPECT_TRUE(p.Is(1260, 1023, grid));
  EXPECT_TRUE(p.Is(1279, 1020, grid));
  EXPECT_TRUE(p.Is(1279, 1023, kWhite));

  struct Row {
    int step;
    int gridPixels;  // on a 50 x 40 image
  };
  for (const Row r : {Row{0, 0}, Row{-5, 0}, Row{1, 2000}, Row{100, 50 + 40 - 1}, Row{25, 2 * 40 + 2 * 50 - 4}}) {
    p = Paint({}, 50, 40, kWhite, {}, [&](EditorState& s) {
      s.GridEnabled = true;
      s.GridStep = r.step;
    });
    EXPECT_EQ(p.Count(grid), r.gridPixels) << "step " << r.step;
  }
  p = Paint({}, 50, 40, kWhite, {}, [](EditorState& s) { s.GridStep = 1; });
  EXPECT_EQ(p.Count(grid), 0) << "grid switched off";
  // Figures lie over the grid.
  p = Paint({Fig(FigureKind::Rectangle, 10, 10, 30, 30, 1)}, 50, 40, kWhite, {},
            [](EditorState& s) { s.GridEnabled = true; });
  EXPECT_TRUE(p.Is(20, 20, kRed));
}

TEST(RenderScene, EveryKindSurvivesOddCoordinates) {
  struct Box {
    int x0, y0, x1, y1;
  };
  const Box boxes[] = {
      {20, 20, 120, 90},                  // forwards
      {120, 90, 20, 20},                  // backwards
      {50, 50, 50, 50},                   // a point
      {50, 20, 50, 90},                   // no width
      {-500, -500, -20, -20},             // off the image
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
      {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
      {INT_MIN, 30, INT_MAX, 30},
      {INT_MAX, INT_MIN, 40, 40},
  };
  QImage pic(3, 2, QImage::Format_RGB32);
  pic.fill(Qt::green);
  for (int kind = 0; kind <= 15; ++kind)
    for (int fill = 0; fill <= 1; ++fill)
      for (const Box& b : boxes) {
        stFigure f = Fig(static_cast<FigureKind>(kind), b.x0, b.y0, b.x1, b.y1, fill);
        f.Selected = true;
        f.ShowStrelki = true;
        f.Width = 3.5;
        f.Height = 1e300;
        f.Text = QStringLiteral("Текст в фигуре, довольно длинный-длинный");
        f.PenWidth = kind % 3 == 0 ? 3 : 1;
        f.PenStyle = static_cast<std::uint8_t>(kind % 3);
        f.Picture = pic;
        f.Points = {{b.x0, b.y0}, {b.x1, b.y1}, {b.x0, b.y1}};
        PaintOptions caret;
        caret.CaretShown = true;
        Painted p = Paint({f}, 160, 120, kWhite, caret, [](EditorState& s) { s.CaretPos = 5; });
        const std::string where = "kind " + std::to_string(kind) + " fill " + std::to_string(fill) + " at " +
                                  std::to_string(b.x0) + "," + std::to_string(b.y0) + " " + std::to_string(b.x1) +
                                  "," + std::to_string(b.y1);
        EXPECT_EQ(p.image.size(), QSize(160, 120)) << where;
        EXPECT_EQ(p.scene.Figures[0].MarkRects, MarkRectsOf(f, 6)) << where;
      }
}

TEST(RenderScene, HugeFiguresPaintTheirVisiblePart) {
  // A filled rectangle over the whole 32-bit plane floods the image; its frame is far away.
  Painted p = Paint({Fig(FigureKind::Rectangle, INT_MIN, INT_MIN, INT_MAX - 1, INT_MAX - 1, 1)}, 60, 40);
  EXPECT_EQ(p.Count(kRed), 60 * 40);
  // A line across the plane crosses the image along its row.
  p = Paint({Fig(FigureKind::Line, INT_MIN, 30, INT_MAX, 30)}, 60, 40);
  EXPECT_EQ(p.Count(kBlack, 0, 30, 59, 30), 60);
  EXPECT_EQ(p.Count(kBlack), 60);
  // A slanted one keeps its slope through the clipping: y = x / 2 + 10 near the origin.
  p = Paint({Fig(FigureKind::Line, -2000000000, -999999990, 2000000000, 1000000010)}, 60, 40);
  for (int x = 0; x < 60; x += 10) EXPECT_GT(p.Count(kBlack, x, x / 2 + 9, x, x / 2 + 11), 0) << x;
  // A huge filled triangle whose inside covers the image.
  p = Paint({Fig(FigureKind::Triangle, -2000000000, -2000000000, 2000000000, 2000000000, 1)}, 60, 40);
  EXPECT_EQ(p.Count(kRed), 60 * 40);
  // The curve reaching 65535 of the golden scheme.
  stFigure curve = Fig(FigureKind::Curve, 0, 0, 0, 0);
  curve.Points = {{10, 10}, {10, 65535}};
  p = Paint({curve}, 60, 40);
  EXPECT_EQ(p.Count(kBlack), 30);
}

TEST(RenderScene, ResizeKeepsTheImageUsable) {
  struct Row {
    int w, h;
    QSize expected;
  };
  for (const Row r : {Row{1280, 1024, {1280, 1024}}, Row{0, 0, {1, 1}}, Row{-7, 50, {1, 50}},
                      Row{5000, 5000, {3000, 2000}}, Row{3000, 2000, {3000, 2000}}}) {
    EditorState s;
    s.ImageWidth = r.w;
    s.ImageHeight = r.h;
    QImage img(10, 10, QImage::Format_ARGB32);
    EXPECT_TRUE(ResizeSceneBitmap(img, s));
    EXPECT_EQ(img.size(), r.expected) << r.w << 'x' << r.h;
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
  }
  // A one-pixel image still paints and magnifies.
  Painted p = Paint({Fig(FigureKind::Rectangle, 0, 0, 10, 10, 1)}, 0, 0);
  EXPECT_EQ(p.image.size(), QSize(1, 1));
  EXPECT_TRUE(p.Is(0, 0, kBlack));
  QImage lupa(114, 101, QImage::Format_RGB32);
  lupa.fill(Qt::white);
  QPainter painter(&lupa);
  DrawMagnifier(painter, lupa.rect(), p.image, 0, 0);
  painter.end();
  EXPECT_EQ(lupa.pixel(57, 50), qRgb(255, 255, 255)) << "the source lies wholly outside the image";
}

TEST(RenderScene, MagnifierEnlargesTheSourceRectangle) {
  QImage scene(1280, 1024, QImage::Format_RGB32);
  scene.fill(Qt::white);
  scene.setPixel(0, 0, qRgb(255, 0, 0));    // inside the source rectangle for the mouse at (3, 5)
  scene.setPixel(21, 19, qRgb(0, 0, 255));  // its last column and row
  scene.setPixel(22, 20, qRgb(0, 255, 0));  // just outside
  QImage lupa(114, 101, QImage::Format_RGB32);
  lupa.fill(Qt::black);
  QPainter painter(&lupa);
  DrawMagnifier(painter, lupa.rect(), scene, 3, 5);
  painter.end();
  // 22 x 20 source pixels over 114 x 101: about 5 x 5 each.
  EXPECT_EQ(lupa.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(lupa.pixel(4, 4), qRgb(255, 0, 0));
  EXPECT_EQ(lupa.pixel(113, 100), qRgb(0, 0, 255));
  EXPECT_EQ(lupa.pixel(110, 97), qRgb(0, 0, 255));
  EXPECT_EQ(lupa.pixel(57, 50), qRgb(255, 255, 255));
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 114; ++x) ASSERT_NE(lupa.pixel(x, y), qRgb(0, 255, 0)) << x << ',' << y;
}

TEST(RenderScene, FigureNamesInListOrder) {
  stScena s;
  for (const char* n : {"Стена", "", "Окно"}) {
    stFigure f;
    f.Name = QString::fromUtf8(n);
    s.Figures.push_back(f);
  }
  EXPECT_EQ(FigureNames(s), (QStringList{QStringLiteral("Стена"), QString(), QStringLiteral("Окно")}));
  EXPECT_TRUE(FigureNames(stScena{}).isEmpty());
}

TEST(RenderScene, LastSelectedFigureIsReported) {
  stFigure a = Fig(FigureKind::Line, 0, 0, 10, 10), b = a, c = a;
  a.Selected = true;
  c.Selected = true;
  EXPECT_EQ(Paint({a, b, c}).result.LastSelected, 2);
  EXPECT_EQ(Paint({a, b, b}).result.LastSelected, 0);
}

}  // namespace
}  // namespace korvan
