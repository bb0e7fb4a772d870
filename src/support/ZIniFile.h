#pragma once
// Typed access to single values of INI files by file, section and key, one value per call: every
// call loads the whole file, reads or changes one value, and (for a write) replaces the file
// atomically. A read of a missing value changes nothing and returns false, so callers preset each
// output with its default. Failures are silent unless showErrors asks for a message.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace korvan {

class IniDocument;

class ZIniFile {
 public:
  // The type argument of Read and Write.
  enum Type : int { String = 0, Double = 1, Integer = 2, Bool = 3 };

  ZIniFile() = default;
  const QString& Title() const { return title_; }

  // True when the key exists: the output of the chosen type then holds the value, read with its
  // current content as the default:
  // - string: cut to 2047 characters;
  // - integer: optional sign, then decimal digits, or "$" / "0x" and hexadecimal digits (a
  //   hexadecimal text is a 32-bit pattern: "$FFFFFFFF" is -1); any other text, or a number
  //   outside the 32-bit range, keeps the default;
  // - bool: the integer read with 1 or 0 as default, true when not 0;
  // - double: a C-locale decimal number (point, optional exponent); any other text, or a number
  //   that is not finite, keeps the default.
  // False, with every output untouched, when the section or key is missing, the file exists but
  // cannot be read, or type is unknown.
  bool Read(const QString& file, const QString& section, const QString& key, int type, QString& s,
            double& d, int& i, bool& b, bool showErrors) const;
  // Writes the value of the chosen type and replaces the file atomically (a missing file is
  // created). False when the value cannot be stored (a character outside Windows-1251, a line
  // break, a bad name), when an existing file cannot be read (it is then never overwritten), or
  // when the file cannot be written (the old one stays as it was).
  bool Write(const QString& file, const QString& section, const QString& key, int type,
             const QString& s, double d, int i, bool b, bool showErrors) const;

  // Whole-file access for binary values stored as upper-case hexadecimal pairs. ReadBinary gives
  // an empty array and false when the key is missing or the file cannot be read; a malformed value
  // gives its well-formed leading bytes and false.
  bool ReadBinary(const QString& file, const QString& section, const QString& key,
                  QByteArray& out) const;
  bool WriteBinary(const QString& file, const QString& section, const QString& key,
                   QByteArrayView bytes) const;

 private:
  QString title_ = QStringLiteral("Класс: ZIniFile");
};

}  // namespace korvan
