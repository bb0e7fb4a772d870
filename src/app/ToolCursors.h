#pragma once
// The 22 tool cursors, drawn by us: a cross whose centre is the hot spot, with the tool's glyph
// beside it. Numbers and names follow the tool list: 1 "Line" … 22 "Pipetka".

#include <QCursor>
#include <QString>

namespace korvan {

inline constexpr int kToolCursorCount = 22;

// Draws all cursors once; later calls do nothing. Needs a QGuiApplication.
void RegisterToolCursors();
// Cursor number 1..22; the arrow for any other number.
QCursor ToolCursor(int number);
// Its resource name ("Line", "FillRect", …), or "" outside 1..22.
QString ToolCursorName(int number);

}  // namespace korvan
