#include "support/Prompter.h"

#include <cstdio>

namespace korvan {
namespace {

ConsolePrompter& Console() {
  static ConsolePrompter console;
  return console;
}

Prompter* g_current = nullptr;

// The caption is window chrome; on a console the text alone says it.
void Print(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

}  // namespace

void ConsolePrompter::Warn(const QString&, const QString& text) { Print(text); }

Answer ConsolePrompter::Ask(const QString&, const QString& text) {
  Print(text);
  return Answer::Cancel;
}

void ConsolePrompter::OpenExternal(const QUrl& url) {
  Print(url.toString());
}

Prompter& CurrentPrompter() { return g_current ? *g_current : Console(); }

Prompter* InstalledPrompter() { return g_current; }

Prompter* InstallPrompter(Prompter* p) {
  Prompter* previous = g_current;
  g_current = p;
  return previous;
}

}  // namespace korvan
