#pragma once
// Figure identities: random GUIDs in their 36-character upper-case text without braces.

#include <QString>
#include <QUuid>

namespace korvan {

// Fills guid with a new random GUID; false (guid all zero) if none could be made.
bool NewGuid(QUuid& guid);
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case.
QString GuidToText(const QUuid& guid);
// NewGuid then GuidToText.
QString NewGuidText();

}  // namespace korvan
