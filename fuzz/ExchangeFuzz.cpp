// libFuzzer target for the exchange file. The bytes are parsed as the file; the reader must take
// any of them without a crash, with at most kMaxExchangeEntries entries and no text longer than a
// profile read gives. What was read then drives the writer: the estimate's names become formula
// rows and figures, its formula text is expanded and written back, and the expansion and the
// substitution table are held to the literal rules while the input is small.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "formula/ExchangeFile.h"
#include "formula/FormulaTable.h"
#include "formula/LiteralSubstitution.h"
#include "formula/SubstitutionTable.h"
#include "support/IniDocument.h"
#include "support/IniValues.h"

namespace {

using namespace korvan;

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "fuzz_exchange: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniDocument doc;
  doc.Parse(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  EstimateLink link;
  ReadExchangeDocument(doc, link);
  if (link.SmetaFormulas.size() > static_cast<size_t>(kMaxExchangeEntries)) Die("too many entries");
  if (link.SmetaNormaFormula.size() > kIniStringLimit) Die("formula text longer than a profile read");
  for (const stFormula& e : link.SmetaFormulas)
    if (e.Name.size() > kIniStringLimit || e.Value.size() > kIniStringLimit || e.ShemaName.size() > kIniStringLimit)
      Die("entry text longer than a profile read");

  // The first entries as formula rows (name, formula) and as figures (name, and the value as size).
  const size_t used = std::min<size_t>(link.SmetaFormulas.size(), 12);
  FormulaGrid rows;
  std::vector<stFigure> figures;
  for (size_t i = 0; i < used; ++i) {
    const stFormula& e = link.SmetaFormulas[i];
    if (e.Vid % 2)
      rows.append(QStringList{e.Name, e.Value, e.ShemaName});
    else {
      stFigure f;
      f.Name = e.Name;
      f.Vid = static_cast<std::uint8_t>(e.Vid % 15);
      f.Width = e.Value.size() * 0.5;
      f.Height = e.ShemaName.size() * 0.25;
      figures.push_back(f);
    }
  }
  EditorState state;
  state.ShemaFile = QStringLiteral("/x/") + link.SmetaNormaFormula.left(20);

  const QString expanded = ExpandFormulaNames(link.SmetaNormaFormula, rows);
  if (expanded.size() > kMaxExpandedFormulaLength && expanded.size() > link.SmetaNormaFormula.size())
    Die("expansion beyond the cap");
  if (link.SmetaNormaFormula.size() <= 64 && rows.size() <= 4) {
    bool small = true;
    for (const QStringList& r : rows) small = small && r.value(1).size() <= 16;
    if (small && expanded.size() < 2000 &&
        expanded != literal::ExpandFormulaNames(link.SmetaNormaFormula, rows, 20000))
      Die("expansion differs from the literal rule");
  }

  IniDocument out;
  if (BuildExchangeDocument(out, link.SmetaNormaFormula, figures, rows, state, link)) {
    int count = -1;
    ReadIniInt(out, QStringLiteral("Formula"), QStringLiteral("FormulaCount"), count);
    if (count < 0 || static_cast<size_t>(count) > 4 * figures.size()) Die("entry count out of range");
    // Read back as any value written alone reads back (the profile read trims and unquotes).
    IniDocument alone;
    alone.SetValue(QStringLiteral("Formula"), QStringLiteral("FormulaStr"), expanded);
    if (out.Value(QStringLiteral("Formula"), QStringLiteral("FormulaStr")) !=
        alone.Value(QStringLiteral("Formula"), QStringLiteral("FormulaStr")))
      Die("FormulaStr is not the expanded text");
  }

  // The substitution table against the literal application over the same pairs. Values are cut
  // short: each pair may multiply the text by its value's length, and the rule has no bound.
  SubstitutionTable table;
  std::vector<literal::Entry> pairs;
  for (size_t i = 0; i < std::min<size_t>(used, 6); ++i) {
    const QString name = link.SmetaFormulas[i].Name.left(12), value = link.SmetaFormulas[i].Value.left(6);
    table.Add(name, value);
    pairs.push_back({name, value});
  }
  if (link.SmetaNormaFormula.size() <= 200) {
    const QString fast = table.Apply(link.SmetaNormaFormula);
    if (fast != literal::SubstituteList(link.SmetaNormaFormula, pairs))
      Die("substitution differs from the literal sequence");
  }
  return 0;
}
