#include "support/IniValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvan {

namespace {

QStringView TrimBlanks(QStringView s) {
  qsizetype b = 0, e = s.size();
  while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
  while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
  return s.sliced(b, e - b);
}

int DigitValue(char16_t c, int base) {
  int v = 99;
  if (c >= u'0' && c <= u'9') v = c - u'0';
  else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
  else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
  return v < base ? v : -1;
}

}  // namespace

std::optional<int> ParseIniInt(QStringView text) {
  QStringView t = TrimBlanks(text);
  bool negative = false;
  if (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) {
    negative = t[0] == u'-';
    t = t.sliced(1);
  }
  int base = 10;
  if (t.startsWith(u'$')) {
    base = 16;
    t = t.sliced(1);
  } else if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) {
    base = 16;
    t = t.sliced(2);
  }
  if (t.isEmpty()) return std::nullopt;
  // Decimal must fit the signed range; hexadecimal is a 32-bit pattern, as the profile readers
  // of the original platform took it.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t v = 0;
  for (QChar c : t) {
    const int digit = DigitValue(c.unicode(), base);
    if (digit < 0) return std::nullopt;
    v = v * std::uint64_t(base) + std::uint64_t(digit);
    if (v > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(v);
  const std::uint32_t result = negative ? std::uint32_t(0u - bits) : bits;
  return static_cast<int>(result);
}

std::optional<double> ParseIniDouble(QStringView text) {
  QStringView t = TrimBlanks(text);
  // from_chars takes no "+"; a sign followed by another sign must still fail.
  if (t.size() > 1 && t[0] == u'+' && t[1] != u'-' && t[1] != u'+') t = t.sliced(1);
  if (t.isEmpty() || t.size() > 512) return std::nullopt;
  char buffer[512];
  for (qsizetype k = 0; k < t.size(); ++k) {
    const char16_t c = t[k].unicode();
    if (c >= 0x80) return std::nullopt;  // no number has such a character
    buffer[k] = static_cast<char>(c);
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(buffer, buffer + t.size(), value);
  if (ec != std::errc() || end != buffer + t.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool ReadIniString(const IniDocument& doc, QStringView section, QStringView key, QString& out) {
  std::optional<QString> v = doc.Value(section, key);
  if (!v) return false;
  if (v->size() > kIniStringLimit) v->truncate(kIniStringLimit);
  out = std::move(*v);
  return true;
}

bool ReadIniInt(const IniDocument& doc, QStringView section, QStringView key, int& out) {
  const std::optional<QString> v = doc.Value(section, key);
  if (!v) return false;
  if (const std::optional<int> n = ParseIniInt(*v)) out = *n;
  return true;
}

bool ReadIniDouble(const IniDocument& doc, QStringView section, QStringView key, double& out) {
  const std::optional<QString> v = doc.Value(section, key);
  if (!v) return false;
  if (const std::optional<double> d = ParseIniDouble(*v)) out = *d;
  return true;
}

bool ReadIniBool(const IniDocument& doc, QStringView section, QStringView key, bool& out) {
  int n = out ? 1 : 0;
  if (!ReadIniInt(doc, section, key, n)) return false;
  out = n != 0;
  return true;
}

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsQuote(QChar c) { return c == u'"' || c == u'\''; }

}  // namespace

bool WriteIniString(IniDocument& doc, QStringView section, QStringView key, QStringView value) {
  const bool needsQuotes = !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                                (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  if (!needsQuotes) return doc.SetValue(section, key, value);
  return doc.SetValue(section, key, QString(u'"' + value.toString() + u'"'));
}

bool WriteIniInt(IniDocument& doc, QStringView section, QStringView key, int value) {
  return doc.SetValue(section, key, QString::number(value));
}

bool WriteIniDouble(IniDocument& doc, QStringView section, QStringView key, double value) {
  return doc.SetValue(section, key, QString::number(value, 'g', 15));
}

bool WriteIniBool(IniDocument& doc, QStringView section, QStringView key, bool value) {
  return doc.SetValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace korvan
