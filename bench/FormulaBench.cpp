// The formula engine against muparser and against a minimal recursive-descent evaluator. Every
// iteration reads the text afresh, as a formula cell does on every keystroke: muparser re-parses
// after SetExpr, the other two have nothing to keep between calls.
// Korvan/... is Calculate, which reads these well-formed texts in one pass; KorvanTwoPass/... is
// CalculateTwoPass, the exact two-pass reading that Calculate falls back to for any text with an
// error or anything unusual in it.
// bench/run_formula_bench.sh prints the ratios.

#include <QString>
#include <QStringView>

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/CFormula.h"

namespace {

// The smallest reasonable evaluator of the same grammar: precedence climbing by recursion,
// left-associative power, signs binding to their operand, numbers with "." or ",". No blanks,
// no messages: a failure is just false.
class MinimalEvaluator {
 public:
  explicit MinimalEvaluator(QStringView text) : s_(text.utf16()), n_(text.size()) {}

  bool Evaluate(double& out) {
    const double v = Sum();
    if (!ok_ || i_ != n_) return false;
    out = v;
    return true;
  }

 private:
  char16_t Peek() const { return i_ < n_ ? s_[i_] : 0; }

  double Sum() {
    double v = Product();
    for (char16_t c = Peek(); ok_ && (c == '+' || c == '-'); c = Peek()) {
      ++i_;
      const double r = Product();
      v = c == '+' ? v + r : v - r;
    }
    return v;
  }

  double Product() {
    double v = Power();
    for (char16_t c = Peek(); ok_ && (c == '*' || c == '/'); c = Peek()) {
      ++i_;
      const double r = Power();
      if (c == '/' && r == 0) ok_ = false;
      v = c == '*' ? v * r : v / r;
    }
    return v;
  }

  double Power() {
    double v = Signed();
    while (ok_ && Peek() == '^') {
      ++i_;
      v = std::pow(v, Signed());
    }
    return v;
  }

  double Signed() {
    const char16_t c = Peek();
    if (c == '-' || c == '+') {
      ++i_;
      const double v = Primary();
      return c == '-' ? -v : v;
    }
    return Primary();
  }

  double Primary() {
    if (Peek() == '(') {
      ++i_;
      const double v = Sum();
      if (Peek() != ')') ok_ = false;
      ++i_;
      return v;
    }
    double v = 0, scale = 1;
    bool digits = false, point = false;
    for (;; ++i_) {
      const char16_t c = Peek();
      if (c >= '0' && c <= '9') {
        digits = true;
        if (point) {
          scale /= 10;
          v += (c - '0') * scale;
        } else {
          v = v * 10 + (c - '0');
        }
      } else if ((c == '.' || c == ',') && !point) {
        point = true;
      } else {
        break;
      }
    }
    if (!digits) ok_ = false;
    return v;
  }

  const char16_t* s_;
  qsizetype n_;
  qsizetype i_ = 0;
  bool ok_ = true;
};

struct Expression {
  std::string name;
  std::string text;
};

// "12.5*3.75+4.1*7.9+..." of exactly the given length (the last term is padded with ones).
std::string SumOfProducts(std::size_t length) {
  static const char* const factors[] = {"12.5", "3.75", "4.1", "7.9", "2", "0.25", "16", "1.125"};
  std::string s;
  for (int k = 0; s.size() < length; ++k) {
    std::string term;
    if (!s.empty()) term.push_back('+');
    term.append(factors[k % 8]).append("*").append(factors[(k * 3 + 1) % 8]);
    if (s.size() + term.size() > length) term.assign(1, '+').append(length - s.size() - 1, '1');
    s.append(term);
  }
  return s;
}

std::vector<Expression> Expressions() {
  return {
      {"2+3*4", "2+3*4"},
      {"(2+3)*4", "(2+3)*4"},
      {"2^3^2", "2^3^2"},
      {"-(1+2)*2", "-(1+2)*2"},
      {"12.5*3.75+2.*(4.1+7.9)", "12.5*3.75+2.*(4.1+7.9)"},
      {"sum_of_products_200", SumOfProducts(200)},
  };
}

void BM_Korvan(benchmark::State& state, QString text) {
  for (auto _ : state) {
    korvan::CFormula f;
    const bool ok = f.Calculate(text);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(f.GetResult());
  }
}

void BM_KorvanTwoPass(benchmark::State& state, QString text) {
  for (auto _ : state) {
    korvan::CFormula f;
    const bool ok = f.CalculateTwoPass(text);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(f.GetResult());
  }
}

void BM_Minimal(benchmark::State& state, QString text) {
  for (auto _ : state) {
    double v = 0;
    const bool ok = MinimalEvaluator(text).Evaluate(v);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(v);
  }
}

void BM_MuParser(benchmark::State& state, std::string text) {
  mu::Parser parser;
  for (auto _ : state) {
    parser.SetExpr(text);
    benchmark::DoNotOptimize(parser.Eval());
  }
}

// The three must compute the same thing, or the comparison means nothing. muparser's "^" is
// right-associative and its sign binds looser than "^", so only the texts without those are
// compared with it.
bool SameResults(const std::vector<Expression>& expressions) {
  bool same = true;
  for (const Expression& e : expressions) {
    const QString text = QString::fromStdString(e.text);
    korvan::CFormula f;
    double minimal = 0;
    if (!f.Calculate(text) || !MinimalEvaluator(text).Evaluate(minimal) ||
        std::fabs(f.GetResult() - minimal) > 1e-12 * std::fabs(minimal)) {
      std::fprintf(stderr, "%s: engine %g, minimal %g\n", e.name.c_str(), f.GetResult(), minimal);
      same = false;
    }
    korvan::CFormula twoPass;
    if (!twoPass.CalculateTwoPass(text) || twoPass.GetResult() != f.GetResult()) {
      std::fprintf(stderr, "%s: engine %g, two-pass %g\n", e.name.c_str(), f.GetResult(),
                   twoPass.GetResult());
      same = false;
    }
    mu::Parser parser;
    parser.SetExpr(e.text);
    const double mu = parser.Eval();
    if (e.text.find('^') == std::string::npos && std::fabs(f.GetResult() - mu) > 1e-12 * std::fabs(mu)) {
      std::fprintf(stderr, "%s: engine %g, muparser %g\n", e.name.c_str(), f.GetResult(), mu);
      same = false;
    }
  }
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Expression> expressions = Expressions();
  if (!SameResults(expressions)) return 1;
  for (const Expression& e : expressions) {
    const QString text = QString::fromStdString(e.text);
    benchmark::RegisterBenchmark(("Korvan/" + e.name).c_str(), BM_Korvan, text);
    benchmark::RegisterBenchmark(("KorvanTwoPass/" + e.name).c_str(), BM_KorvanTwoPass, text);
    benchmark::RegisterBenchmark(("Minimal/" + e.name).c_str(), BM_Minimal, text);
    benchmark::RegisterBenchmark(("MuParser/" + e.name).c_str(), BM_MuParser, e.text);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
