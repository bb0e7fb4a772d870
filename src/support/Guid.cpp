#include "support/Guid.h"

namespace korvan {

bool NewGuid(QUuid& guid) {
  guid = QUuid();
  guid = QUuid::createUuid();
  return !guid.isNull();
}

QString GuidToText(const QUuid& guid) { return guid.toString(QUuid::WithoutBraces).toUpper(); }

QString NewGuidText() {
  QUuid guid;
  NewGuid(guid);
  return GuidToText(guid);
}

}  // namespace korvan
