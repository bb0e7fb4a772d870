#pragma once
// Whole-name search and replacement in formula texts, and the substitution lists built on them.
//
// An occurrence of a name is whole when the character before it is missing or one of
// space ( * + - / ^ and the character after it is missing or one of space ) * + - / ^.
// Comparison is exact and case-sensitive; "=", ",", "." and letters separate nothing, so a name A
// inside AB, A1 or A.B is never a whole occurrence. An empty name has no occurrence.

#include <QString>
#include <QStringView>

#include <vector>

#include "formula/FormulaTypes.h"

namespace korvan {

inline bool IsSeparatorBefore(QChar c) {
  switch (c.unicode()) {
    case u' ': case u'(': case u'*': case u'+': case u'-': case u'/': case u'^': return true;
    default: return false;
  }
}
inline bool IsSeparatorAfter(QChar c) {
  switch (c.unicode()) {
    case u' ': case u')': case u'*': case u'+': case u'-': case u'/': case u'^': return true;
    default: return false;
  }
}

// A stretch of a text: [begin, end).
struct TextRange {
  qsizetype begin = 0;
  qsizetype end = 0;
};

// The 1-based position of the first whole occurrence of name in text, 0 when there is none.
qsizetype FindWholeName(QStringView text, QStringView name);

// Replaces every whole occurrence of name, scanning from the start: after a replacement the scan
// goes on behind the inserted value (so a value is never searched again in the same call), after
// an occurrence that is not whole it goes on from that occurrence's second character. Whether an
// occurrence is whole is judged on the text as it stands at that moment. When inserted is given,
// the ranges the inserted values occupy in the result are appended to it in text order.
QString ReplaceWholeName(QStringView text, QStringView name, QStringView value,
                         std::vector<TextRange>* inserted = nullptr);

// Applies the entries in list order; an entry whose Value holds its own Name as a whole
// occurrence is skipped, since its replacement would bring the name back.
QString SubstituteList(QStringView text, const FormulaList& list);

// First replaces names inside the entries' own values (each entry in order, with the whole list as
// it stands, earlier entries already rewritten), then applies the rewritten list to text.
QString SubstituteNames(QStringView text, const FormulaList& list);

}  // namespace korvan
