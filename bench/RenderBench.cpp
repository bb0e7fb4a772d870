// A full repaint of a 1,000-figure scene (every kind, a third with text, half with dimension
// lines) at 1280 x 1024 and at 3000 x 2000, against a floor: the same primitives, prepared once,
// drawn by a bare QPainter loop that knows nothing of figures.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "model/FontConversion.h"
#include "render/ScenePainter.h"
#include "support/ZString.h"

namespace {

using korvan::ColorRef;
using korvan::FigureKind;
using korvan::stFigure;

constexpr int kFigures = 1000;

const char* const kWords[] = {"стена", "окно", "дверь", "проём", "северная", "кухня", "комната", "площадь",
                              "отделка", "пол", "потолок", "штукатурка", "Wall", "window", "1.25", "м²"};

QColor Q(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

korvan::stScena MakeScene(int w, int h) {
  std::mt19937 rng(12345);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const FigureKind measured[] = {FigureKind::Rectangle, FigureKind::RoundRect, FigureKind::Ellipse,
                                 FigureKind::Triangle, FigureKind::SquareTriangle, FigureKind::Romb};
  const FigureKind plain[] = {FigureKind::Line,    FigureKind::Strelka, FigureKind::DoubleStrelka,
                              FigureKind::Picture, FigureKind::Photo,   FigureKind::Curve};
  const FigureKind texts[] = {FigureKind::Text, FigureKind::Table};
  QImage picture(16, 12, QImage::Format_RGB32);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) picture.setPixel(x, y, qRgb(x * 16, y * 20, 128));

  korvan::stScena scene;
  scene.ImageWidth = w;
  scene.ImageHeight = h;
  for (int i = 0; i < kFigures; ++i) {
    stFigure f;
    // i % 6: 0 rectangle with text and dimensions, 3 text box or table cell with text,
    // 2 and 4 measured kinds with dimensions, 1 and 5 the other kinds.
    const int slot = i % 6;
    FigureKind kind;
    if (slot == 0) kind = FigureKind::Rectangle;
    else if (slot == 3) kind = texts[(i / 6) % 2];
    else if (slot == 2 || slot == 4) kind = measured[(i / 3) % 6];
    else kind = plain[(i / 3) % 6];
    f.Vid = static_cast<std::uint8_t>(kind);
    f.VidFill = static_cast<std::uint8_t>((i / 2) % 2);
    const int fw = pick(30, 180), fh = pick(30, 140);
    f.X0 = pick(10, w - fw - 60);
    f.Y0 = pick(10, h - fh - 60);
    f.X1 = f.X0 + fw;
    f.Y1 = f.Y0 + fh;
    if (i % 7 == 0) std::swap(f.X0, f.X1);
    f.PenColor = static_cast<ColorRef>(pick(0, 0x7F7F7F));
    f.PenWidth = i % 5 == 0 ? 2 : 1;
    f.PenStyle = static_cast<std::uint8_t>(i % 9 == 0 ? 1 : i % 11 == 0 ? 2 : 0);
    f.BrushColor = static_cast<ColorRef>(pick(0x404040, 0xFFFFFF));
    f.BrushStyle = static_cast<std::uint8_t>(i % 4 == 0 ? pick(2, 7) : 0);
    f.ShowStrelki = slot == 0 || slot == 2 || slot == 4;
    f.Width = pick(1, 900) / 100.0;
    f.Height = pick(1, 500) / 100.0;
    f.Font.Name = QStringLiteral("Arial");
    f.Font.Size = 10;
    f.Font.Color = static_cast<ColorRef>(pick(0, 0x404040));
    if (slot == 0 || slot == 3) {
      QStringList words;
      for (int k = pick(2, 9); k > 0; --k) words.append(QString::fromUtf8(kWords[pick(0, 15)]));
      f.Text = words.join(QLatin1Char(' '));
      f.TextPosition = static_cast<std::uint8_t>(i % 3);
    }
    if (kind == FigureKind::Picture || kind == FigureKind::Photo) f.Picture = picture;
    if (kind == FigureKind::Curve)
      for (int k = 0; k < 20; ++k) f.Points.emplace_back(f.X0 + k * fw / 20, f.Y0 + pick(0, fh));
    f.Name = QStringLiteral("Фигура_%1").arg(i + 1);
    f.Selected = i % 100 == 0;
    scene.Figures.push_back(std::move(f));
  }
  return scene;
}

// One primitive of the floor, with everything it needs made beforehand.
struct Prim {
  enum Kind { Line, Polyline, Polygon, Rect, RoundRect, Ellipse, Image, Text, TextUp, Fill } kind;
  int pen = 0, brush = 0, font = 0;
  QRect rect;
  QPolygon points;
  QString text;
  const QImage* image = nullptr;
};

struct Floor {
  std::vector<QPen> pens;
  std::vector<QBrush> brushes;
  std::vector<QFont> fonts;
  std::vector<int> ascents;
  std::vector<Prim> prims;
  ColorRef background = 0xFFFFFF;

  int Pen(ColorRef c, int w, int style) {
    QPen p(Q(c), std::max(w, 1));
    p.setCapStyle(w <= 1 ? Qt::FlatCap : Qt::RoundCap);
    if (style == 1) p.setDashPattern({18, 6});
    if (style == 2) p.setDashPattern({3, 3});
    pens.push_back(p);
    return static_cast<int>(pens.size()) - 1;
  }
  int Brush(ColorRef c, int style) {
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    brushes.emplace_back(Q(c), styles[style & 7]);
    return static_cast<int>(brushes.size()) - 1;
  }
  void Add(Prim p) { prims.push_back(std::move(p)); }

  void Paint(QImage& image) const {
    QPainter p(&image);
    p.fillRect(image.rect(), Q(background));
    for (const Prim& d : prims) {
      switch (d.kind) {
        case Prim::Line:
          p.setPen(pens[d.pen]);
          p.drawLine(d.points[0], d.points[1]);
          break;
        case Prim::Polyline:
          p.setPen(pens[d.pen]);
          p.drawPolyline(d.points);
          break;
        case Prim::Polygon:
          p.setPen(pens[d.pen]);
          p.setBrush(brushes[d.brush]);
          p.drawPolygon(d.points);
          break;
        case Prim::Rect:
          p.setPen(pens[d.pen]);
          p.setBrush(brushes[d.brush]);
          p.drawRect(d.rect);
          break;
        case Prim::RoundRect:
          p.setPen(pens[d.pen]);
          p.setBrush(brushes[d.brush]);
          p.drawRoundedRect(d.rect, 15, 15);
          break;
        case Prim::Ellipse:
          p.setPen(pens[d.pen]);
          p.setBrush(brushes[d.brush]);
          p.drawEllipse(d.rect);
          break;
        case Prim::Image:
          p.drawImage(d.rect, *d.image);
          break;
        case Prim::Text:
          p.setPen(pens[d.pen]);
          p.setFont(fonts[d.font]);
          p.drawText(d.rect.topLeft() + QPoint(0, ascents[d.font]), d.text);
          break;
        case Prim::TextUp:
          p.setPen(pens[d.pen]);
          p.setFont(fonts[d.font]);
          p.translate(d.rect.topLeft());
          p.rotate(-90);
          p.drawText(0, ascents[d.font], d.text);
          p.resetTransform();
          break;
        case Prim::Fill:
          p.fillRect(d.rect, brushes[d.brush]);
          break;
      }
    }
  }
};

// The primitives our painter draws for the scene, taken from the figures with plain arithmetic;
// text lines come from the layout the painter recorded.
Floor MakeFloor(const korvan::stScena& scene) {
  Floor fl;
  fl.background = scene.BackgroundColor;
  QFont font = korvan::ToQFont(scene.Figures.front().Font);
  fl.fonts.push_back(font);
  fl.ascents.push_back(QFontMetrics(font).ascent());
  const QFontMetrics fm(font);
  const int gray = fl.Pen(0x808080, 1, 0), grayBrush = fl.Brush(0x808080, 0);
  const int markBrush = fl.Brush(0, 0), dot = fl.Pen(0, 1, 2);
  auto head = [&](int fromX, int fromY, int tipX, int tipY, int pen, int brush) {
    const double dx = fromX - tipX, dy = fromY - tipY, len = std::hypot(dx, dy);
    const double ux = len > 0 ? dx / len : 0, uy = len > 0 ? dy / len : 0;
    QPolygon tri{QPoint(tipX, tipY), QPoint(int(tipX + 13 * ux - 4 * uy), int(tipY + 13 * uy + 4 * ux)),
                 QPoint(int(tipX + 13 * ux + 4 * uy), int(tipY + 13 * uy - 4 * ux))};
    fl.Add({Prim::Polygon, pen, brush, 0, {}, tri, {}, nullptr});
  };
  for (const stFigure& f : scene.Figures) {
    const int pen = fl.Pen(f.PenColor, f.PenWidth, f.PenStyle);
    const int brush = fl.Brush(f.BrushColor, f.VidFill ? f.BrushStyle : 1);
    const QRect box = QRect(QPoint(f.X0, f.Y0), QPoint(f.X1, f.Y1)).normalized();
    const int mx = f.X0 + (f.X1 - f.X0) / 2, my = f.Y0 + (f.Y1 - f.Y0) / 2;
    switch (f.Kind()) {
      case FigureKind::Line:
        fl.Add({Prim::Line, pen, 0, 0, {}, QPolygon{QPoint(f.X0, f.Y0), QPoint(f.X1, f.Y1)}, {}, nullptr});
        break;
      case FigureKind::Rectangle:
      case FigureKind::Text:
      case FigureKind::Table:
        if (f.VidFill || f.Is(FigureKind::Table) || f.Is(FigureKind::Rectangle))
          fl.Add({Prim::Rect, pen, brush, 0, box, {}, {}, nullptr});
        break;
      case FigureKind::RoundRect: fl.Add({Prim::RoundRect, pen, brush, 0, box, {}, {}, nullptr}); break;
      case FigureKind::Ellipse: fl.Add({Prim::Ellipse, pen, brush, 0, box, {}, {}, nullptr}); break;
      case FigureKind::Triangle:
        fl.Add({Prim::Polygon, pen, brush, 0, {}, QPolygon{QPoint(f.X0, f.Y1), QPoint(mx, f.Y0), QPoint(f.X1, f.Y1)}, {}, nullptr});
        break;
      case FigureKind::SquareTriangle:
        fl.Add({Prim::Polygon, pen, brush, 0, {}, QPolygon{QPoint(f.X0, f.Y0), QPoint(f.X1, f.Y1), QPoint(f.X0, f.Y1)}, {}, nullptr});
        break;
      case FigureKind::Romb:
        fl.Add({Prim::Polygon, pen, brush, 0, {},
                QPolygon{QPoint(f.X0, my), QPoint(mx, f.Y0), QPoint(f.X1, my), QPoint(mx, f.Y1)}, {}, nullptr});
        break;
      case FigureKind::Strelka:
      case FigureKind::DoubleStrelka: {
        const int fill = fl.Brush(f.BrushColor, 0);
        fl.Add({Prim::Line, pen, 0, 0, {}, QPolygon{QPoint(f.X0, f.Y0), QPoint(f.X1, f.Y1)}, {}, nullptr});
        if (f.Is(FigureKind::Strelka))
          fl.Add({Prim::Ellipse, pen, fill, 0, QRect(f.X0 - 4, f.Y0 - 4, 8, 8), {}, {}, nullptr});
        else
          head(f.X1, f.Y1, f.X0, f.Y0, pen, fill);
        head(f.X0, f.Y0, f.X1, f.Y1, pen, fill);
        break;
      }
      case FigureKind::Picture:
      case FigureKind::Photo: fl.Add({Prim::Image, 0, 0, 0, box, {}, {}, &f.Picture}); break;
      case FigureKind::Curve: {
        QPolygon pts;
        for (const QPoint& q : f.Points) pts.append(q);
        fl.Add({f.VidFill ? Prim::Polygon : Prim::Polyline, pen, brush, 0, {}, pts, {}, nullptr});
        break;
      }
      case FigureKind::None: break;
    }
    if (!f.Text.isEmpty()) {
      const int textPen = fl.Pen(f.Font.Color, 1, 0);
      for (const korvan::stTextLine& l : f.TextLines)
        if (l.Top < box.bottom())
          fl.Add({Prim::Text, textPen, 0, 0, QRect(l.Left, l.Top, 1, 1), {}, l.Text, nullptr});
    }
    if (f.ShowStrelki) {
      const int xe = box.right() + 20, ye = box.bottom() + 20;
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(box.right(), f.Y0), QPoint(xe, f.Y0)}, {}, nullptr});
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(box.right(), f.Y1), QPoint(xe, f.Y1)}, {}, nullptr});
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(xe, f.Y0), QPoint(xe, f.Y1)}, {}, nullptr});
      head(xe, f.Y1, xe, f.Y0, gray, grayBrush);
      head(xe, f.Y0, xe, f.Y1, gray, grayBrush);
      const QString h = korvan::ZString::FormatNumber(f.Height);
      fl.Add({Prim::TextUp, gray, 0, 0, QRect(xe - fm.height(), my + fm.horizontalAdvance(h) / 2, 1, 1), {}, h, nullptr});
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(f.X0, box.bottom()), QPoint(f.X0, ye)}, {}, nullptr});
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(f.X1, box.bottom()), QPoint(f.X1, ye)}, {}, nullptr});
      fl.Add({Prim::Line, gray, 0, 0, {}, QPolygon{QPoint(f.X0, ye), QPoint(f.X1, ye)}, {}, nullptr});
      head(f.X1, ye, f.X0, ye, gray, grayBrush);
      head(f.X0, ye, f.X1, ye, gray, grayBrush);
      const QString w = korvan::ZString::FormatNumber(f.Width);
      fl.Add({Prim::Text, gray, 0, 0, QRect(mx - fm.horizontalAdvance(w) / 2, ye - fm.height(), 1, 1), {}, w, nullptr});
    }
    if (f.Selected) {
      for (const korvan::MarkRect& m : f.MarkRects)
        fl.Add({Prim::Fill, 0, markBrush, 0, QRect(m.Left, m.Top, 6, 6), {}, {}, nullptr});
      fl.Add({Prim::Polyline, dot, 0, 0, {},
              QPolygon{box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft(), box.topLeft()}, {}, nullptr});
    }
  }
  return fl;
}

struct Setup {
  korvan::stScena scene;
  korvan::EditorState state;
  QImage image;
  korvan::ScenePainter painter;
  Floor floor;

  Setup(int w, int h) : scene(MakeScene(w, h)) {
    state.ImageWidth = w;
    state.ImageHeight = h;
    korvan::ResizeSceneBitmap(image, state);
    painter.RedrawScene(image, scene, state, {});  // text lines and marks for the floor
    floor = MakeFloor(scene);
  }
};

Setup& Get(int w, int h) {
  static Setup small(1280, 1024);
  static Setup large(3000, 2000);
  return w == 1280 && h == 1024 ? small : large;
}

void BM_RedrawScene(benchmark::State& st) {
  Setup& s = Get(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
  for (auto _ : st) {
    s.painter.RedrawScene(s.image, s.scene, s.state, {});
    benchmark::DoNotOptimize(s.image.constBits());
  }
}

// The first repaint after start-up or after loading another scheme: nothing measured or shaped yet.
void BM_RedrawSceneColdCache(benchmark::State& st) {
  Setup& s = Get(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
  for (auto _ : st) {
    korvan::ScenePainter fresh;
    fresh.RedrawScene(s.image, s.scene, s.state, {});
    benchmark::DoNotOptimize(s.image.constBits());
  }
}

void BM_BareQPainterFloor(benchmark::State& st) {
  Setup& s = Get(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
  for (auto _ : st) {
    s.floor.Paint(s.image);
    benchmark::DoNotOptimize(s.image.constBits());
  }
}

BENCHMARK(BM_RedrawScene)->Args({1280, 1024})->Args({3000, 2000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawSceneColdCache)->Args({1280, 1024})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareQPainterFloor)->Args({1280, 1024})->Args({3000, 2000})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
