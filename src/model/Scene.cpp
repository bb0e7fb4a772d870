#include "model/Scene.h"

namespace korvan {

void ClearScene(stScena& scene) {
  scene.Figures.clear();
  scene.FormulaRows.clear();
}

}  // namespace korvan
