// libFuzzer target for the formula engine. The bytes are read as Latin-1 text and as UTF-8 text;
// each text must be evaluated without a crash, end in exactly one of the three outcomes with one
// of the engine's messages, give the same outcome through Calculate and CalculateTwoPass, and,
// while it is small and shallow, agree with the literal reading of the rules in every outcome,
// message and bit of the value.

#include <QString>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "formula/CFormula.h"
#include "formula/LiteralFormula.h"

namespace {

using korvan::CFormula;

[[noreturn]] void Die(const char* what, const QString& text) {
  std::fprintf(stderr, "fuzz_formula: %s for text \"%s\"\n", what, text.toUtf8().constData());
  std::abort();
}

bool KnownMessage(const QString& m) {
  static const QString fixed[] = {
      QStringLiteral("Пустое выражение!"),       QStringLiteral("В скобках - пустое выражение!"),
      QStringLiteral("Неоконченное выражение!"), QStringLiteral("Нет закрывающей скобки!"),
      QStringLiteral("Нет открывающей скобки!"), QStringLiteral("Деление на ноль!"),
      QStringLiteral("Переполнение!"),           QStringLiteral("Слишком глубокая вложенность скобок!"),
  };
  for (const QString& f : fixed) {
    if (m == f) return true;
  }
  const QString head = QStringLiteral("Некорректный символ '");
  const QString tail = QStringLiteral("'!");
  const qsizetype inner = m.size() - head.size() - tail.size();
  return m.startsWith(head) && m.endsWith(tail) && (inner == 1 || inner == 2);
}

int MaxNesting(const QString& text) {
  int depth = 0, max = 0;
  for (const QChar c : text) {
    if (c == u'(') max = std::max(max, ++depth);
    else if (c == u')' && depth > 0) --depth;
  }
  return max;
}

bool Same(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void Check(const QString& text) {
  CFormula f;
  const bool ok = f.Calculate(text);
  const double value = f.GetResult();
  const QString message = f.GetErrorText();
  switch (f.GetOutcome()) {
    case CFormula::Outcome::Value:
      if (!ok || !message.isEmpty()) Die("value with a message", text);
      break;
    case CFormula::Outcome::SyntaxError:
      if (ok || value != 0 || !KnownMessage(message)) Die("unknown message", text);
      break;
    case CFormula::Outcome::ArithmeticFailure:
      if (ok || value != 0 || !message.isEmpty()) Die("arithmetic failure with a value", text);
      break;
    case CFormula::Outcome::None:
      Die("no outcome", text);
  }

  CFormula twoPass;
  if (twoPass.CalculateTwoPass(text) != ok || twoPass.GetOutcome() != f.GetOutcome() ||
      !Same(twoPass.GetResult(), value) || twoPass.GetErrorText() != message) {
    Die("the two-pass reading differs", text);
  }

  if (text.size() > 400 || MaxNesting(text) > 40) return;  // the literal reading copies per level
  const korvan::literal::Result r = korvan::literal::Calculate(text);
  switch (r.kind) {
    case korvan::literal::Result::Value:
      if (!ok || !Same(value, r.value)) Die("value differs from the literal rules", text);
      break;
    case korvan::literal::Result::SyntaxError:
      if (f.GetOutcome() != CFormula::Outcome::SyntaxError || message != r.message) {
        Die("message differs from the literal rules", text);
      }
      break;
    case korvan::literal::Result::ArithmeticFailure:
      if (f.GetOutcome() != CFormula::Outcome::ArithmeticFailure) {
        Die("arithmetic failure differs from the literal rules", text);
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const qsizetype n = qsizetype(size);
  Check(QString::fromLatin1(bytes, n));
  Check(QString::fromUtf8(bytes, n));
  return 0;
}
