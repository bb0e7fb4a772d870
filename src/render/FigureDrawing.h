#pragma once
// The drawing routines of the figure kinds and what they share; used by ScenePainter.

#include <QString>
#include <QStringList>

#include <vector>

#include "model/EditorState.h"
#include "model/Scene.h"
#include "render/Canvas.h"
#include "render/ScenePainter.h"

namespace korvan {

// Everything a routine reads besides its figure.
struct PaintContext {
  Canvas& canvas;
  EditorState& state;
  ColorRef sceneBackground;  // the scene record's background colour
  const PaintOptions& options;
  // Whether a text layout may move the caret: always for the editor's own call, only for selected
  // figures during a full repaint, so that other figures' texts cannot drag the edited one's caret.
  bool caretFromSelectedOnly;
};

// Body for the figure's kind and fill, its text and dimension lines, then the marks when selected
// (except for a curve still being drawn).
void DrawFigure(PaintContext& ctx, stFigure& figure);

// The eight marks and the dotted frame; the mark rectangles are written into the figure.
void DrawSelectionMarks(PaintContext& ctx, stFigure& figure);

// The dimension lines and measure labels of the figure, when it has them.
void DrawDimensionArrows(PaintContext& ctx, const stFigure& figure);

// The double arrow routine over explicit corners and colours, shared with the dimension lines.
void DrawDoubleArrow(PaintContext& ctx, pixel::Coord x0, pixel::Coord y0, pixel::Coord x1, pixel::Coord y1,
                     ColorRef penColor, int penWidth, std::uint8_t penStyle, ColorRef brushColor,
                     std::uint8_t brushStyle, bool filled);

// Text layout (TextLayout.cpp).
// Words of text: each ends after a space, or after a hyphen when no space is left in the rest.
void SplitWordSpans(const QString& text, std::vector<WordSpan>& words);
void LayoutAndDrawText(PaintContext& ctx, stFigure& figure);
void DrawTextCaret(PaintContext& ctx, const stFigure& figure, pixel::Coord margin);

}  // namespace korvan
