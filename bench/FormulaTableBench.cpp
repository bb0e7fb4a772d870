// One recalculation pass of the formula table (what every keystroke in a formula cell costs):
// 100 formula rows over 500 named figures, each row using five measure names and two other rows.
// The indexed substitution is measured against the literal pair-by-pair application of the same
// rules, which the tests hold it equal to.

#include <benchmark/benchmark.h>

#include <random>

#include "formula/FormulaTable.h"
#include "formula/LiteralSubstitution.h"

namespace {

using namespace korvan;

struct Table {
  EditorState state;
  std::vector<stFigure> figures;
  FormulaGrid rows;
};

Table MakeTable(int figureCount, int rowCount) {
  Table t;
  std::mt19937 rng(2024);
  const FigureKind kinds[] = {FigureKind::Rectangle, FigureKind::Ellipse, FigureKind::Triangle, FigureKind::Romb,
                              FigureKind::RoundRect, FigureKind::Line};
  for (int i = 1; i <= figureCount; ++i) {
    stFigure f;
    f.Name = QStringLiteral("Стена_%1").arg(i);
    f.Guid = QStringLiteral("G%1").arg(i);
    f.Vid = static_cast<std::uint8_t>(kinds[i % 6]);
    f.Width = 0.5 + (i % 37) * 0.25;
    f.Height = 2.5 + (i % 11) * 0.1;
    t.figures.push_back(f);
  }
  const char* suffixes[] = {"_Площадь", "_Периметр", "_Длина", "_Высота"};
  std::uniform_int_distribution<int> figure(1, figureCount), suffix(0, 3), row(1, rowCount);
  for (int r = 1; r <= rowCount; ++r) {
    QString text;
    for (int k = 0; k < 5; ++k) {
      text += QStringLiteral("Стена_%1").arg(figure(rng)) + QString::fromUtf8(suffixes[suffix(rng)]);
      text += k % 2 ? QStringLiteral("*2+") : QStringLiteral("+");
    }
    int a = row(rng), b = row(rng);
    if (a == r) a = r % rowCount + 1;
    if (b == r) b = (r + 1) % rowCount + 1;
    text += QStringLiteral("Формула_%1*0.5+(Формула_%2)/3").arg(a).arg(b);
    t.rows.append(QStringList{QStringLiteral("Формула_%1").arg(r), text, QString()});
  }
  return t;
}

void BM_RecalculateAll(benchmark::State& s) {
  Table t = MakeTable(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
  FormulaTableState table;
  for (auto _ : s) {
    RecalculateAll(t.rows, false, t.figures, t.state, table);
    benchmark::DoNotOptimize(t.rows);
  }
  s.counters["rows"] = static_cast<double>(t.rows.size());
}
BENCHMARK(BM_RecalculateAll)->Args({500, 100})->Args({2000, 400})->Unit(benchmark::kMillisecond);

void BM_RecalculateAllLiteral(benchmark::State& s) {
  Table t = MakeTable(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
  for (auto _ : s) {
    literal::RecalculateAll(t.rows, t.figures, t.state);
    benchmark::DoNotOptimize(t.rows);
  }
}
BENCHMARK(BM_RecalculateAllLiteral)->Args({500, 100})->Unit(benchmark::kMillisecond);

// The pieces of one pass: building the name table, and substituting one row's text.
void BM_BuildNames(benchmark::State& s) {
  const Table t = MakeTable(500, 100);
  for (auto _ : s) {
    FormulaNames names(t.figures, t.rows, t.state);
    benchmark::DoNotOptimize(&names);
  }
}
BENCHMARK(BM_BuildNames)->Unit(benchmark::kMicrosecond);

void BM_ReplaceOneText(benchmark::State& s) {
  const Table t = MakeTable(500, 100);
  const FormulaNames names(t.figures, t.rows, t.state);
  for (auto _ : s) benchmark::DoNotOptimize(names.Replace(t.rows[50][1]));
}
BENCHMARK(BM_ReplaceOneText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
