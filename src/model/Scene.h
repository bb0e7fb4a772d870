#pragma once
// A scene: the current drawing and every undo or redo snapshot of it.

#include <QList>
#include <QStringList>

#include <vector>

#include "model/Figure.h"

namespace korvan {

// Rows of the formula table below its header: name, formula text, value, in column order.
using FormulaGrid = QList<QStringList>;

struct stScena {
  std::vector<stFigure> Figures;  // drawing order: later figures lie above earlier ones
  ColorRef BackgroundColor = 0xFFFFFF;
  std::int32_t ImageWidth = 1280;
  std::int32_t ImageHeight = 1024;
  FormulaGrid FormulaRows;

  friend bool operator==(const stScena&, const stScena&) = default;
};

// Removes every figure and saved formula row; colour and size stay.
void ClearScene(stScena& scene);

}  // namespace korvan
