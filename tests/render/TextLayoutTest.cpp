// Text of rectangles, text boxes and table cells: lines, alignment, clipping, the caret.

#include <QFontMetrics>

#include <gtest/gtest.h>

#include "common/QtPrinters.h"
#include "render/RenderTestUtil.h"

namespace korvan {
namespace {

using test::Fig;
using test::kBlack;
using test::kBlue;
using test::kWhite;
using test::kYellow;
using test::Paint;
using test::Painted;

// A frameless text box in a font whose lines are 16 pixels high, text in blue.
stFigure TextBox(int x0, int y0, int x1, int y1, const QString& text, int position = 0) {
  stFigure f = Fig(FigureKind::Text, x0, y0, x1, y1);
  EXPECT_TRUE(test::FontWithTextHeight(16, f.Font));
  f.Font.Color = kBlue;
  f.Text = text;
  f.TextPosition = static_cast<std::uint8_t>(position);
  return f;
}

QFontMetrics Metrics(const stFigure& f) { return QFontMetrics(ToQFont(f.Font)); }

std::vector<stTextLine> Lines(std::initializer_list<stTextLine> l) { return l; }

TEST(RenderText, WrapsAtTheWidthOfTheBox) {
  stFigure probe = TextBox(0, 0, 0, 0, QString());
  const QFontMetrics fm = Metrics(probe);
  const int alpha = fm.horizontalAdvance(QStringLiteral("alpha "));
  const int both = fm.horizontalAdvance(QStringLiteral("alpha beta"));

  struct Row {
    int width;  // of the box, margins of 1 included
    std::vector<stTextLine> lines;
  };
  const int x1 = 10 + alpha + 2, x2 = 10 + both + 2;
  const Row rows[] = {
      // Just wide enough for "alpha ": the space stays with it.
      {alpha + 2,
       Lines({{11, 11, x1 - 1, 27, QStringLiteral("alpha ")}, {11, 27, x1 - 1, 43, QStringLiteral("beta")}})},
      // Just wide enough for both words.
      {both + 2, Lines({{11, 11, x2 - 1, 27, QStringLiteral("alpha beta")}})},
      // One pixel short: beta moves down.
      {both + 1, Lines({{11, 11, x2 - 2, 27, QStringLiteral("alpha ")}, {11, 27, x2 - 2, 43, QStringLiteral("beta")}})},
  };
  for (const Row& r : rows) {
    Painted p = Paint({TextBox(10, 10, 10 + r.width, 100, QStringLiteral("alpha beta"))});
    EXPECT_EQ(p.scene.Figures[0].TextLines, r.lines) << "box width " << r.width;
  }
}

TEST(RenderText, BackwardsBoxAndWidePenMargins) {
  // Pen width 6: margin 6 / 2 + 1 = 4 on every side; the box normalised.
  stFigure f = TextBox(200, 100, 10, 10, QStringLiteral("one two"));
  f.PenWidth = 6;
  const Painted p = Paint({f}, 220, 120);
  ASSERT_EQ(p.scene.Figures[0].TextLines.size(), 1u);
  EXPECT_EQ(p.scene.Figures[0].TextLines[0], (stTextLine{14, 14, 196, 30, QStringLiteral("one two")}));
}

TEST(RenderText, WordWiderThanTheBoxStandsAloneAndIsCut) {
  const QString text = QStringLiteral("Supercalifragilisticexpialidocious word");
  const Painted p = Paint({TextBox(10, 10, 110, 100, text)});
  const std::vector<stTextLine>& lines = p.scene.Figures[0].TextLines;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Text, QStringLiteral("Supercalifragilisticexpialidocious "));
  EXPECT_EQ(lines[1].Text, QStringLiteral("word"));
  // A box 100 wide with a one-pixel pen leaves 98 pixels: 11 .. 108.
  EXPECT_EQ(p.CountNot(kWhite, 109, 0, 199, 159), 0);
  EXPECT_EQ(p.CountNot(kWhite, 0, 0, 10, 159), 0);
  EXPECT_GT(p.CountNot(kWhite, 100, 11, 108, 26), 0) << "the long word reaches the margin";
}

TEST(RenderText, LinesBelowTheBoxAreRecordedButNotDrawn) {
  // Bottom 40, margin 1: line 0 at 11 .. 27, line 1 from 27 cut at 39, line 2 from 43 not drawn.
  const Painted p = Paint({TextBox(10, 10, 60, 40, QStringLiteral("aaaa bbbb cccc"))});
  const std::vector<stTextLine>& lines = p.scene.Figures[0].TextLines;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], (stTextLine{11, 11, 59, 27, QStringLiteral("aaaa ")}));
  EXPECT_EQ(lines[1], (stTextLine{11, 27, 59, 39, QStringLiteral("bbbb ")}));
  EXPECT_EQ(lines[2], (stTextLine{11, 43, 59, 39, QStringLiteral("cccc")}));
  EXPECT_EQ(p.CountNot(kWhite, 0, 39, 199, 159), 0) << "nothing at or below the lower margin";
  EXPECT_GT(p.CountNot(kWhite, 11, 27, 58, 38), 0) << "the cut second line";
}

TEST(RenderText, AlignmentMovesTheLineAsAWhole) {
  const QString text = QStringLiteral("Text");
  stFigure probe = TextBox(10, 10, 190, 60, text);
  const int w = Metrics(probe).horizontalAdvance(text);
  const Painted left = Paint({TextBox(10, 10, 190, 60, text, 0)});
  struct Row {
    int position;
    int shift;  // relative to the left-aligned line, which starts at 10 + 1
  };
  const Row rows[] = {
      {1, (10 + 90 - w / 2) - 11},  // centred on the box itself
      {2, (190 - 1 - w) - 11},      // flush with the right margin
      {7, 0},                       // unknown values align left
  };
  for (const Row& r : rows) {
    const Painted p = Paint({TextBox(10, 10, 190, 60, text, r.position)});
    for (int y = 11; y < 60; ++y)
      for (int x = 0; x < 200; ++x) {
        const int from = x - r.shift;
        const QRgb expected = from >= 0 && from < 200 ? left.image.pixel(from, y) : qRgb(255, 255, 255);
        ASSERT_EQ(p.image.pixel(x, y), expected) << "position " << r.position << " at " << x << ',' << y;
      }
  }
  EXPECT_GT(left.CountNot(kWhite, 11, 11, 40, 27), 0);
}

TEST(RenderText, TrailingSpaceCountsForRightAlignment) {
  stFigure probe = TextBox(0, 0, 0, 0, QString());
  const QFontMetrics fm = Metrics(probe);
  const int first = fm.horizontalAdvance(QStringLiteral("aaa "));
  const Painted p = Paint({TextBox(10, 10, 10 + first + 2 + 3, 60, QStringLiteral("aaa bbb"), 2)});
  ASSERT_EQ(p.scene.Figures[0].TextLines.size(), 2u);
  const int rightMargin = 10 + first + 5 - 1;
  int inkRight = -1;
  for (int y = 11; y < 27; ++y)
    for (int x = 0; x < 200; ++x)
      if (!p.Is(x, y, kWhite)) inkRight = std::max(inkRight, x);
  EXPECT_LE(inkRight, rightMargin - fm.horizontalAdvance(QLatin1Char(' ')));
}

TEST(RenderText, EmptyTextHasNoLinesAndOldOnesGo) {
  stFigure f = TextBox(10, 10, 100, 50, QString());
  f.TextLines = {{1, 2, 3, 4, QStringLiteral("stale")}};
  EXPECT_TRUE(Paint({f}).scene.Figures[0].TextLines.empty());
}

TEST(RenderText, TextIsTransparentOverTheFill) {
  for (const FigureKind k : {FigureKind::Rectangle, FigureKind::Text, FigureKind::Table}) {
    stFigure f = TextBox(10, 10, 150, 60, QStringLiteral("Таблица и текст"));
    f.Vid = static_cast<std::uint8_t>(k);
    f.VidFill = 1;
    f.BrushColor = kYellow;
    const Painted p = Paint({f});
    EXPECT_EQ(p.Count(kWhite, 11, 11, 149, 59), 0) << int(k);
    EXPECT_GT(p.CountNot(kYellow, 11, 11, 149, 26), 20) << int(k);
  }
}

struct CaretCase {
  int pos;
  int line, column;  // expected; the start values are 7 and 9
};

TEST(RenderText, CaretLineAndColumnFollowThePosition) {
  // Lines "alpha " (6) and "beta" (4).
  stFigure probe = TextBox(0, 0, 0, 0, QString());
  const int width = Metrics(probe).horizontalAdvance(QStringLiteral("alpha ")) + 2;
  const CaretCase cases[] = {
      {0, 7, 9},   // 0 leaves both alone
      {1, 0, 1},   //
      {6, 0, 6},   // the start of line 1 shows as the end of line 0
      {7, 1, 1},   //
      {10, 1, 4},  // the end of the text
      {11, 7, 9},  // beyond it: unchanged
  };
  for (const CaretCase& c : cases) {
    stFigure f = TextBox(10, 10, 10 + width, 100, QStringLiteral("alpha beta"));
    f.Selected = true;
    const Painted p = Paint({f}, 200, 160, kWhite, {}, [&](EditorState& s) {
      s.CaretPos = c.pos;
      s.CaretLine = 7;
      s.CaretColumn = 9;
    });
    EXPECT_EQ(p.state.CaretLine, c.line) << "pos " << c.pos;
    EXPECT_EQ(p.state.CaretColumn, c.column) << "pos " << c.pos;
    EXPECT_EQ(p.state.CaretPos, c.pos);
  }
}

TEST(RenderText, OnlyTheEditedFigureMovesTheCaretDuringARedraw) {
  stFigure edited = TextBox(10, 10, 190, 40, QStringLiteral("abcdefgh"));
  edited.Selected = true;
  // Drawn later, and its narrow box would put position 6 on its second line.
  stFigure other = TextBox(10, 50, 40, 150, QStringLiteral("x y z w"));
  Painted p = Paint({edited, other}, 200, 160, kWhite, {}, [](EditorState& s) { s.CaretPos = 6; });
  ASSERT_GE(p.scene.Figures[1].TextLines.size(), 2u);
  EXPECT_EQ(p.state.CaretLine, 0);
  EXPECT_EQ(p.state.CaretColumn, 6);

  // The editor's own call lays out the figure it names, selected or not.
  EditorState state = p.state;
  ScenePainter painter;
  painter.LayoutAndDrawText(p.image, p.scene.Figures[1], p.scene, state, {});
  EXPECT_GE(state.CaretLine, 1);
}

TEST(RenderText, CaretStandsHalfAWLeftOfTheCentreOfAnEmptyCentredBox) {
  stFigure f = TextBox(10, 10, 110, 60, QString(), 1);
  f.Selected = true;
  const int halfW = Metrics(f).horizontalAdvance(QLatin1Char('W')) / 2;
  const int x = 11 + (109 - 11) / 2 - halfW;
  PaintOptions shown;
  shown.CaretShown = true;
  Painted p = Paint({f}, 200, 160, kWhite, shown);
  // From Y0 + margin to Y0 + the height of "W", the end left out.
  EXPECT_EQ(p.Count(kBlack, x, 11, x, 25), 15);
  EXPECT_EQ(p.Count(kBlack, x, 26, x, 56), 0);
  EXPECT_EQ(p.Count(kBlack, x - 1, 13, x - 1, 56) + p.Count(kBlack, x + 1, 13, x + 1, 56), 0);
  EXPECT_EQ(p.state.MarkColor, kBlack);

  // Hidden in the off phase, and in a figure that is not selected.
  EXPECT_EQ(Paint({f}).Count(kBlack, x, 11, x, 25), 0);
  f.Selected = false;
  EXPECT_EQ(Paint({f}, 200, 160, kWhite, shown).Count(kBlack, x, 11, x, 25), 0);
}

TEST(RenderText, CaretAtTheEndOfTheText) {
  stFigure f = TextBox(10, 10, 190, 60, QStringLiteral("abc"));
  f.Selected = true;
  const int x = 11 + Metrics(f).horizontalAdvance(QStringLiteral("abc"));
  PaintOptions shown;
  shown.CaretShown = true;
  const Painted p = Paint({f}, 200, 160, kWhite, shown, [](EditorState& s) { s.CaretPos = 3; });
  EXPECT_EQ(p.state.CaretColumn, 3);
  EXPECT_EQ(p.Count(kBlack, x, 11, x, 26), 16);
  // On a black background the caret is white.
  const Painted q = Paint({f}, 200, 160, kBlack, shown, [](EditorState& s) { s.CaretPos = 3; });
  EXPECT_EQ(q.Count(kWhite, x, 11, x, 26), 16);
}

TEST(RenderText, CaretOnALineBelowTheBoxIsNotDrawn) {
  stFigure f = TextBox(10, 10, 60, 40, QStringLiteral("aaaa bbbb cccc"));
  f.Selected = true;
  PaintOptions shown;
  shown.CaretShown = true;
  const Painted p = Paint({f}, 200, 160, kWhite, shown, [](EditorState& s) { s.CaretPos = 14; });
  EXPECT_EQ(p.state.CaretLine, 2);
  EXPECT_EQ(p.Count(kBlack, 0, 44, 199, 159), 0);
  EXPECT_EQ(p.Count(kBlack, 14, 14, 56, 36), 0);
}

TEST(RenderText, RepaintsFromTheCachesEqualAFreshPainter) {
  // More fonts than the painter keeps resolved, texts, labels and edits between repaints.
  std::vector<stFigure> figures;
  for (int i = 0; i < 24; ++i) {
    stFigure f = TextBox(10 + (i % 6) * 100, 10 + (i / 6) * 80, 100 + (i % 6) * 100, 70 + (i / 6) * 80,
                         QStringLiteral("Слово %1 и ещё слова").arg(i), i % 3);
    f.Vid = static_cast<std::uint8_t>(i % 2 ? FigureKind::Rectangle : FigureKind::Table);
    f.VidFill = 1;
    f.BrushColor = kWhite;
    f.Font.Height = -(9 + i);
    f.Font.Color = static_cast<ColorRef>(i * 0x0A0B0C);
    f.ShowStrelki = true;
    f.Width = i * 1.5;
    f.Height = i;
    figures.push_back(f);
  }
  stScena scene;
  scene.Figures = figures;
  EditorState state;
  state.ImageWidth = 640;
  state.ImageHeight = 400;
  QImage kept, fresh;
  ResizeSceneBitmap(kept, state);
  ResizeSceneBitmap(fresh, state);
  ScenePainter painter;
  for (int round = 0; round < 3; ++round) {
    painter.RedrawScene(kept, scene, state, {});
    stScena copy = scene;
    ScenePainter once;
    once.RedrawScene(fresh, copy, state, {});
    ASSERT_EQ(kept, fresh) << "round " << round;
    for (std::size_t i = 0; i < scene.Figures.size(); ++i)
      ASSERT_EQ(scene.Figures[i].TextLines, copy.Figures[i].TextLines) << "round " << round << " figure " << i;
    // Change some texts, sizes and measures between rounds.
    scene.Figures[static_cast<std::size_t>(round)].Text += QStringLiteral(" дописано");
    scene.Figures[static_cast<std::size_t>(round + 5)].X1 -= 30;
    scene.Figures[static_cast<std::size_t>(round + 9)].Height = 7.75;
  }
  const test::Painted last{kept, scene, state, {}};
  EXPECT_GT(last.CountNot(kWhite, 0, 0, 639, 399), 2000);
}

}  // namespace
}  // namespace korvan
