#pragma once
// Whole-file reads and writes for tests that look at the settings file.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& data) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(f.write(data), data.size());
}
