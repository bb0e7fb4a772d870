#pragma once
// Name substitution and table recalculation read word for word from the rules, with no index and
// no shortcut: every pair is applied to the whole text, one after another. The fast table is held
// to these results by the differential tests.

#include <QString>
#include <QStringList>

#include <vector>

#include "formula/CFormula.h"
#include "formula/FigureMeasures.h"
#include "model/EditorState.h"
#include "model/Figure.h"
#include "model/Scene.h"
#include "support/ZString.h"

namespace korvan::literal {

struct Entry {
  QString name;
  QString value;
};

inline bool SepBefore(QChar c) { return QStringLiteral(" (*+-/^").contains(c); }
inline bool SepAfter(QChar c) { return QStringLiteral(" )*+-/^").contains(c); }

// 1-based position of the first whole occurrence, 0 for none.
inline int FindWhole(const QString& text, const QString& name) {
  if (name.isEmpty()) return 0;
  for (int q = 0; q + name.size() <= text.size(); ++q) {
    if (text.mid(q, name.size()) != name) continue;
    const bool before = q == 0 || SepBefore(text[q - 1]);
    const bool after = q + name.size() == text.size() || SepAfter(text[q + name.size()]);
    if (before && after) return q + 1;
  }
  return 0;
}

// Scans the text as it changes: after a replacement on behind the value, after a miss one further.
inline QString ReplaceWhole(QString text, const QString& name, const QString& value) {
  if (name.isEmpty()) return text;
  int q = 0;
  while (q + name.size() <= text.size()) {
    if (text.mid(q, name.size()) == name) {
      const bool before = q == 0 || SepBefore(text[q - 1]);
      const bool after = q + name.size() == text.size() || SepAfter(text[q + name.size()]);
      if (before && after) {
        text = text.left(q) + value + text.mid(q + name.size());
        q += value.size();
        continue;
      }
    }
    ++q;
  }
  return text;
}

inline QString SubstituteList(QString text, const std::vector<Entry>& list) {
  for (const Entry& e : list) {
    if (FindWhole(e.value, e.name) > 0) continue;
    text = ReplaceWhole(text, e.name, e.value);
  }
  return text;
}

inline QString SubstituteNames(const QString& text, const std::vector<Entry>& list) {
  std::vector<Entry> copy = list;
  for (size_t i = 0; i < copy.size(); ++i) copy[i].value = SubstituteList(copy[i].value, copy);
  return SubstituteList(text, copy);
}

inline QString Zero(const QString& s) { return s.isEmpty() ? QStringLiteral("0") : s; }

inline QString ReplaceAllNames(QString text, const std::vector<stFigure>& figures, const FormulaGrid& rows,
                               const EditorState& st) {
  for (const stFigure& f : figures) {
    if (f.Name.trimmed().isEmpty()) continue;
    const std::vector<Entry> list{
        {f.Name + QStringLiteral("_Площадь"), Zero(AreaText(f, st))},
        {f.Name + QStringLiteral("_Периметр"), Zero(PerimeterText(f, st))},
        {f.Name + QStringLiteral("_Длина"), Zero(ZString::FormatNumber(f.Width))},
        {f.Name + QStringLiteral("_Высота"), Zero(ZString::FormatNumber(f.Height))},
    };
    text = SubstituteNames(text, list);
  }
  for (const QStringList& row : rows) {
    const QString name = row.value(0).trimmed();
    if (name.isEmpty()) continue;
    text = SubstituteNames(text, {{name, Zero(row.value(2).trimmed())}});
  }
  return text;
}

// One pass over the rows, each seeing the rows above it recomputed; failures give 0.
inline void RecalculateAll(FormulaGrid& rows, const std::vector<stFigure>& figures, const EditorState& st) {
  for (int i = 0; i < rows.size(); ++i) {
    double value = 0;
    const QString formula = rows[i].value(1);
    if (!formula.trimmed().isEmpty()) {
      CFormula engine;
      if (engine.Calculate(literal::ReplaceAllNames(formula, figures, rows, st).trimmed())) value = engine.GetResult();
    }
    while (rows[i].size() < 3) rows[i].append(QString());
    rows[i][2] = FormatValue(value, st.FormulaZnak);
  }
}

// Formula names expanded row by row, each time searching the whole text from its start. A row
// whose text holds its own name is expanded once per occurrence (the rule never ends there).
inline QString ExpandFormulaNames(QString text, const FormulaGrid& rows, int maxSteps = 100000) {
  for (const QStringList& row : rows) {
    const QString name = row.value(0).trimmed(), body = row.value(1).trimmed();
    if (name.isEmpty()) continue;
    if (FindWhole(body, name) > 0) {
      text = ReplaceWhole(text, name, body);
      continue;
    }
    for (int step = 0; step < maxSteps; ++step) {
      const int p = FindWhole(text, name);
      if (p == 0) break;
      text = text.left(p - 1) + body + text.mid(p - 1 + name.size());
    }
  }
  return text;
}

}  // namespace korvan::literal
