#pragma once
// korvan-cli run as a process, the way scripts and users run it, and the fixtures it reads.

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace korvan::test {

struct CliRun {
  int code = -1;  // -1 when the tool crashed or did not finish
  QString out;
  QString err;
};

inline CliRun Cli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(KORVAN_CLI_PATH), args);
  CliRun r;
  if (!p.waitForFinished(60000)) return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

inline QString Fixture(const char* name) {
  return QStringLiteral(KORVAN_FIXTURES_DIR "/") + QString::fromUtf8(name);
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace korvan::test
