#include "support/ZIniFile.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "support/IniDocument.h"
#include "support/Prompter.h"

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

std::optional<int> ParseInt(QStringView text) {
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
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t v = 0;
  for (QChar c : t) {
    const int digit = DigitValue(c.unicode(), base);
    if (digit < 0) return std::nullopt;
    v = v * uint64_t(base) + uint64_t(digit);
    if (v > limit) return std::nullopt;
  }
  const auto bits = static_cast<uint32_t>(v);
  const uint32_t result = negative ? uint32_t(0u - bits) : bits;
  return static_cast<int>(result);
}

void ShowError(const QString& title, const char* what, const QString& file, const QString& section,
               const QString& key) {
  CurrentPrompter().Warn(title, QString::fromUtf8(what) + key + QStringLiteral("\nСекции: ") +
                                    section + QStringLiteral("\nФайла: ") + file);
}

constexpr qsizetype kMaxString = 2047;

int IniToInt(QStringView text, int fallback) { return ParseInt(text).value_or(fallback); }

bool IniToBool(QStringView text, bool fallback) { return IniToInt(text, fallback ? 1 : 0) != 0; }

double IniToDouble(QStringView text, double fallback) {
  QStringView t = TrimBlanks(text);
  // from_chars takes no "+"; a sign followed by another sign must still fail.
  if (t.size() > 1 && t[0] == u'+' && t[1] != u'-' && t[1] != u'+') t = t.sliced(1);
  if (t.isEmpty() || t.size() > 512) return fallback;
  char buffer[512];
  for (qsizetype k = 0; k < t.size(); ++k) {
    const char16_t c = t[k].unicode();
    if (c >= 0x80) return fallback;  // no number has such a character
    buffer[k] = static_cast<char>(c);
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(buffer, buffer + t.size(), value);
  if (ec != std::errc() || end != buffer + t.size() || !std::isfinite(value)) return fallback;
  return value;
}

QString IniFromInt(int i) { return QString::number(i); }
QString IniFromBool(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }
QString IniFromDouble(double d) { return QString::number(d, 'g', 15); }

bool ReadIniValue(const IniDocument& doc, QStringView section, QStringView key, int type,
                  QString& s, double& d, int& i, bool& b) {
  if (type < ZIniFile::String || type > ZIniFile::Bool) return false;
  const std::optional<QString> value = doc.Value(section, key);
  if (!value) return false;
  switch (type) {
    case ZIniFile::String:
      s = value->size() > kMaxString ? value->left(kMaxString) : *value;
      break;
    case ZIniFile::Double:
      d = IniToDouble(*value, d);
      break;
    case ZIniFile::Integer:
      i = IniToInt(*value, i);
      break;
    case ZIniFile::Bool:
      b = IniToBool(*value, b);
      break;
  }
  return true;
}

bool WriteIniValue(IniDocument& doc, QStringView section, QStringView key, int type,
                   const QString& s, double d, int i, bool b) {
  switch (type) {
    case ZIniFile::String:
      return doc.SetValue(section, key, s);
    case ZIniFile::Double:
      return doc.SetValue(section, key, IniFromDouble(d));
    case ZIniFile::Integer:
      return doc.SetValue(section, key, IniFromInt(i));
    case ZIniFile::Bool:
      return doc.SetValue(section, key, IniFromBool(b));
    default:
      return false;
  }
}

}  // namespace

bool ZIniFile::Read(const QString& file, const QString& section, const QString& key, int type,
                    QString& s, double& d, int& i, bool& b, bool showErrors) const {
  IniDocument doc;
  const bool typeKnown = type >= String && type <= Bool;
  if (!typeKnown || !doc.LoadFile(file)) {
    if (showErrors) ShowError(title_, "Ошибка при чтении параметра: ", file, section, key);
    return false;
  }
  // A missing value is the normal case of a preset default, not an error.
  return ReadIniValue(doc, section, key, type, s, d, i, b);
}

bool ZIniFile::Write(const QString& file, const QString& section, const QString& key, int type,
                     const QString& s, double d, int i, bool b, bool showErrors) const {
  IniDocument doc;
  const bool ok = doc.LoadFile(file) && WriteIniValue(doc, section, key, type, s, d, i, b) &&
                  doc.SaveFile(file);
  if (!ok && showErrors) ShowError(title_, "Ошибка при записи параметра: ", file, section, key);
  return ok;
}

bool ZIniFile::ReadBinary(const QString& file, const QString& section, const QString& key,
                          QByteArray& out) const {
  IniDocument doc;
  if (!doc.LoadFile(file)) {
    out.clear();
    return false;
  }
  return doc.BinaryValue(section, key, out);
}

bool ZIniFile::WriteBinary(const QString& file, const QString& section, const QString& key,
                           QByteArrayView bytes) const {
  IniDocument doc;
  return doc.LoadFile(file) && doc.SetBinaryValue(section, key, bytes) && doc.SaveFile(file);
}

}  // namespace korvan
