#include "formula/CFormula.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

// Two readers share the work. FastReader reads in one pass and accepts only well-formed text: it
// gives up, without a word, at anything else (an error, a non-finite result of + - * /, anything
// unusual). On text it accepts, both readers do the same operations on the same operands in the
// same order, so the value is the same. Whatever FastReader gives up on is read again by
// TwoPassReader, the exact two-pass reading, which decides every message and the order of errors.

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
constexpr bool IsSeparator(char16_t c) { return c == '.' || c == ','; }
constexpr bool IsOperatorChar(char16_t c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of a number as they were read, without sign.
struct Digits {
  std::uint64_t mantissa = 0;  // exact while count <= 19
  int count = 0;
  int fraction = 0;  // digits after the separator
  bool intNonZero = false;
};

// Accumulates the digits and the one separator of s[i, e) from i; stops at anything else.
// sawSeparator tells whether a separator was taken.
inline void ReadDigits(const char16_t* s, qsizetype& i, qsizetype e, Digits& d, bool& sawSeparator) {
  for (; i < e && IsDigit(s[i]); ++i) {
    d.mantissa = d.mantissa * 10 + (s[i] - '0');
    d.intNonZero |= s[i] != '0';
    ++d.count;
  }
  sawSeparator = i < e && IsSeparator(s[i]);
  if (!sawSeparator) return;
  for (++i; i < e && IsDigit(s[i]); ++i) {
    d.mantissa = d.mantissa * 10 + (s[i] - '0');
    ++d.count;
    ++d.fraction;
  }
}

// The correctly rounded value of the digits and separator in s[b, e), signs there skipped, when
// they are too many for ConvertDigits' exact arithmetic.
bool ConvertLongDigits(const char16_t* s, qsizetype b, qsizetype e, bool intNonZero, double& v) {
  char small[128];
  std::string large;
  char* buf = small;
  if (e - b > qsizetype(sizeof small)) {
    large.resize(e - b);
    buf = large.data();
  }
  char* out = buf;
  for (qsizetype i = b; i < e; ++i) {
    if (IsDigit(s[i])) *out++ = char(s[i]);
    else if (IsSeparator(s[i])) *out++ = '.';
  }
  const auto r = std::from_chars(buf, out, v, std::chars_format::fixed);
  if (r.ec == std::errc::result_out_of_range) {
    // Digits before the separator make it too large; otherwise it is too small.
    if (intNonZero) return false;
    v = 0;
  }
  return !std::isinf(v);
}

// The correctly rounded value of the digits (at least one) and separator in s[b, e), signs there
// skipped; false when it lies beyond the double range. A value too small for a double reads as 0.
inline bool ConvertDigits(const char16_t* s, qsizetype b, qsizetype e, const Digits& d, double& v) {
  if (d.count <= 19 && d.fraction == 0) {
    v = static_cast<double>(d.mantissa);  // one rounding of an exact integer
    return true;
  }
  if (d.count <= 19 && d.fraction <= 22 && d.mantissa <= (std::uint64_t{1} << 53)) {
    v = static_cast<double>(d.mantissa) / kPow10[d.fraction];  // both exact: one rounding
    return true;
  }
  return ConvertLongDigits(s, b, e, d.intNonZero, v);
}

// One pass over well-formed text; false whenever the two passes might have something to say (any
// error, a non-finite result of + - * /) or the text is unusual (a blank included).
class FastReader {
 public:
  FastReader(const char16_t* s, qsizetype n) : s_(s), n_(n) {}

  bool Read(double& v) { return Sum(v) && i_ == n_; }

 private:
  bool Sum(double& v) {
    if (!Product(v)) return false;
    while (i_ < n_ && (s_[i_] == '+' || s_[i_] == '-')) {
      const char16_t op = s_[i_++];
      double r;
      if (!Product(r)) return false;
      v = op == '+' ? v + r : v - r;
      if (!std::isfinite(v)) return false;
    }
    return true;
  }

  bool Product(double& v) {
    if (!Power(v)) return false;
    while (i_ < n_ && (s_[i_] == '*' || s_[i_] == '/')) {
      const char16_t op = s_[i_++];
      double r;
      if (!Power(r)) return false;
      if (op == '*') {
        v = v * r;
      } else {
        if (r == 0) return false;
        v = v / r;
      }
      if (!std::isfinite(v)) return false;
    }
    return true;
  }

  bool Power(double& v) {
    if (!Operand(v)) return false;
    while (i_ < n_ && s_[i_] == '^') {
      ++i_;
      double r;
      if (!Operand(r)) return false;
      v = std::pow(v, r);
    }
    return true;
  }

  // An optional sign, then a group or a number with digits; it must end at an operator, a ")"
  // or the end of the text.
  bool Operand(double& v) {
    if (i_ == n_) return false;
    const qsizetype b = i_;
    const char16_t sign = s_[i_] == '+' || s_[i_] == '-' ? s_[i_++] : 0;
    if (i_ < n_ && s_[i_] == '(') {
      if (++depth_ > CFormula::kMaxNesting) return false;
      ++i_;
      if (!Sum(v) || i_ == n_ || s_[i_] != ')') return false;
      ++i_;
      --depth_;
      if (sign == '-') v = -v;
    } else {
      Digits d;
      bool separator;
      ReadDigits(s_, i_, n_, d, separator);
      if (d.count == 0 || !ConvertDigits(s_, b, i_, d, v)) return false;
      if (sign == '-') v = -v;
    }
    return i_ == n_ || IsOperatorChar(s_[i_]) || s_[i_] == ')';
  }

  const char16_t* s_;
  qsizetype n_;
  qsizetype i_ = 0;
  int depth_ = 0;
};

// The traps this replaces fire on overflow of a finite result and on operations that create
// a NaN; infinities and NaNs that are already there (from a power) pass through quietly.
void CheckNonFinite(double a, double b, double r) {
  const bool failed = std::isnan(r) ? !std::isnan(a) && !std::isnan(b)
                                    : std::isfinite(a) && std::isfinite(b);
  if (failed) throw ArithmeticFailure{};
}

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
  if (!std::isfinite(r)) CheckNonFinite(a, b, r);
  return r;
}

// The exact reading of text without blanks: each level of parentheses is first checked whole,
// then its operands are evaluated and folded in from left to right. Ranges are [b, e) indices
// into s. match[p] is the index of the ")" closing the "(" at p in the whole text, or -1; it is
// built at the first "(".
class TwoPassReader {
 public:
  TwoPassReader(const char16_t* s, qsizetype n, QVarLengthArray<qsizetype, 64>& match)
      : s_(s), n_(n), match_(match) {}

  double Read() {
    if (n_ == 0) Fail(QStringLiteral("Пустое выражение!"));
    Classify(0, n_);
    return Evaluate(0, n_, 0);
  }

 private:
  double Expression(qsizetype b, qsizetype e, int depth) {
    if (depth > CFormula::kMaxNesting) Fail(QStringLiteral("Слишком глубокая вложенность скобок!"));
    Classify(b, e);
    return Evaluate(b, e, depth);
  }

  [[noreturn]] void FailChar(qsizetype i) const {
    QString c = QString(QChar(s_[i]));
    if (QChar::isHighSurrogate(s_[i]) && i + 1 < n_ && QChar::isLowSurrogate(s_[i + 1])) {
      c += QChar(s_[i + 1]);
    }
    Fail(QStringLiteral("Некорректный символ '") + c + QStringLiteral("'!"));
  }

  // Matches every parenthesis of the text.
  void BuildMatches() {
    match_.resize(n_);
    qsizetype top = -1;  // open positions, linked through the array itself
    for (qsizetype i = 0; i < n_; ++i) {
      const char16_t c = s_[i];
      if (c == '(') {
        match_[i] = top;
        top = i;
      } else if (c == ')' && top >= 0) {
        const qsizetype below = match_[top];
        match_[top] = i;
        top = below;
      }
    }
    while (top >= 0) {
      const qsizetype below = match_[top];
      match_[top] = -1;
      top = below;
    }
    matched_ = true;
  }

  // The first pass over one level: every character of the level is checked, groups are skipped
  // whole, before any operand of the level is evaluated.
  void Classify(qsizetype b, qsizetype e) {
    if (b == e) Fail(QStringLiteral("В скобках - пустое выражение!"));
    bool prevBinary = false;
    for (qsizetype i = b; i < e; ++i) {
      const char16_t c = s_[i];
      if (IsDigit(c) || IsSeparator(c)) {
        prevBinary = false;
        continue;
      }
      switch (c) {
        case '(': {
          if (!matched_) BuildMatches();
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
          FailChar(i);
      }
    }
  }

  // The second pass over a checked level, with three pending levels: power, multiplicative,
  // additive. Each operand is folded in as soon as the operator after it is known.
  double Evaluate(qsizetype b, qsizetype e, int depth) {
    double p = 0, m = 0, a = 0;
    bool pOn = false, mOn = false, aOn = false;
    char16_t mOp = 0, aOp = 0;
    for (qsizetype i = b;; ++i) {
      double x = Operand(i, e, depth);
      const char16_t op = i < e ? s_[i] : 0;
      if (op == '^') {
        if (pOn) {
          p = std::pow(p, x);
        } else {
          p = x;
          pOn = true;
        }
        continue;
      }
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
        continue;
      }
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

  // The end of the operand that goes on at i: the next binary operator, or e.
  qsizetype OperandEnd(qsizetype i, qsizetype e) const {
    while (i < e) {
      const char16_t c = s_[i];
      if (c == '(') {
        i = match_[i] + 1;
        continue;
      }
      if (c == '*' || c == '/' || c == '^') break;
      if ((c == '+' || c == '-') && !IsOperatorChar(s_[i - 1])) break;
      ++i;
    }
    return i;
  }

  // Reads the operand that starts at i and leaves i on the operator after it (or at e).
  double Operand(qsizetype& i, qsizetype e, int depth) {
    const qsizetype b = i;
    const char16_t c = s_[b];
    if (c == '(' || ((c == '+' || c == '-') && b + 1 < e && s_[b + 1] == '(')) {
      const qsizetype open = c == '(' ? b : b + 1;
      const qsizetype close = match_[open];
      // After a group an operator always ends the operand; anything else stays in it, and the
      // operand is read whole, its last character dropped, as one text.
      i = close + 1 == e || IsOperatorChar(s_[close + 1]) ? close + 1 : OperandEnd(close + 1, e);
      const double v = Expression(open + 1, i - 1, depth + 1);
      return c == '-' ? -v : v;
    }
    return Number(i, e);
  }

  // A number: a sign, digits and at most one separator, up to the next binary operator. Read in
  // order, so that the first wrong character is the one named.
  double Number(qsizetype& i, qsizetype e) const {
    const qsizetype b = i;
    bool negative = false;
    if (s_[i] == '+' || s_[i] == '-') {
      const bool alone = i + 1 == e || s_[i + 1] == '*' || s_[i + 1] == '/' || s_[i + 1] == '^';
      if (alone) Fail(QStringLiteral("Неоконченное выражение!"));
      negative = s_[i] == '-';
      ++i;
      if (s_[i] == '+' || s_[i] == '-') FailChar(i);  // after a sign, a sign is never an operator
    }
    Digits d;
    bool separator;
    ReadDigits(s_, i, e, d, separator);
    if (i < e && IsSeparator(s_[i])) FailChar(i);
    if (i < e && !IsOperatorChar(s_[i])) FailChar(i);  // a group right after a number: "2(3)"
    if (separator && i - b == 1) FailChar(b);          // only a separator
    if (d.count == 0) return 0.0;  // "-." converts nothing, which reads as 0, without a sign
    double v;
    if (!ConvertDigits(s_, b, i, d, v)) Fail(QStringLiteral("Переполнение!"));
    return negative ? -v : v;
  }

  const char16_t* s_;
  qsizetype n_;
  QVarLengthArray<qsizetype, 64>& match_;
  bool matched_ = false;
};

// text without its tabs, line feeds, carriage returns and spaces: text itself when it has none,
// else a copy in buffer.
QStringView WithoutBlanks(QStringView text, QVarLengthArray<char16_t, 256>& buffer) {
  qsizetype i = 0;
  while (i < text.size() && !IsBlank(text[i].unicode())) ++i;
  if (i == text.size()) return text;
  buffer.reserve(text.size());
  buffer.append(text.utf16(), i);
  for (; i < text.size(); ++i) {
    if (!IsBlank(text[i].unicode())) buffer.append(text[i].unicode());
  }
  return QStringView(buffer.data(), buffer.size());
}

}  // namespace

bool CFormula::Calculate(QStringView text) {
  result_ = 0;
  errorText_.clear();
  double value = 0;
  if (FastReader(text.utf16(), text.size()).Read(value)) return Succeed(value);
  QVarLengthArray<char16_t, 256> buffer;
  const QStringView cleaned = WithoutBlanks(text, buffer);
  if (cleaned.size() != text.size() && FastReader(cleaned.utf16(), cleaned.size()).Read(value)) {
    return Succeed(value);
  }
  return ReadTwoPass(cleaned);
}

bool CFormula::CalculateTwoPass(QStringView text) {
  result_ = 0;
  errorText_.clear();
  QVarLengthArray<char16_t, 256> buffer;
  return ReadTwoPass(WithoutBlanks(text, buffer));
}

bool CFormula::Succeed(double value) {
  result_ = value;
  outcome_ = Outcome::Value;
  return true;
}

bool CFormula::ReadTwoPass(QStringView text) {
  QVarLengthArray<qsizetype, 64> match;
  try {
    return Succeed(TwoPassReader(text.utf16(), text.size(), match).Read());
  } catch (const ExceptionSyntErr& e) {
    errorText_ = e.message;
    outcome_ = Outcome::SyntaxError;
  } catch (const ArithmeticFailure&) {
    outcome_ = Outcome::ArithmeticFailure;
  }
  return false;
}

}  // namespace korvan
