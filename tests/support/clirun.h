#pragma once
// Running orvex-cli (the path in ORVEX_CLI) as a user does: arguments,
// standard input and a working folder in; status, output and messages out.

#include <sys/resource.h>
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct TRun {
  int status = -1;  // -1 when the program did not start or end normally
  QByteArray out, err;
};

// Runs the program in `folder` (an empty one when none is given);
// `limitFileSize` caps the files it may write (bytes), as a full disk would.
inline TRun Run(const QStringList& args, const QByteArray& input = QByteArray(),
                const QString& folder = QString(), qint64 limitFileSize = 0) {
  static QTemporaryDir empty;
  QProcess p;
  p.setWorkingDirectory(folder.isEmpty() ? empty.path() : folder);
  if (limitFileSize > 0)
    p.setChildProcessModifier([limitFileSize] {
      const rlimit limit{rlim_t(limitFileSize), rlim_t(limitFileSize)};
      setrlimit(RLIMIT_FSIZE, &limit);
    });
  p.start(QStringLiteral(ORVEX_CLI), args);
  if (!p.waitForStarted()) return TRun();
  p.write(input);
  p.closeWriteChannel();
  // Long lists under the sanitizers take their time.
  p.waitForFinished(120000);
  TRun r;
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

// The lines of a text, without the empty one after its last line break.
inline QStringList Lines(const QByteArray& text) {
  QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}
