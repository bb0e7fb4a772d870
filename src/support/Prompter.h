#pragma once
// The one seam through which the editor talks to the user modally and hands documents to the
// desktop. The window installs a Qt implementation; tests install a scripted one; the command-line
// tool keeps the console default. Core code never shows a widget itself.

#include <QString>
#include <QUrl>

namespace korvan {

enum class Answer { Yes, No, Cancel };

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A message with the exclamation icon and an OK button.
  virtual void Warn(const QString& caption, const QString& text) = 0;
  // A question with the question icon and Yes, No, Cancel.
  virtual Answer Ask(const QString& caption, const QString& text) = 0;
  // Opens a document or an address with the desktop's associated program.
  virtual void OpenExternal(const QUrl& url) = 0;
};

// Writes messages to standard error and answers every question with Cancel, so that a headless
// caller never proceeds on a question nobody saw.
class ConsolePrompter final : public Prompter {
 public:
  void Warn(const QString& caption, const QString& text) override;
  Answer Ask(const QString& caption, const QString& text) override;
  void OpenExternal(const QUrl& url) override;
};

// The prompter in force; the console one until another is installed.
Prompter& CurrentPrompter();

// The prompter someone installed, or nullptr while the console default is in force.
Prompter* InstalledPrompter();

// Installs p (not owned) and returns the previous one; nullptr restores the console prompter.
Prompter* InstallPrompter(Prompter* p);

// Installs a prompter for one scope, restoring the previous one afterwards.
class ScopedPrompter {
 public:
  explicit ScopedPrompter(Prompter* p) : previous_(InstallPrompter(p)) {}
  ~ScopedPrompter() { InstallPrompter(previous_); }
  ScopedPrompter(const ScopedPrompter&) = delete;
  ScopedPrompter& operator=(const ScopedPrompter&) = delete;

 private:
  Prompter* previous_;
};

}  // namespace korvan
