#pragma once
// Windows-1251, the code page of every file Korvan reads or writes.
// Table-driven both ways: scheme files reach several megabytes and are decoded on every open.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace korvan::cp1251 {

// Every byte decodes to one UTF-16 unit; the one byte the code page leaves undefined (0x98)
// decodes to U+0098 so that any file survives a read and a write byte for byte.
QString Decode(QByteArrayView bytes);
void DecodeAppend(QByteArrayView bytes, QString& out);

// True when every character of text has a Windows-1251 byte.
bool CanEncode(QStringView text);

// Encodes text; false (and out unchanged) when some character has no Windows-1251 byte.
bool Encode(QStringView text, QByteArray& out);
// Appends the encoding of text, which the caller has checked with CanEncode.
void EncodeAppendChecked(QStringView text, QByteArray& out);

// Lower case as Windows takes it over the code page: Latin and Cyrillic letters only.
QString ToLower(QStringView text);

}  // namespace korvan::cp1251
