// The scheme file: load and save of a 1,000-figure scheme (50 curves of 200 points, 100 formula
// rows), with and without 10 pictures of 640 x 480, against the floors of reading and splitting the
// same file and of writing the same bytes; the hexadecimal coding of picture values; and the
// key-by-key writer that rewrites the file for every key, at 100 figures.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "model/SchemeFile.h"
#include "support/Guid.h"
#include "support/IniDocument.h"
#include "support/ZIniFile.h"
#include "support/ZString.h"

namespace korvan {
namespace {

stScena MakeScene(int figures, int curves, int pictures) {
  stScena scene;
  for (int i = 0; i < figures; ++i) {
    stFigure f;
    f.Guid = NewGuidText();
    if (i % 3 == 1 && !scene.Figures.empty()) f.GuidParent = scene.Figures.front().Guid;
    f.Name = QStringLiteral("Фигура_%1").arg(i + 1);
    f.Vid = static_cast<std::uint8_t>(1 + i % 10);
    f.VidFill = i % 2;
    f.X0 = i % 1200;
    f.Y0 = i % 900;
    f.X1 = f.X0 + 40 + i % 60;
    f.Y1 = f.Y0 + 30 + i % 50;
    if (i % 3 == 0) f.Text = QStringLiteral("Стена северная, участок %1").arg(i);
    f.PenColor = 0x102030u * (i % 7);
    f.BrushColor = 0xFFFFFF;
    f.Font.Name = QStringLiteral("Arial");
    f.Width = 1.25 + i % 17;
    f.Height = i % 5 == 0 ? 0 : 2.7;
    scene.Figures.push_back(f);
  }
  for (int c = 0; c < curves && c < figures; ++c) {
    stFigure& f = scene.Figures[static_cast<size_t>(c * (figures / curves))];
    f.Vid = static_cast<std::uint8_t>(FigureKind::Curve);
    for (int p = 0; p < 200; ++p) f.Points.emplace_back((p * 13 + c) % 1280, (p * 7 + c * 3) % 1024);
  }
  for (int k = 0; k < pictures && k < figures; ++k) {
    stFigure& f = scene.Figures[static_cast<size_t>(figures - 1 - k * 3)];
    f.Vid = static_cast<std::uint8_t>(FigureKind::Picture);
    f.Points.clear();
    f.Picture = QImage(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(f.Picture.scanLine(y));
      for (int x = 0; x < 640; ++x) line[x] = qRgb((x + k * 20) & 0xFF, (y * 2) & 0xFF, (x ^ y) & 0xFF);
    }
  }
  return scene;
}

FormulaGrid MakeRows(int n) {
  FormulaGrid rows;
  for (int r = 0; r < n; ++r)
    rows.append({QStringLiteral("Формула_%1").arg(r + 1),
                 QStringLiteral("Фигура_%1_Площадь+Фигура_%2_Длина*2").arg(r + 1).arg(r + 2),
                 ZString::FormatNumber(r * 1.5)});
  return rows;
}

struct Fixture {
  QTemporaryDir dir;
  QString path, outPath;
  stScena scene;
  FormulaGrid rows;
  EditorState state;
  QByteArray bytes;

  explicit Fixture(int pictures) : scene(MakeScene(1000, 50, pictures)), rows(MakeRows(100)) {
    if (!dir.isValid()) std::abort();
    path = dir.filePath(QStringLiteral("scheme.kvn"));
    outPath = dir.filePath(QStringLiteral("out.kvn"));
    if (!SaveShemaFile(path, scene, rows, state)) std::abort();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    bytes = f.readAll();
  }
};

Fixture& Plain() {
  static Fixture f(0);
  return f;
}
Fixture& WithPictures() {
  static Fixture f(10);
  return f;
}

void ReadAndSplitLines(benchmark::State& st, Fixture& fx) {
  for (auto _ : st) {
    QFile f(fx.path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray bytes = f.readAll();
    std::vector<QByteArrayView> lines;
    lines.reserve(static_cast<size_t>(bytes.size() / 16));
    qsizetype start = 0;
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', start)) {
      lines.emplace_back(bytes.constData() + start, i - start);
      start = i + 1;
    }
    benchmark::DoNotOptimize(lines.data());
  }
  st.SetBytesProcessed(st.iterations() * fx.bytes.size());
}

void Load(benchmark::State& st, Fixture& fx) {
  for (auto _ : st) {
    stScena scene;
    FormulaGrid rows;
    EditorState state;
    if (!LoadShemaFile(fx.path, scene, rows, state)) std::abort();
    benchmark::DoNotOptimize(scene.Figures.data());
  }
  st.SetBytesProcessed(st.iterations() * fx.bytes.size());
}

void WriteBytesAtomic(benchmark::State& st, Fixture& fx) {
  for (auto _ : st) {
    QSaveFile f(fx.outPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(fx.bytes) != fx.bytes.size() || !f.commit()) std::abort();
  }
  st.SetBytesProcessed(st.iterations() * fx.bytes.size());
}

void Save(benchmark::State& st, Fixture& fx) {
  for (auto _ : st)
    if (!SaveShemaFile(fx.outPath, fx.scene, fx.rows, fx.state)) std::abort();
  st.SetBytesProcessed(st.iterations() * fx.bytes.size());
}

BENCHMARK_CAPTURE(ReadAndSplitLines, Plain, Plain())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Plain, Plain())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteBytesAtomic, Plain, Plain())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Plain, Plain())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndSplitLines, Pictures, WithPictures())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Pictures, WithPictures())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteBytesAtomic, Pictures, WithPictures())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Pictures, WithPictures())->Unit(benchmark::kMillisecond);

// The hexadecimal text of one 640 x 480 picture value, decoded and encoded; throughput counts hex.
QByteArray PictureBmp() {
  const stScena scene = MakeScene(1, 0, 1);
  IniDocument doc;
  EditorState state;
  if (!BuildShemaDocument(scene, {}, state, doc)) std::abort();
  QByteArray bmp;
  doc.BinaryValue(QStringLiteral("FIG_1"), QStringLiteral("Bitmap"), bmp);
  if (bmp.isEmpty()) std::abort();
  return bmp;
}

void HexDecode(benchmark::State& st) {
  const QString hex = EncodeHex(PictureBmp());
  for (auto _ : st) {
    QByteArray out;
    if (!DecodeHex(hex, out)) std::abort();
    benchmark::DoNotOptimize(out.data());
  }
  st.SetBytesProcessed(st.iterations() * hex.size());
}

void HexEncode(benchmark::State& st) {
  const QByteArray bmp = PictureBmp();
  for (auto _ : st) {
    const QString hex = EncodeHex(bmp);
    benchmark::DoNotOptimize(hex.data());
  }
  st.SetBytesProcessed(st.iterations() * bmp.size() * 2);
}

BENCHMARK(HexDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(HexEncode)->Unit(benchmark::kMillisecond);

// What one-value-per-call profile access costs: every key of a 100-figure scheme written by its own
// call, each of which reads and rewrites the whole file.
void KeyByKeySave100(benchmark::State& st) {
  const stScena scene = MakeScene(100, 5, 0);
  const FormulaGrid rows = MakeRows(10);
  EditorState state;
  IniDocument doc;
  if (!BuildShemaDocument(scene, rows, state, doc)) std::abort();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("keys.kvn"));
  const ZIniFile ini;
  for (auto _ : st) {
    QFile::remove(path);
    for (const QString& section : doc.SectionNames())
      for (const QString& key : doc.KeyNames(section))
        if (!ini.Write(path, section, key, ZIniFile::String, *doc.Value(section, key), 0, 0, false, false))
          std::abort();
  }
}

void OnePassSave100(benchmark::State& st) {
  const stScena scene = MakeScene(100, 5, 0);
  const FormulaGrid rows = MakeRows(10);
  EditorState state;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("once.kvn"));
  for (auto _ : st)
    if (!SaveShemaFile(path, scene, rows, state)) std::abort();
}

BENCHMARK(KeyByKeySave100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OnePassSave100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan

BENCHMARK_MAIN();
