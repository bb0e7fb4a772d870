#include "support/Prompter.h"

#include <cstdio>

namespace korvan {
namespace {

ConsolePrompter& Console() {
  static ConsolePrompter console;
  return console;
}

Prompter* g_current = nullptr;

void Print(const QString& caption, const QString& text) {
  std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
}

}  // namespace

void ConsolePrompter::Warn(const QString& caption, const QString& text) { Print(caption, text); }

Answer ConsolePrompter::Ask(const QString& caption, const QString& text) {
  Print(caption, text);
  return Answer::Cancel;
}

void ConsolePrompter::OpenExternal(const QUrl& url) {
  Print(QStringLiteral("Korvan"), url.toString());
}

Prompter& CurrentPrompter() { return g_current ? *g_current : Console(); }

Prompter* InstallPrompter(Prompter* p) {
  Prompter* previous = g_current;
  g_current = p;
  return previous;
}

}  // namespace korvan
