#pragma once
// The prompter of the running editor: task-modal Qt message boxes over the main window.

#include <QPointer>
#include <QWidget>

#include "support/Prompter.h"

namespace korvan {

class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  void Warn(const QString& caption, const QString& text) override;
  Answer Ask(const QString& caption, const QString& text) override;
  void OpenExternal(const QUrl& url) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace korvan
