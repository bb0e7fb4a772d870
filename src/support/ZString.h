#pragma once
// Text helpers and the one number-to-text conversion of the whole program: a point as decimal
// separator, no grouping, trailing zeros cut but one decimal kept, zero shown as "".

#include <QString>

namespace korvan {

class ZString {
 public:
  ZString() = default;
  const QString& Title() const { return title_; }

  // "" for 0; otherwise FormatFixed with any comma turned into a point, blanks trimmed.
  static QString FormatNumber(double x);
  // CStr::FromNumber(x, 10) without its trailing zeros.
  static QString FormatFixed(double x);
  // Cuts zeros from the end while they stand two or more places after the first point.
  static QString StripTrailingZeros(const QString& s);
  // The longest leading decimal number of s (commas read as points, blanks trimmed); 0 when
  // there is none. Infinity, NaN and hexadecimal forms are not numbers here, and a number beyond
  // the range of a double also reads as 0, so no file can smuggle an infinite measure in.
  static double ParseNumber(const QString& s);
  // Deletes every occurrence of the character find (repl empty) or replaces it by repl's first one.
  static QString ReplaceChar(const QString& s, const QString& find, const QString& repl);
  // Appends the folder separator "/" unless s is empty or already ends with it.
  static QString IncludeTrailingBackslash(const QString& s);

 private:
  QString title_ = QStringLiteral("Класс ZString");
};

}  // namespace korvan
