// libFuzzer target for the hexadecimal decoder of binary values: any text decodes without a crash
// to the bytes of its well-formed leading pairs, which encode back to exactly those pairs.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/IniDocument.h"

namespace {

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "fuzz_hex_decode: %s\n", what);
  std::abort();
}

bool IsHex(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

void Check(const QString& text) {
  QByteArray out = "previous";
  const bool ok = korvan::DecodeHex(text, out);
  const qsizetype used = out.size() * 2;
  if (used > text.size()) Die("more bytes than pairs");
  // The decoded bytes are the leading pairs, in upper case.
  if (korvan::EncodeHex(out) != text.first(used).toUpper()) Die("bytes differ from their pairs");
  if (ok != (used == text.size())) Die("result does not say whether all text was used");
  if (!ok) {
    // It stopped at a lone digit or at a pair with a non-digit.
    const bool lone = used + 1 == text.size();
    if (!lone && IsHex(text[used]) && IsHex(text[used + 1])) Die("stopped at a well-formed pair");
  }
  QByteArray back;
  if (!korvan::DecodeHex(korvan::EncodeHex(out), back) || back != out) Die("round trip failed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // As Latin-1 text, and as UTF-16 text so that characters beyond one byte are tried as well.
  Check(QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size)));
  QString wide(qsizetype(size / 2), Qt::Uninitialized);  // copied: data need not be aligned
  std::memcpy(wide.data(), data, (size / 2) * 2);
  Check(wide);
  return 0;
}
