#pragma once
// Small builders shared by the formula tests: UTF-8 literals, named figures and formula rows.

#include <QString>
#include <QStringList>

#include <initializer_list>

#include "model/Figure.h"
#include "model/Scene.h"

namespace korvan::test {

inline QString U(const char* s) { return QString::fromUtf8(s); }

// A figure of a kind with its measures; its GUID is derived from its name.
inline stFigure Figure(const char* name, FigureKind kind, double w, double h) {
  stFigure f;
  f.Name = U(name);
  f.Guid = QStringLiteral("G-") + f.Name;
  f.Vid = static_cast<std::uint8_t>(kind);
  f.Width = w;
  f.Height = h;
  return f;
}

inline FormulaGrid Rows(std::initializer_list<std::initializer_list<const char*>> rows) {
  FormulaGrid out;
  for (const auto& r : rows) {
    QStringList cells;
    for (const char* c : r) cells.append(U(c));
    out.append(cells);
  }
  return out;
}

}  // namespace korvan::test
