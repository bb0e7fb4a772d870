#include "formula/CFormula.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace korvan {
namespace {

// Raised for every message of the engine; never leaves Calculate.
struct ExceptionSyntErr {
  QString message;
};

// An overflow or invalid result of + - * /; Calculate reports it as its own outcome.
struct ArithmeticFailure {};

[[noreturn]] void Fail(QString message) { throw ExceptionSyntErr{std::move(message)}; }

constexpr bool IsBlank(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
constexpr bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }
constexpr bool IsOperatorChar(char16_t c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double ApplyOperator(double a, double b, char16_t op) {
  double r;
  switch (op) {
    case '+': r = a + b; break;
    case '-': r = a - b; break;
    case '*': r = a * b; break;
    default:
      if (b == 0) Fail(QStringLiteral("Деление на ноль!"));
      r = a / b;
      break;
  }
  // The traps this replaces fire on overflow of a finite result and on operations that create
  // a NaN; infinities and NaNs that are already there (from a power) pass through quietly.
  if (!std::isfinite(r)) {
    const bool failed = std::isnan(r) ? !std::isnan(a) && !std::isnan(b)
                                      : std::isfinite(a) && std::isfinite(b);
    if (failed) throw ArithmeticFailure{};
  }
  return r;
}

// Reads a text with the blanks already removed. Ranges are [b, e) indices into s; match[p] is
// the index of the ")" closing the "(" at p in the whole text, or -1.
class Evaluator {
 public:
  Evaluator(const char16_t* s, qsizetype n, const qsizetype* match) : s_(s), n_(n), match_(match) {}

  double Expression(qsizetype b, qsizetype e, int depth) {
    if (depth > CFormula::kMaxNesting) Fail(QStringLiteral("Слишком глубокая вложенность скобок!"));
    Classify(b, e);

    // Three pending levels: power, multiplicative, additive.
    double p = 0, m = 0, a = 0;
    bool pOn = false, mOn = false, aOn = false;
    char16_t mOp = 0, aOp = 0;
    qsizetype i = b;
    for (;;) {
      const qsizetype start = i;
      while (i < e) {
        const char16_t c = s_[i];
        if (c == '(') {
          i = match_[i] + 1;
          continue;
        }
        if (c == '*' || c == '/' || c == '^') break;
        if ((c == '+' || c == '-') && i > start && !IsOperatorChar(s_[i - 1])) break;
        ++i;
      }
      double x = Operand(start, i, depth);
      const char16_t op = i < e ? s_[i] : 0;
      if (op == '^') {
        if (pOn) {
          p = std::pow(p, x);
        } else {
          p = x;
          pOn = true;
        }
      } else {
        if (pOn) {
          x = std::pow(p, x);
          pOn = false;
        }
        if (op == '*' || op == '/') {
          if (mOn) {
            m = ApplyOperator(m, x, mOp);
          } else {
            m = x;
            mOn = true;
          }
          mOp = op;
        } else {
          if (mOn) {
            x = ApplyOperator(m, x, mOp);
            mOn = false;
          }
          if (op == 0) return aOn ? ApplyOperator(a, x, aOp) : x;
          if (aOn) {
            a = ApplyOperator(a, x, aOp);
          } else {
            a = x;
            aOn = true;
          }
          aOp = op;
        }
      }
      ++i;
    }
  }

 private:
  [[noreturn]] void FailChar(qsizetype i) const {
    QString c = QString(QChar(s_[i]));
    if (QChar::isHighSurrogate(s_[i]) && i + 1 < n_ && QChar::isLowSurrogate(s_[i + 1])) {
      c += QChar(s_[i + 1]);
    }
    Fail(QStringLiteral("Некорректный символ '") + c + QStringLiteral("'!"));
  }

  // The first pass over one level: every character of the level is checked, groups are skipped
  // whole, before any operand of the level is evaluated.
  void Classify(qsizetype b, qsizetype e) const {
    if (b == e) Fail(QStringLiteral("В скобках - пустое выражение!"));
    bool prevBinary = false;
    for (qsizetype i = b; i < e; ++i) {
      const char16_t c = s_[i];
      switch (c) {
        case '(': {
          const qsizetype close = match_[i];
          if (close < 0 || close >= e) Fail(QStringLiteral("Нет закрывающей скобки!"));
          i = close;
          prevBinary = false;
          break;
        }
        case ')':
          Fail(QStringLiteral("Нет открывающей скобки!"));
        case '+':
        case '-':
          if (i == b || IsOperatorChar(s_[i - 1])) {
            prevBinary = false;  // a sign of the operand that follows
          } else {
            if (i == e - 1) Fail(QStringLiteral("Неоконченное выражение!"));
            prevBinary = true;
          }
          break;
        case '*':
        case '/':
        case '^':
          if (i == b || prevBinary) FailChar(i);
          if (i == e - 1) Fail(QStringLiteral("Неоконченное выражение!"));
          prevBinary = true;
          break;
        default:
          if (!IsDigit(c) && c != '.' && c != ',') FailChar(i);
          prevBinary = false;
          break;
      }
    }
  }

  double Operand(qsizetype b, qsizetype e, int depth) {
    if (e - b >= 2) {
      if (s_[b] == '(') return Expression(b + 1, e - 1, depth + 1);
      if (s_[b + 1] == '(' && (s_[b] == '+' || s_[b] == '-')) {
        // A multiplication rather than a negation, so that a NaN keeps its sign bit either way.
        return Expression(b + 2, e - 1, depth + 1) * (s_[b] == '-' ? -1.0 : 1.0);
      }
    }
    return Number(b, e);
  }

  double Number(qsizetype b, qsizetype e) const {
    bool sign = false, negative = false, separator = false, intNonZero = false;
    bool exact = true;  // the value fits the fast conversion below
    std::uint64_t mantissa = 0;
    int significant = 0, fractionDigits = 0, digits = 0;
    for (qsizetype i = b; i < e; ++i) {
      const char16_t c = s_[i];
      if (c == '+' || c == '-') {
        if (e - b == 1) Fail(QStringLiteral("Неоконченное выражение!"));
        if (sign) FailChar(i);
        sign = true;
        negative = c == '-';
      } else if (c == '.' || c == ',') {
        if (separator) FailChar(i);
        separator = true;
      } else if (IsDigit(c)) {
        const unsigned d = c - '0';
        ++digits;
        if (separator) {
          ++fractionDigits;
        } else if (d != 0) {
          intNonZero = true;
        }
        if (significant == 0 && d == 0) continue;
        if (significant < 19) {
          mantissa = mantissa * 10 + d;
          ++significant;
        } else {
          exact = false;
        }
      } else {
        FailChar(i);  // a group right after a digit or a separator: "2(3)"
      }
    }
    if (e - b == 1 && separator) FailChar(b);
    if (digits == 0) return 0.0;  // "-." converts nothing, which reads as 0

    double v;
    if (exact && fractionDigits == 0) {
      v = static_cast<double>(mantissa);  // one rounding of an exact integer
    } else if (exact && fractionDigits <= 22 && mantissa <= (std::uint64_t{1} << 53)) {
      v = static_cast<double>(mantissa) / kPow10[fractionDigits];  // both exact: one rounding
    } else {
      v = SlowNumber(b, e, intNonZero);
    }
    return negative ? -v : v;
  }

  // Correctly rounded conversion of the digits and separator of [b, e), without the sign.
  double SlowNumber(qsizetype b, qsizetype e, bool intNonZero) const {
    char small[128];
    std::string large;
    char* buf = small;
    if (e - b > qsizetype(sizeof small)) {
      large.resize(e - b);
      buf = large.data();
    }
    char* out = buf;
    for (qsizetype i = b; i < e; ++i) {
      const char16_t c = s_[i];
      if (IsDigit(c)) *out++ = char(c);
      else if (c == '.' || c == ',') *out++ = '.';
    }
    double v = 0;
    const auto r = std::from_chars(buf, out, v, std::chars_format::fixed);
    if (r.ec == std::errc::result_out_of_range) {
      // Digits before the separator make it too large; otherwise it is too small and reads as 0.
      if (intNonZero) Fail(QStringLiteral("Переполнение!"));
      return 0.0;
    }
    if (std::isinf(v)) Fail(QStringLiteral("Переполнение!"));
    return v;
  }

  const char16_t* s_;
  qsizetype n_;
  const qsizetype* match_;
};

}  // namespace

bool CFormula::Calculate(QStringView text) {
  result_ = 0;
  errorText_.clear();

  bool blanks = false, groups = false;
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    if (IsBlank(c)) blanks = true;
    else if (c == '(') groups = true;
  }
  QVarLengthArray<char16_t, 256> cleaned;
  const char16_t* s = text.utf16();
  qsizetype n = text.size();
  if (blanks) {
    cleaned.reserve(n);
    for (const QChar ch : text) {
      if (!IsBlank(ch.unicode())) cleaned.append(ch.unicode());
    }
    s = cleaned.data();
    n = cleaned.size();
  }

  // Matching parentheses once for the whole text, so that no level rescans the groups inside it.
  // Open positions are kept as a linked stack inside the array itself.
  QVarLengthArray<qsizetype, 64> match;
  if (groups) {
    match.resize(n);
    qsizetype top = -1;
    for (qsizetype i = 0; i < n; ++i) {
      if (s[i] == '(') {
        match[i] = top;
        top = i;
      } else if (s[i] == ')' && top >= 0) {
        const qsizetype below = match[top];
        match[top] = i;
        top = below;
      }
    }
    while (top >= 0) {
      const qsizetype below = match[top];
      match[top] = -1;
      top = below;
    }
  }

  try {
    if (n == 0) Fail(QStringLiteral("Пустое выражение!"));
    Evaluator evaluator(s, n, match.data());
    result_ = evaluator.Expression(0, n, 0);
    outcome_ = Outcome::Value;
    return true;
  } catch (const ExceptionSyntErr& e) {
    errorText_ = e.message;
    outcome_ = Outcome::SyntaxError;
  } catch (const ArithmeticFailure&) {
    outcome_ = Outcome::ArithmeticFailure;
  }
  return false;
}

}  // namespace korvan
