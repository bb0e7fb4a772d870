#pragma once
// The formula engine: one arithmetic expression as text in, a double or one Russian message out.
//
// The engine knows numbers, the binary operators + - * / ^, signs and parentheses; names have
// been replaced by values before a text reaches it. Tabs, line feeds, carriage returns and spaces
// are removed first, wherever they stand ("1 000" is 1000). A number is digits with at most one
// separator, "." or "," ("2,5" is 2.5; "5." and ".5" are valid; a sign followed by a separator
// alone, "-.", is 0). There is no exponent notation.
//
// Precedence is ^ above * and / above + and -, every level left-associative, power included:
// 2^3^2 is 64. A sign belongs to its operand and binds tighter than any operator: -2^2 is 4,
// 2^-1 is 0.5, -(1+2) is -3.
//
// Each level of parentheses is checked as a whole before any of its operands is evaluated, so
// "(1/0)+a" reports the "a", while "1/0+(a)" reports the division. Operands are then evaluated and
// folded in from left to right, and the first error met ends the evaluation.
//
// Decisions of this engine where the rules above leave a case open:
//  - A group that follows a digit or a separator directly, as in "2(3)" or ".(3)", is refused
//    with "Некорректный символ '('!", exactly as "12(3)" is; there is no implied multiplication
//    and no value of the group alone.
//  - Groups may nest kMaxNesting levels deep. Evaluation that reaches a deeper group ends with
//    "Слишком глубокая вложенность скобок!"; errors that come earlier in evaluation order win.
//  - The offending character of "Некорректный символ '...'!" is the character itself, a whole
//    surrogate pair for a character outside the Basic Multilingual Plane.

#include <QString>
#include <QStringView>

namespace korvan {

class CFormula {
 public:
  // How the last Calculate ended.
  enum class Outcome {
    None,              // Calculate has not run yet
    Value,             // GetResult holds the value
    SyntaxError,       // GetErrorText holds the message
    ArithmeticFailure  // + - * or / overflowed or was invalid (below); no message of its own
  };

  // Nesting depth of parentheses the engine evaluates; deeper groups are an error.
  static constexpr int kMaxNesting = 256;

  CFormula() = default;
  virtual ~CFormula() = default;

  // Evaluates text. True with the value in GetResult; false with the result 0 and either the
  // message in GetErrorText (Outcome::SyntaxError) or an arithmetic failure
  // (Outcome::ArithmeticFailure, empty message), which the caller reports in its own words.
  //
  // The power follows pow and is never an error: 10^400 is +inf, (-8)^0.5 is NaN, 10^-400 is 0,
  // and such values flow on. An arithmetic failure is a + - * or / whose finite operands give an
  // infinite result (1e308*10), or whose non-NaN operands give NaN (inf-inf, 0*inf, inf/inf);
  // inf+1 is inf and NaN+1 is NaN without failure. A divisor equal to 0 is "Деление на ноль!".
  //
  // Out of memory is not caught.
  bool Calculate(QStringView text);

  // The same evaluation by the exact two-pass reading alone, without the one-pass reading that
  // Calculate tries first on well-formed text. Same outcome, value and message as Calculate on
  // every text; slower. For tests and benchmarks that hold the two readings to each other.
  bool CalculateTwoPass(QStringView text);

  // The value of the last successful Calculate; 0 before one and after any failure.
  double GetResult() const { return result_; }
  // The message of the last Calculate that failed with a syntax error; empty otherwise.
  QString GetErrorText() const { return errorText_; }
  Outcome GetOutcome() const { return outcome_; }

 private:
  bool Succeed(double value);
  bool ReadTwoPass(QStringView textWithoutBlanks);

  double result_ = 0;
  QString errorText_;
  Outcome outcome_ = Outcome::None;
};

}  // namespace korvan
