#include "app/QtPrompter.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>

namespace korvan {
namespace {

// A message never appears under an hourglass: whatever long operation set it has ended.
void DropWaitCursors() {
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

}  // namespace

void QtPrompter::Warn(const QString& caption, const QString& text) {
  DropWaitCursors();
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner_);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

Answer QtPrompter::Ask(const QString& caption, const QString& text) {
  DropWaitCursors();
  QMessageBox box(QMessageBox::Question, caption, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner_);
  box.setWindowModality(Qt::ApplicationModal);
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

void QtPrompter::OpenExternal(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace korvan
