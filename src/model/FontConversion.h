#pragma once
// Between the stored font description and a QFont. Colour and character set have no place in a
// QFont: the colour is the painter's pen, the character set is kept only in the description.

#include <QFont>

#include "model/Figure.h"

namespace korvan {

// Pixels per inch of the scene bitmap; stored heights and point sizes relate through it.
inline constexpr int kSceneDpi = 96;

// Face, height, pitch and size in that order, so a positive size wins over the height; then the
// four styles. The result is sized in pixels, so drawing does not depend on the screen.
QFont ToQFont(const stFont& font);

// The description of a QFont with the given colour and character set; Height is the negative
// character height in pixels, Size the points at kSceneDpi.
stFont FromQFont(const QFont& font, ColorRef color, std::int32_t charset = 1);

}  // namespace korvan
