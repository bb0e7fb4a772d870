#include "support/ZString.h"

#include <charconv>
#include <string>

#include "support/CStr.h"

namespace korvan {

QString ZString::StripTrailingZeros(const QString& s) {
  const qsizetype point = s.indexOf(QLatin1Char('.'));
  if (point < 0) return s;
  qsizetype end = s.size();
  while (end - 1 >= point + 2 && s.at(end - 1) == QLatin1Char('0')) --end;
  return s.left(end);
}

QString ZString::FormatFixed(double x) {
  return StripTrailingZeros(QString::fromLatin1(CStr::FromNumber(x, 10)));
}

QString ZString::FormatNumber(double x) {
  if (x == 0) return QString();
  return ReplaceChar(FormatFixed(x), QStringLiteral(","), QStringLiteral(".")).trimmed();
}

double ZString::ParseNumber(const QString& s) {
  const QByteArray text = ReplaceChar(s, QStringLiteral(","), QStringLiteral(".")).trimmed().toLatin1();
  const char* p = text.constData();
  const char* const end = p + text.size();
  // Longest prefix of the form [+-] digits [. digits] [e [+-] digits].
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
  const char* mantissa = q;
  bool digits = false;
  while (q < end && *q >= '0' && *q <= '9') ++q, digits = true;
  if (q < end && *q == '.') {
    ++q;
    while (q < end && *q >= '0' && *q <= '9') ++q, digits = true;
  }
  if (!digits) return 0.0;
  const char* numberEnd = q;
  if (q < end && (*q == 'e' || *q == 'E')) {
    const char* e = q + 1;
    if (e < end && (*e == '+' || *e == '-')) ++e;
    if (e < end && *e >= '0' && *e <= '9') {
      while (e < end && *e >= '0' && *e <= '9') ++e;
      numberEnd = e;
    }
  }
  double value = 0.0;
  const auto result = std::from_chars(mantissa, numberEnd, value, std::chars_format::general);
  if (result.ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

QString ZString::ReplaceChar(const QString& s, const QString& find, const QString& repl) {
  if (find.isEmpty()) return s;
  const QChar f = find.at(0);
  QString out;
  out.reserve(s.size());
  for (QChar c : s) {
    if (c != f)
      out.append(c);
    else if (!repl.isEmpty())
      out.append(repl.at(0));
  }
  return out;
}

QString ZString::IncludeTrailingBackslash(const QString& s) {
  if (s.isEmpty() || s.endsWith(QLatin1Char('/'))) return s;
  return s + QLatin1Char('/');
}

}  // namespace korvan
