// libFuzzer target for the scheme reader: any bytes must read without a crash, and what is written
// back from a read scheme must be a fixed point: reading it and writing it again gives the same
// bytes.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "model/SchemeFile.h"
#include "support/Prompter.h"

namespace {

class SilentPrompter final : public korvan::Prompter {
 public:
  void Warn(const QString&, const QString&) override {}
  korvan::Answer Ask(const QString&, const QString&) override { return korvan::Answer::Cancel; }
  void OpenExternal(const QUrl&) override {}
};

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "fuzz_scheme_file: %s\n", what);
  std::abort();
}

QByteArray WriteBack(const korvan::stScena& scene, const korvan::FormulaGrid& rows, const korvan::EditorState& state) {
  korvan::IniDocument out;
  if (!korvan::BuildShemaDocument(scene, rows, state, out)) Die("a read scheme could not be written");
  return out.Serialize();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SilentPrompter silent;
  korvan::InstallPrompter(&silent);

  korvan::IniDocument doc;
  doc.Parse(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  korvan::stScena scene;
  korvan::FormulaGrid rows;
  korvan::EditorState state;
  if (!korvan::ReadShemaDocument(doc, scene, rows, state)) return 0;
  if (rows.isEmpty()) Die("a read scheme has no formula row");

  const QByteArray first = WriteBack(scene, rows, state);
  korvan::IniDocument again;
  again.Parse(first);
  korvan::stScena scene2;
  korvan::FormulaGrid rows2;
  korvan::EditorState state2;
  if (!korvan::ReadShemaDocument(again, scene2, rows2, state2)) Die("a written scheme was refused");
  if (scene2.Figures.size() != scene.Figures.size()) Die("figure count changed");
  if (WriteBack(scene2, rows2, state2) != first) Die("writing a read scheme is not a fixed point");
  return 0;
}
