#pragma once
// Typed values in an INI document, read the way the profile readers take them: a missing key
// leaves the output at its preset default and reports false; a present key reports true and sets
// the output, falling back to the preset when the text is not a value of that type.

#include <QString>
#include <QStringView>

#include <optional>

#include "support/IniDocument.h"

namespace korvan {

// Strings read from INI files are cut to this many characters.
inline constexpr qsizetype kIniStringLimit = 2047;

// Blanks and tabs at the ends are ignored. An optional sign, then decimal digits within the signed
// 32-bit range, or "$" / "0x" and hexadecimal digits taken as a 32-bit pattern ("$FFFFFFFF" is -1);
// nullopt for anything else.
std::optional<int> ParseIniInt(QStringView text);
// A C-locale decimal number (point, optional exponent), finite; nullopt for anything else.
std::optional<double> ParseIniDouble(QStringView text);

bool ReadIniString(const IniDocument& doc, QStringView section, QStringView key, QString& out);
bool ReadIniInt(const IniDocument& doc, QStringView section, QStringView key, int& out);
bool ReadIniDouble(const IniDocument& doc, QStringView section, QStringView key, double& out);
// An integer other than 0 is true.
bool ReadIniBool(const IniDocument& doc, QStringView section, QStringView key, bool& out);

// Writes text so that it reads back unchanged: a value with blanks at its ends or inside a pair of
// quotes would lose them on reading, so it is written inside one more pair of double quotes.
bool WriteIniString(IniDocument& doc, QStringView section, QStringView key, QStringView value);
bool WriteIniInt(IniDocument& doc, QStringView section, QStringView key, int value);
bool WriteIniDouble(IniDocument& doc, QStringView section, QStringView key, double value);
// "1" or "0".
bool WriteIniBool(IniDocument& doc, QStringView section, QStringView key, bool value);

}  // namespace korvan
