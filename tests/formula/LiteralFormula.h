#pragma once
// A word-for-word reading of the formula rules, slow on purpose: every level copies its sub-text,
// every "(" is matched by scanning forward, numbers go through the C library's strtod. Tests and
// the fuzzer hold CFormula to it. It shares only the documented decisions of CFormula ("2(3)" is
// an error); it has no nesting limit, so callers keep its input shallow.

#include <QString>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace korvan::literal {

struct Result {
  enum Kind { Value, SyntaxError, ArithmeticFailure } kind;
  double value = 0;
  QString message;
};

struct SyntaxErr {
  QString message;
};
struct ArithmeticErr {};

inline bool IsOp(QChar c) {
  return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

[[noreturn]] inline void BadChar(QChar c) {
  throw SyntaxErr{QStringLiteral("Некорректный символ '%1'!").arg(c)};
}

// The character at i, a whole surrogate pair when it starts one.
[[noreturn]] inline void BadCharAt(const QString& s, qsizetype i) {
  const qsizetype n = s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate() ? 2 : 1;
  throw SyntaxErr{QStringLiteral("Некорректный символ '%1'!").arg(s.mid(i, n))};
}

inline double Apply(double a, double b, QChar op) {
  double r = 0;
  if (op == u'+') r = a + b;
  else if (op == u'-') r = a - b;
  else if (op == u'*') r = a * b;
  else {
    if (b == 0) throw SyntaxErr{QStringLiteral("Деление на ноль!")};
    r = a / b;
  }
  const bool overflow = std::isinf(r) && std::isfinite(a) && std::isfinite(b);
  const bool invalid = std::isnan(r) && !std::isnan(a) && !std::isnan(b);
  if (overflow || invalid) throw ArithmeticErr{};
  return r;
}

inline double Strtod(const std::string& t) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return strtod_l(t.c_str(), nullptr, c);
}

double Expression(const QString& s);

inline double Operand(const QString& t) {
  if (t.size() >= 2 && t[0] == u'(') return Expression(t.mid(1, t.size() - 2));
  if (t.size() >= 2 && t[1] == u'(' && (t[0] == u'-' || t[0] == u'+')) {
    return Expression(t.mid(2, t.size() - 3)) * (t[0] == u'-' ? -1.0 : 1.0);
  }
  QString n = t;
  bool sign = false, sep = false, comma = false;
  for (qsizetype i = 0; i < n.size(); ++i) {
    const QChar c = n[i];
    if (c == u'+' || c == u'-') {
      if (n.size() == 1) throw SyntaxErr{QStringLiteral("Неоконченное выражение!")};
      if (sign) BadChar(c);
      sign = true;
    } else if (c == u'.' || c == u',') {
      if (sep) BadChar(c);
      sep = true;
      if (c == u',') {
        n[i] = u'.';
        comma = true;
      }
    } else if (c < u'0' || c > u'9') {
      BadChar(c);
    }
  }
  if (n == QStringLiteral(".")) BadChar(comma ? u',' : u'.');
  const double v = Strtod(n.toStdString());
  if (std::isinf(v)) throw SyntaxErr{QStringLiteral("Переполнение!")};
  return v;
}

inline double Expression(const QString& s) {
  if (s.isEmpty()) throw SyntaxErr{QStringLiteral("В скобках - пустое выражение!")};
  // Pass 1.
  bool prevBinary = false;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (c == u'(') {
      int level = 1;
      qsizetype j = i + 1;
      for (; j < s.size(); ++j) {
        if (s[j] == u'(') ++level;
        if (s[j] == u')' && --level == 0) break;
      }
      if (j >= s.size()) throw SyntaxErr{QStringLiteral("Нет закрывающей скобки!")};
      i = j;
      prevBinary = false;
    } else if (c == u')') {
      throw SyntaxErr{QStringLiteral("Нет открывающей скобки!")};
    } else if (c == u'+' || c == u'-') {
      if (i == 0 || IsOp(s[i - 1])) {
        prevBinary = false;
      } else {
        if (i == s.size() - 1) throw SyntaxErr{QStringLiteral("Неоконченное выражение!")};
        prevBinary = true;
      }
    } else if (c == u'*' || c == u'/' || c == u'^') {
      if (i == 0 || prevBinary) BadCharAt(s, i);
      if (i == s.size() - 1) throw SyntaxErr{QStringLiteral("Неоконченное выражение!")};
      prevBinary = true;
    } else if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',') {
      prevBinary = false;
    } else {
      BadCharAt(s, i);
    }
  }
  // Pass 2: cut into operands at the binary operators, fold in with three pending levels.
  double p = 0, m = 0, a = 0;
  bool pOn = false, mOn = false, aOn = false;
  QChar mOp, aOp;
  QString operand;
  for (qsizetype i = 0; i <= s.size(); ++i) {
    QChar op;  // null at the end
    if (i < s.size()) {
      const QChar c = s[i];
      if (c == u'(') {
        int level = 0;
        qsizetype j = i;
        for (;; ++j) {
          if (s[j] == u'(') ++level;
          if (s[j] == u')' && --level == 0) break;
        }
        operand += s.mid(i, j - i + 1);
        i = j;
        continue;
      }
      const bool binary = c == u'*' || c == u'/' || c == u'^' ||
                          ((c == u'+' || c == u'-') && i > 0 && !IsOp(s[i - 1]));
      if (!binary) {
        operand += c;
        continue;
      }
      op = c;
    }
    double x = Operand(operand);
    operand.clear();
    if (op == u'^') {
      if (pOn) p = std::pow(p, x);
      else {
        p = x;
        pOn = true;
      }
      continue;
    }
    if (pOn) {
      x = std::pow(p, x);
      pOn = false;
    }
    if (op == u'*' || op == u'/') {
      if (mOn) m = Apply(m, x, mOp);
      else {
        m = x;
        mOn = true;
      }
      mOp = op;
      continue;
    }
    if (mOn) {
      x = Apply(m, x, mOp);
      mOn = false;
    }
    if (op.isNull()) return aOn ? Apply(a, x, aOp) : x;
    if (aOn) a = Apply(a, x, aOp);
    else {
      a = x;
      aOn = true;
    }
    aOp = op;
  }
  return 0;  // not reached: the loop returns at the end of the text
}

inline Result Calculate(const QString& text) {
  QString s = text;
  s.remove(u'\t').remove(u'\n').remove(u'\r').remove(u' ');
  try {
    if (s.isEmpty()) throw SyntaxErr{QStringLiteral("Пустое выражение!")};
    return {Result::Value, Expression(s), {}};
  } catch (const SyntaxErr& e) {
    return {Result::SyntaxError, 0, e.message};
  } catch (const ArithmeticErr&) {
    return {Result::ArithmeticFailure, 0, {}};
  }
}

}  // namespace korvan::literal
