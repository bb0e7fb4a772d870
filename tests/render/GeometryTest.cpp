// Pure geometry: arrow heads, mark rectangles, mark colour, the magnifier's source, word breaking.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "common/QtPrinters.h"
#include "render/FigureGeometry.h"
#include "render/TextLayout.h"
#include "render/RenderTestUtil.h"

namespace korvan {
namespace {

using test::Fig;

struct ArrowCase {
  pixel::Coord x0, y0, x1, y1;
  double angle;
  pixel::Coord ex, ey;
};

TEST(RenderGeometry, ArrowHeadPoints) {
  const ArrowCase cases[] = {
      // A 100-pixel shaft: the points stand just under 14 pixels back from the tip (88.46, +-4.20).
      {0, 0, 100, 0, 20, 88, -4},
      {0, 0, 100, 0, -20, 88, 4},
      // The same arrow pointing down and to the left.
      {0, 0, 0, 100, 20, 4, 88},
      {0, 0, 0, 100, -20, -4, 88},
      {100, 0, 0, 0, 20, 11, 4},
      {100, 0, 0, 0, -20, 11, -4},
      // A 14-pixel arrow: half the shaft back (7.42, -2.39), truncated toward zero.
      {0, 0, 14, 0, 20, 7, -2},
      {0, 0, 14, 0, -20, 7, 2},
      // Zero length: the tip itself.
      {50, 60, 50, 60, 20, 50, 60},
      // Far out coordinates stay exact; -2147483559.54 truncates toward zero.
      {INT_MIN, 0, INT_MIN + 100, 0, 20, pixel::Coord{INT_MIN} + 89, -4},
      // Arrows where degrees converted with 180/pi would land one pixel off (338 and 338).
      {0, 0, 351, 395, -20, 339, 388},
      {0, 0, 395, 351, 20, 388, 339},
  };
  for (const ArrowCase& c : cases) {
    const CPoint p = ArrowHeadPoint(c.x0, c.x1, c.y0, c.y1, c.angle, 14);
    EXPECT_EQ(p.X, c.ex) << c.x0 << ',' << c.y0 << " -> " << c.x1 << ',' << c.y1 << " at " << c.angle;
    EXPECT_EQ(p.Y, c.ey) << c.x0 << ',' << c.y0 << " -> " << c.x1 << ',' << c.y1 << " at " << c.angle;
  }
}

TEST(RenderGeometry, MarkRectanglesInHitTestOrder) {
  const stFigure f = Fig(FigureKind::Rectangle, 10, 10, 100, 50);
  const std::array<MarkRect, 8> m = MarkRectsOf(f, 6);
  const std::array<MarkRect, 8> expected = {{
      {7, 7, 13, 13},    // top-left
      {7, 47, 13, 53},   // bottom-left
      {97, 7, 103, 13},  // top-right
      {97, 47, 103, 53}, // bottom-right
      {52, 7, 58, 13},   // top-middle
      {52, 47, 58, 53},  // bottom-middle
      {7, 27, 13, 33},   // left-middle
      {97, 27, 103, 33}, // right-middle
  }};
  EXPECT_EQ(m, expected);
}

TEST(RenderGeometry, MarksDoNotDependOnTheDragDirection) {
  const std::array<MarkRect, 8> forward = MarkRectsOf(Fig(FigureKind::Ellipse, 10, 20, 101, 61), 6);
  EXPECT_EQ(MarkRectsOf(Fig(FigureKind::Ellipse, 101, 61, 10, 20), 6), forward);
  EXPECT_EQ(MarkRectsOf(Fig(FigureKind::Ellipse, 10, 61, 101, 20), 6), forward);
  EXPECT_EQ(MarkRectsOf(Fig(FigureKind::Ellipse, 101, 20, 10, 61), 6), forward);
  // Odd spans truncate: the midpoints of 10..101 and 20..61 are 55 and 40.
  EXPECT_EQ(forward[kMarkTopMiddle], (MarkRect{52, 17, 58, 23}));
  EXPECT_EQ(forward[kMarkLeftMiddle], (MarkRect{7, 37, 13, 43}));
  // Negative spans truncate toward zero too: -5 .. 0 has its middle at -3.
  EXPECT_EQ(MarkRectsOf(Fig(FigureKind::Line, -5, 0, 0, 0), 6)[kMarkTopMiddle], (MarkRect{-6, -3, 0, 3}));
}

TEST(RenderGeometry, MarksOfExtremeFiguresSaturate) {
  const std::array<MarkRect, 8> m = MarkRectsOf(Fig(FigureKind::Line, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 6);
  EXPECT_EQ(m[kMarkTopLeft], (MarkRect{INT_MIN, INT_MIN, INT_MIN + 3, INT_MIN + 3}));
  EXPECT_EQ(m[kMarkBottomRight], (MarkRect{INT_MAX - 3, INT_MAX - 3, INT_MAX, INT_MAX}));
  EXPECT_EQ(m[kMarkTopMiddle].Left, -4);  // INT_MIN + (2^32 - 1) / 2 = -1, minus 3
}

TEST(RenderGeometry, InvertedColours) {
  EXPECT_EQ(InvertedColor(0xFFFFFF), 0x000000u);
  EXPECT_EQ(InvertedColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(InvertedColor(0x336699), 0xCC9966u);
  EXPECT_EQ(InvertedColor(0x7F808081), 0x7F7F7Eu);  // the unused top byte does not leak
}

struct LupaCase {
  int x, y, w, h, bw, bh;
  PixelRect expected;
};

TEST(RenderGeometry, MagnifierSourceRectangles) {
  const LupaCase cases[] = {
      {3, 5, 114, 101, 1280, 1024, {0, 0, 22, 20}},
      {1279, 1023, 114, 101, 1280, 1024, {1256, 1002, 1278, 1022}},
      {640, 512, 114, 101, 1280, 1024, {629, 502, 651, 522}},
      // The far edge reaches the last column exactly: moved back.
      {1268, 1013, 114, 101, 1280, 1024, {1256, 1002, 1278, 1022}},
      {1267, 1012, 114, 101, 1280, 1024, {1256, 1002, 1278, 1022}},
      {1266, 1011, 114, 101, 1280, 1024, {1255, 1001, 1277, 1021}},
      // A square magnifier: half width 10; a flat one: wider.
      {100, 100, 50, 50, 1280, 1024, {90, 90, 110, 110}},
      {100, 100, 200, 50, 1280, 1024, {60, 90, 140, 110}},
      // A magnifier without height has no width either; an image smaller than the rectangle
      // pushes it to negative coordinates.
      {100, 100, 114, 0, 1280, 1024, {100, 90, 100, 110}},
      {0, 0, 114, 101, 1, 1, {-23, -21, -1, -1}},
  };
  for (const LupaCase& c : cases)
    EXPECT_EQ(MagnifierSourceRect(c.x, c.y, c.w, c.h, c.bw, c.bh), c.expected) << c.x << ',' << c.y;
}

struct WordsCase {
  const char16_t* text;
  std::vector<const char16_t*> words;
};

TEST(RenderGeometry, SplitWords) {
  const WordsCase cases[] = {
      {u"", {}},
      {u"alpha", {u"alpha"}},
      {u"alpha beta", {u"alpha ", u"beta"}},
      {u"alpha beta ", {u"alpha ", u"beta "}},
      {u" lead", {u" ", u"lead"}},
      {u"two  spaces", {u"two ", u" ", u"spaces"}},
      // A hyphen breaks only where no space is left.
      {u"a-b c-d", {u"a-b ", u"c-", u"d"}},
      {u"a-b-c", {u"a-", u"b-", u"c"}},
      {u"-", {u"-"}},
      {u"Кухня, северная стена", {u"Кухня, ", u"северная ", u"стена"}},
  };
  for (const WordsCase& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    QStringList expected;
    for (const char16_t* w : c.words) expected.append(QString::fromUtf16(w));
    const QStringList words = SplitWords(text);
    EXPECT_EQ(words, expected) << text.toStdString();
    EXPECT_EQ(words.join(QString()), text);
  }
}

}  // namespace
}  // namespace korvan
