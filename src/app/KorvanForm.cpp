#include "app/KorvanForm.h"

namespace korvan {

TKorvanForm1::TKorvanForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("KorvanForm1"));
  setWindowTitle(QStringLiteral("Korvan"));
  resize(1024, 720);
}

TKorvanForm1::~TKorvanForm1() = default;

}  // namespace korvan
