#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

#include "app/KorvanForm.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvan"));

  // Standard buttons and dialogs speak Russian like the rest of the window.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);

  korvan::TKorvanForm1::Environment env;
  env.executableDir = QCoreApplication::applicationDirPath();
  env.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  env.arguments = QCoreApplication::arguments().mid(1);

  korvan::TKorvanForm1 form(env);
  form.FormCreate();
  form.show();
  return QApplication::exec();
}
