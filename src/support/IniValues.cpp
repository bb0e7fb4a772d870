#include "support/IniValues.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace korvan {

std::optional<int> ParseIniInt(QStringView text) {
  text = text.trimmed();
  bool negative = false;
  if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
    negative = text[0] == u'-';
    text = text.mid(1);
  }
  int base = 10;
  if (text.startsWith(u'$')) {
    base = 16;
    text = text.mid(1);
  } else if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text = text.mid(2);
  }
  if (text.isEmpty()) return std::nullopt;
  std::int64_t value = 0;
  for (QChar c : text) {
    int digit;
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
      digit = u - u'0';
    else if (base == 16 && u >= u'a' && u <= u'f')
      digit = u - u'a' + 10;
    else if (base == 16 && u >= u'A' && u <= u'F')
      digit = u - u'A' + 10;
    else
      return std::nullopt;
    value = value * base + digit;
    if (value > (std::int64_t{1} << 32)) return std::nullopt;
  }
  if (negative) value = -value;
  // Hexadecimal texts name bit patterns, so 0xFFFFFFFF is -1 as in the profile readers.
  if (base == 16 && !negative && value <= 0xFFFFFFFFLL) return static_cast<int>(static_cast<std::uint32_t>(value));
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseIniDouble(QStringView text) {
  const QByteArray latin = text.trimmed().toLatin1();
  const char* begin = latin.constData();
  const char* end = begin + latin.size();
  if (begin != end && *begin == '+') ++begin;
  double value = 0;
  const auto r = std::from_chars(begin, end, value, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
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
