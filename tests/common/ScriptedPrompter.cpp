#include "common/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace korvan::test {

void ScriptedPrompter::Warn(const QString& caption, const QString& text) {
  shown.append({Shown::Warning, caption, text});
}

Answer ScriptedPrompter::Ask(const QString& caption, const QString& text) {
  shown.append({Shown::Question, caption, text});
  if (answers_.isEmpty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return Answer::Cancel;
  }
  return answers_.takeFirst();
}

void ScriptedPrompter::OpenExternal(const QUrl& url) { opened.append(url); }

}  // namespace korvan::test
