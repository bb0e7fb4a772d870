#include "formula/NameSubstitution.h"

namespace korvan {

qsizetype FindWholeName(QStringView text, QStringView name) {
  const qsizetype n = name.size();
  if (n == 0) return 0;
  for (qsizetype q = text.indexOf(name); q >= 0; q = text.indexOf(name, q + 1)) {
    const bool beforeOk = q == 0 || IsSeparatorBefore(text[q - 1]);
    const bool afterOk = q + n == text.size() || IsSeparatorAfter(text[q + n]);
    if (beforeOk && afterOk) return q + 1;
  }
  return 0;
}

QString ReplaceWholeName(QStringView text, QStringView name, QStringView value, std::vector<TextRange>* inserted) {
  const qsizetype n = name.size();
  if (n == 0) return text.toString();
  QString out;
  qsizetype copied = 0;  // text[0, copied) is in out already, rewritten
  bool replaced = false;
  for (qsizetype q = text.indexOf(name); q >= 0;) {
    // The character before is judged in the text as rewritten so far: right behind a replacement
    // it is the last character of the inserted value, or the start when nothing is left before.
    bool beforeOk;
    if (q > copied)
      beforeOk = IsSeparatorBefore(text[q - 1]);
    else
      beforeOk = out.isEmpty() || IsSeparatorBefore(out.back());
    const bool afterOk = q + n == text.size() || IsSeparatorAfter(text[q + n]);
    if (beforeOk && afterOk) {
      if (!replaced) {
        out.reserve(text.size() + (value.size() > n ? 4 * (value.size() - n) : 0));
        replaced = true;
      }
      out.append(text.mid(copied, q - copied));
      if (inserted) inserted->push_back({out.size(), out.size() + value.size()});
      out.append(value);
      copied = q + n;
      q = text.indexOf(name, copied);
    } else {
      q = text.indexOf(name, q + 1);
    }
  }
  if (!replaced) return text.toString();
  out.append(text.mid(copied));
  return out;
}

QString SubstituteList(QStringView text, const FormulaList& list) {
  QString t = text.toString();
  for (const stFormula& e : list) {
    if (FindWholeName(e.Value, e.Name) > 0) continue;
    t = ReplaceWholeName(t, e.Name, e.Value);
  }
  return t;
}

QString SubstituteNames(QStringView text, const FormulaList& list) {
  FormulaList copy = list;
  for (stFormula& e : copy) {
    QString rewritten = SubstituteList(e.Value, copy);
    e.Value = std::move(rewritten);
  }
  return SubstituteList(text, copy);
}

}  // namespace korvan
