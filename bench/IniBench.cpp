// The INI document on a scheme-sized file: 10,000 sections of 40 keys (about 6 MB), against the
// floors of reading and splitting the same file and of writing the same bytes.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/Cp1251.h"
#include "support/IniDocument.h"

namespace {

constexpr int kSections = 10000;
constexpr int kKeys = 40;

const char* const kKeyNames[kKeys] = {
    "Type",       "Name",        "Guid",       "X0",         "Y0",         "X1",
    "Y1",         "X2",          "Y2",         "PenColor",   "PenWidth",   "PenStyle",
    "BrushColor", "BrushStyle",  "FillStyle",  "FontName",   "FontSize",   "FontColor",
    "FontStyle",  "FontCharset", "Text",       "TextAlign",  "Width",      "Height",
    "Length",     "ShowLength",  "ShowHeight", "ShowArea",   "Angle",      "BindLeft",
    "BindRight",  "BindTop",     "BindBottom", "TableRow",   "TableCol",   "TableGuid",
    "Locked",     "Visible",     "Layer",      "Comment"};

QString ValueFor(int section, int key) {
  const int n = section * kKeys + key;
  switch (key) {
    case 0: return QString::number(1 + section % 14);
    case 1: return u"Фигура_"_qs + QString::number(section + 1);
    case 2: return QStringLiteral("3F2504E0-4F89-11D3-9A0C-%1").arg(section, 12, 10, QChar(u'0'));
    case 9: case 12: case 17: return QString::number(-16777216 + n % 16777216);
    case 15: return QStringLiteral("Liberation Sans");
    case 20: return section % 3 == 0 ? u"Комната №"_qs + QString::number(section) : QString();
    case 22: case 23: case 24: return QString::number(n % 1000 / 7.0, 'g', 6);
    case 39: return section % 5 == 0 ? u"\"Стена, северная\""_qs : QString();
    default: return QString::number(n % 997);
  }
}

// The generated file, written once for the whole run.
struct Fixture {
  QTemporaryDir dir;
  QString path;
  QString outPath;
  QByteArray bytes;
  QStringList sections;
  QStringList keys;

  Fixture() {
    if (!dir.isValid()) std::abort();
    path = dir.filePath("big.kvn");
    outPath = dir.filePath("out.kvn");
    for (int k = 0; k < kKeys; ++k) keys.append(QString::fromLatin1(kKeyNames[k]));
    QString text;
    text.reserve(7 << 20);
    for (int s = 0; s < kSections; ++s) {
      sections.append(u"FIG_"_qs + QString::number(s + 1));
      text += u'[' + sections.back() + u"]\r\n"_qs;
      for (int k = 0; k < kKeys; ++k) text += keys[k] + u'=' + ValueFor(s, k) + u"\r\n"_qs;
      text += u"\r\n"_qs;
    }
    if (!korvan::cp1251::Encode(text, bytes)) std::abort();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(int64_t(state.iterations()) * Data().bytes.size());
}

// Floor: read the file and find every line.
void ReadFileAndSplitLines(benchmark::State& state) {
  Fixture& fx = Data();
  std::vector<QByteArrayView> lines;
  for (auto _ : state) {
    QFile f(fx.path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray bytes = f.readAll();
    lines.clear();
    lines.reserve(size_t(bytes.size() / 16));
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      const char* stop = nl ? nl : end;
      lines.emplace_back(p, stop - p);
      p = stop + 1;
    }
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
  state.counters["lines"] = double(lines.size());
  state.counters["file_MB"] = double(fx.bytes.size()) / 1e6;
  SetBytes(state);
}

void ParseIniFile(benchmark::State& state) {
  Fixture& fx = Data();
  for (auto _ : state) {
    korvan::IniDocument doc;
    if (!doc.LoadFile(fx.path)) std::abort();
    benchmark::DoNotOptimize(doc);
  }
  SetBytes(state);
}

void ParseAndReadAllValues(benchmark::State& state) {
  Fixture& fx = Data();
  int64_t chars = 0;
  for (auto _ : state) {
    korvan::IniDocument doc;
    if (!doc.LoadFile(fx.path)) std::abort();
    chars = 0;
    for (const QString& section : fx.sections)
      for (const QString& key : fx.keys) chars += doc.Value(section, key)->size();
    benchmark::DoNotOptimize(chars);
  }
  state.counters["value_chars"] = double(chars);
  SetBytes(state);
}

// Floor of the save: the same bytes through the atomic writer our save uses.
void WriteBytesAtomic(benchmark::State& state) {
  Fixture& fx = Data();
  for (auto _ : state) {
    QSaveFile f(fx.outPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(fx.bytes) != fx.bytes.size() || !f.commit())
      std::abort();
  }
  SetBytes(state);
}

// For reference: a plain overwrite, with neither a temporary file nor a sync to disk.
void WriteBytesPlain(benchmark::State& state) {
  Fixture& fx = Data();
  for (auto _ : state) {
    QFile f(fx.outPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(fx.bytes) != fx.bytes.size())
      std::abort();
  }
  SetBytes(state);
}

void SerializeAndSaveFile(benchmark::State& state) {
  Fixture& fx = Data();
  korvan::IniDocument doc;
  if (!doc.LoadFile(fx.path)) std::abort();
  // The document is not byte-for-byte the file it came from unless the save reproduces it.
  if (doc.Serialize() != fx.bytes) std::abort();
  for (auto _ : state)
    if (!doc.SaveFile(fx.outPath)) std::abort();
  SetBytes(state);
}

// Serialisation alone, to see how much of the save is ours and how much the file system's.
void SerializeOnly(benchmark::State& state) {
  korvan::IniDocument doc;
  if (!doc.LoadFile(Data().path)) std::abort();
  for (auto _ : state) benchmark::DoNotOptimize(doc.Serialize());
  SetBytes(state);
}

BENCHMARK(ReadFileAndSplitLines)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseIniFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAndReadAllValues)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBytesAtomic)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBytesPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(SerializeAndSaveFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SerializeOnly)->Unit(benchmark::kMillisecond);

}  // namespace

// The allocator's regime decides much of these timings on a machine where a page fault is dear,
// and glibc's adaptive thresholds make it depend on which benchmark ran before. Fix it:
// by default freed memory is kept and reused (a steady state, as in an editor that opens one
// scheme after another); KORVAN_BENCH_COLD=1 hands every large block back to the kernel, so each
// iteration pays for fresh pages (a first open in a fresh process).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIntValue("KORVAN_BENCH_COLD") != 0) {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  } else {
    mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("heap", qEnvironmentVariableIntValue("KORVAN_BENCH_COLD") != 0
                                          ? "cold: large blocks returned to the kernel"
                                          : "warm: freed memory reused");
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
