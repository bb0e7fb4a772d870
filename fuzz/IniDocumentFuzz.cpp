// libFuzzer target for the INI document: any bytes must parse, and the layout the document writes
// must be a fixed point (writing what was read back in gives the same bytes). Every listed section
// and key must be found again, and a value set through the document must read back as the profile
// functions would read it, also after a write and a second parse.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "support/Cp1251.h"
#include "support/IniDocument.h"

namespace {

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "fuzz_ini_document: %s\n", what);
  std::abort();
}

// The value as a profile reader sees "key=" + text.
QString AsRead(QString text) {
  qsizetype b = 0, e = text.size();
  while (b < e && (text[b] == u' ' || text[b] == u'\t')) ++b;
  while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t')) --e;
  text = text.sliced(b, e - b);
  if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
      text.back() == text.front())
    text = text.sliced(1, text.size() - 2);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  korvan::IniDocument doc;
  doc.Parse(bytes);
  const QByteArray first = doc.Serialize();
  korvan::IniDocument again;
  again.Parse(first);
  if (again.Serialize() != first) Die("the written layout changed on a second parse");

  const QStringList sections = doc.SectionNames();
  if (again.SectionNames() != sections) Die("sections differ after a round trip");
  for (qsizetype i = 0; i < sections.size() && i < 32; ++i) {
    if (!doc.HasSection(sections[i])) Die("a listed section is not found");
    const QStringList keys = doc.KeyNames(sections[i]);
    for (qsizetype k = 0; k < keys.size() && k < 32; ++k) {
      const std::optional<QString> v = doc.Value(sections[i], keys[k]);
      if (!v || !doc.HasKey(sections[i], keys[k])) Die("a listed key is not found");
      if (again.Value(sections[i], keys[k]) != v) Die("a value changed in a round trip");
    }
  }

  // A value made of the input (line breaks dropped) must be stored and read back exactly.
  QString value = korvan::cp1251::Decode(bytes.first(std::min<qsizetype>(bytes.size(), 64)));
  value.remove(u'\r');
  value.remove(u'\n');
  const QString section = sections.isEmpty() ? QStringLiteral("Fuzz") : sections.front();
  const QString key = QStringLiteral("FuzzKey");
  // A parsed name can hold what SetValue refuses (a "]", a CR inside the line, nothing at all).
  if (section.isEmpty() || section.contains(u']') || section.contains(u'\r')) return 0;
  if (!doc.SetValue(section, key, value)) Die("a storable value was refused");
  const QString expected = AsRead(value);
  if (doc.Value(section, key) != expected) Die("a value set does not read back");
  korvan::IniDocument written;
  written.Parse(doc.Serialize());
  if (written.Value(section, key) != expected) Die("a value set does not survive a write");
  if (written.Serialize() != doc.Serialize()) Die("a written document is not a fixed point");
  return 0;
}
