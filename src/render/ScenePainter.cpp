#include "render/ScenePainter.h"

#include <algorithm>

#include "render/FigureDrawing.h"

namespace korvan {

namespace {

// A painter over the scene image with the settings every drawing assumes.
void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

}  // namespace

PaintResult ScenePainter::RedrawScene(QImage& bitmap, stScena& scene, EditorState& state,
                                      const PaintOptions& options) {
  PaintResult result;
  for (std::size_t i = 0; i < scene.Figures.size(); ++i)
    if (scene.Figures[i].Selected) result.LastSelected = static_cast<int>(i);
  if (bitmap.isNull()) return result;

  QPainter p(&bitmap);
  Prepare(p);
  ClearSceneBitmap(p, bitmap.size(), scene, state);
  if (state.GridEnabled) DrawGrid(p, bitmap.width(), bitmap.height(), state);

  Canvas canvas(p, bitmap, cache_);
  // What the clear left on the canvas.
  canvas.PenColor = state.BackgroundColor;
  canvas.BrushColor = state.BackgroundColor;
  PaintContext ctx{canvas, state, scene.BackgroundColor, options, true};
  for (stFigure& f : scene.Figures) korvan::DrawFigure(ctx, f);
  return result;
}

void ScenePainter::DrawFigure(QImage& bitmap, stFigure& figure, const stScena& scene, EditorState& state,
                              const PaintOptions& options) {
  if (bitmap.isNull()) return;
  QPainter p(&bitmap);
  Prepare(p);
  Canvas canvas(p, bitmap, cache_);
  PaintContext ctx{canvas, state, scene.BackgroundColor, options, false};
  korvan::DrawFigure(ctx, figure);
}

void ScenePainter::LayoutAndDrawText(QImage& bitmap, stFigure& figure, const stScena& scene, EditorState& state,
                                     const PaintOptions& options) {
  if (bitmap.isNull()) return;
  QPainter p(&bitmap);
  Prepare(p);
  Canvas canvas(p, bitmap, cache_);
  PaintContext ctx{canvas, state, scene.BackgroundColor, options, false};
  korvan::LayoutAndDrawText(ctx, figure);
}

QStringList FigureNames(const stScena& scene) {
  QStringList names;
  names.reserve(static_cast<qsizetype>(scene.Figures.size()));
  for (const stFigure& f : scene.Figures) names.append(f.Name);
  return names;
}

bool ResizeSceneBitmap(QImage& bitmap, const EditorState& state) {
  const int w = std::clamp(state.ImageWidth, 1, std::max(state.MaxImageWidth, 1));
  const int h = std::clamp(state.ImageHeight, 1, std::max(state.MaxImageHeight, 1));
  if (bitmap.width() == w && bitmap.height() == h && bitmap.format() == QImage::Format_RGB32) return true;
  bitmap = QImage(w, h, QImage::Format_RGB32);
  if (!bitmap.isNull()) return true;
  bitmap = QImage(1, 1, QImage::Format_RGB32);
  return false;
}

void ClearSceneBitmap(QPainter& painter, QSize size, const stScena& scene, EditorState& state) {
  // The scene's copy wins while there are figures, so undo and redo of a colour change show here.
  if (!scene.Figures.empty()) state.BackgroundColor = scene.BackgroundColor;
  painter.fillRect(QRect(QPoint(0, 0), size), pixel::ToQColor(state.BackgroundColor));
}

void DrawGrid(QPainter& painter, int width, int height, const EditorState& state) {
  const int step = state.GridStep;
  if (step < 1 || width <= 0 || height <= 0) return;
  // One-pixel solid lines without their end points are exactly these thin fills.
  const QColor color = pixel::ToQColor(state.GridColor);
  for (pixel::Coord x = 0; x < width; x += step) painter.fillRect(QRect(static_cast<int>(x), 0, 1, height), color);
  for (pixel::Coord y = 0; y < height; y += step) painter.fillRect(QRect(0, static_cast<int>(y), width, 1), color);
}

void DrawMagnifier(QPainter& painter, const QRect& target, const QImage& bitmap, int x, int y) {
  if (bitmap.isNull() || target.isEmpty()) return;
  const PixelRect s = MagnifierSourceRect(x, y, target.width(), target.height(), bitmap.width(), bitmap.height());
  const QRectF source(s.Left, s.Top, s.Right - s.Left, s.Bottom - s.Top);
  if (source.isEmpty()) return;
  painter.drawImage(QRectF(target), bitmap, source);
}

}  // namespace korvan
