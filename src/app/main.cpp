#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/KorvanForm.h"
#include "app/QtPrompter.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvan"));

  // Standard buttons and dialogs speak Russian like the rest of the window.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);

  korvan::TKorvanForm1 form;
  korvan::QtPrompter prompter(&form);
  korvan::ScopedPrompter scope(&prompter);
  form.show();
  return QApplication::exec();
}
