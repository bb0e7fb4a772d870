#pragma once
// Painting a whole scene into the off-screen image: background, grid, every figure in list order
// with its text, dimension lines and selection marks. No widget is involved; the window shows the
// image, the magnifier copies from it, export saves it.
//
// Contract for the window:
//  - The scene image is a QImage::Format_RGB32 of ImageWidth x ImageHeight; ResizeSceneBitmap keeps
//    it so. Keep one ScenePainter for the life of the window: it keeps resolved fonts, shaped
//    strings, line breaks and measure labels across redraws, so a repaint of an unchanged scene
//    shapes no text; a pen or brush is built only when a figure's colours or styles differ from
//    the last ones drawn. One thread only.
//  - Antialiasing is off for shapes; text is drawn as the platform's fonts render it (smoothed).
//  - Every change of the scene, every paint event and every caret tick calls RedrawScene. It
//    repaints the entire image and writes back into the scene what hit-testing and text editing
//    read afterwards: MarkRects of every selected figure, TextLines of every figure that carries a
//    text (rectangle, text box, table cell), state.MarkColor, state.BackgroundColor (taken from the
//    scene while it has figures) and state.CaretLine / CaretColumn (from state.CaretPos, by the
//    layout of a selected figure).
//  - The grid follows state.GridEnabled, GridStep and GridColor; dimension lines follow
//    state.StrelkiVidColor and StrelkiColor and each figure's own switch.
//  - Measures, the figure list and the window surface stay with the window: RedrawScene returns
//    which selected figure the measure panel shows, FigureNames gives the list.

#include <QImage>
#include <QPainter>
#include <QStringList>

#include "model/EditorState.h"
#include "model/Scene.h"
#include "render/Canvas.h"
#include "render/FigureGeometry.h"

namespace korvan {

// Mouse and caret state of the window that changes what is painted.
struct PaintOptions {
  // A left press on the canvas is in progress. While it is, figures narrower or lower than 20
  // pixels show no dimension lines.
  bool MousePressed = false;
  // That press grabbed an existing figure (move or resize) rather than starting a new one. A
  // selected curve gets no marks while MousePressed is set and DragExisting is not (it is being
  // drawn).
  bool DragExisting = false;
  // The caret blink phase is "on": in-place editing is active (its timer runs, the canvas' focus
  // edit has the focus) and the blink shows the caret. It is then drawn in every selected figure
  // with a text layout.
  bool CaretShown = false;
};

struct PaintResult {
  // The last selected figure in list order, or -1: the one whose measures the panel shows.
  int LastSelected = -1;
};

class ScenePainter {
 public:
  // The full repaint into bitmap (see the contract above). A null bitmap is left alone; the scene
  // is still walked so that the result is right.
  PaintResult RedrawScene(QImage& bitmap, stScena& scene, EditorState& state, const PaintOptions& options);

  // One figure drawn onto the image as the full repaint would draw it (body, text, dimension lines,
  // marks when selected), over what is already there. For the in-place editor after deleting a
  // character.
  void DrawFigure(QImage& bitmap, stFigure& figure, const stScena& scene, EditorState& state,
                  const PaintOptions& options);

  // The figure's text alone laid out and drawn onto the image, its TextLines rewritten, the caret
  // line and column derived from state.CaretPos when it is not 0, and the caret drawn when
  // options.CaretShown and the figure is selected. For the in-place editor after each key.
  void LayoutAndDrawText(QImage& bitmap, stFigure& figure, const stScena& scene, EditorState& state,
                         const PaintOptions& options);

 private:
  PaintCache cache_;
};

// The figure names in list order, for the figure list of the property panel.
QStringList FigureNames(const stScena& scene);

// Sets bitmap to state.ImageWidth x state.ImageHeight in Format_RGB32 (contents undefined until the
// next redraw). Sizes are kept within 1 .. MaxImageWidth / MaxImageHeight: a size below one pixel
// becomes one pixel, so the image is never null and every later copy from it stays valid. False
// only when memory for the image cannot be had; bitmap is then a 1 x 1 image.
bool ResizeSceneBitmap(QImage& bitmap, const EditorState& state);

// Background of the image: the scene's colour while it has figures (copied into
// state.BackgroundColor), state.BackgroundColor while it is empty.
void ClearSceneBitmap(QPainter& painter, QSize size, const stScena& scene, EditorState& state);

// One-pixel lines every GridStep pixels from 0, vertical over the whole height first, then
// horizontal, in GridColor; nothing when GridStep is below 1.
void DrawGrid(QPainter& painter, int width, int height, const EditorState& state);

// The magnifier: the source rectangle of MagnifierSourceRect for the mouse at (x, y) stretched over
// target (the magnifier's whole client area). Parts of the source outside the image show nothing.
void DrawMagnifier(QPainter& painter, const QRect& target, const QImage& bitmap, int x, int y);

}  // namespace korvan
