#include "support/ZIniFile.h"

#include <optional>

#include "support/IniDocument.h"
#include "support/IniValues.h"
#include "support/Prompter.h"

namespace korvan {
namespace {

void ShowError(const QString& title, const char* what, const QString& file, const QString& section,
               const QString& key) {
  CurrentPrompter().Warn(title, QString::fromUtf8(what) + key + QStringLiteral("\nСекции: ") +
                                    section + QStringLiteral("\nФайла: ") + file);
}

bool ReadIniValue(const IniDocument& doc, QStringView section, QStringView key, int type,
                  QString& s, double& d, int& i, bool& b) {
  switch (type) {
    case ZIniFile::String:
      return ReadIniString(doc, section, key, s);
    case ZIniFile::Double:
      return ReadIniDouble(doc, section, key, d);
    case ZIniFile::Integer:
      return ReadIniInt(doc, section, key, i);
    case ZIniFile::Bool:
      return ReadIniBool(doc, section, key, b);
    default:
      return false;
  }
}

bool WriteIniValue(IniDocument& doc, QStringView section, QStringView key, int type,
                   const QString& s, double d, int i, bool b) {
  switch (type) {
    case ZIniFile::String:
      return WriteIniString(doc, section, key, s);
    case ZIniFile::Double:
      return WriteIniDouble(doc, section, key, d);
    case ZIniFile::Integer:
      return WriteIniInt(doc, section, key, i);
    case ZIniFile::Bool:
      return WriteIniBool(doc, section, key, b);
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
