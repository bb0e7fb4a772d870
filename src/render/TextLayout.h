#pragma once
// Word breaking of a figure's text. The layout itself draws, so it lives with the painter
// (ScenePainter::LayoutAndDrawText).

#include <QStringList>

namespace korvan {

// The words of text in order: each runs up to and including the first space of what is left, or,
// only when no space is left at all, up to and including the first hyphen; the rest is the last
// word. Joining them gives the text back unchanged; an empty text has no words.
// "a-b c-d" gives "a-b ", "c-", "d".
QStringList SplitWords(const QString& text);

}  // namespace korvan
