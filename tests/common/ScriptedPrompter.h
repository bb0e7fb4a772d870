#pragma once
// A prompter for tests: records every message and question and answers from a queue, so no test
// ever blocks on a modal window and every text can be asserted.

#include <QList>
#include <QString>
#include <QUrl>

#include "support/Prompter.h"

namespace korvan::test {

class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    enum Kind { Warning, Question } kind;
    QString caption;
    QString text;
  };

  void Warn(const QString& caption, const QString& text) override;
  // Answers with the next queued answer; an unexpected question fails the test and cancels.
  Answer Ask(const QString& caption, const QString& text) override;
  void OpenExternal(const QUrl& url) override;

  void QueueAnswer(Answer a) { answers_.append(a); }

  QList<Shown> shown;
  QList<QUrl> opened;

 private:
  QList<Answer> answers_;
};

}  // namespace korvan::test
