// The settings file: encodings, letter case, what survives a write, the
// write probe on places that cannot be written, and the atomic replace.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "common/settingsstore.h"
#include "testfiles.h"

namespace {

// Runs `probe` as a user who cannot write the place (root writes anywhere,
// so as root the check runs in a child process as "nobody").
bool ProbeAsUnprivileged(const QString& path) {
  if (geteuid() != 0) return SettingsFile(path).Probe();
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(SettingsFile(path).Probe() ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

}  // namespace

class TestSettingsStore : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FPath;

 private slots:
  void init() {
    QVERIFY(FDir.isValid());
    FPath = FDir.filePath(QStringLiteral("orvex.ini"));
    QFile::remove(FPath);
  }

  void roundTrip_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("MainTop=-1") << "Size"
                                << "MainTop" << QVariant(-1) << QByteArray("MainTop=-1");
    QTest::newRow("Width6=800") << "Size"
                                << "Width6" << QVariant(800) << QByteArray("Width6=800");
    QTest::newRow("Maximized=true") << "Size"
                                    << "Maximized" << QVariant(true) << QByteArray("Maximized=1");
    QTest::newRow("EnableHints=false")
        << "Options"
        << "EnableHints" << QVariant(false) << QByteArray("EnableHints=0");
    QTest::newRow("Recall Desktop Settings=false")
        << "Options"
        << "Recall Desktop Settings" << QVariant(false) << QByteArray("Recall Desktop Settings=0");
    QTest::newRow("IanaLink url") << "Options"
                                  << "IanaLink"
                                  << QVariant("https://www.iana.org/assignments/x?a=b")
                                  << QByteArray("IanaLink=https://www.iana.org/assignments/x?a=b");
    QTest::newRow("a=10.1.2.3/24") << "MRIP"
                                   << "a" << QVariant("10.1.2.3/24") << QByteArray("a=10.1.2.3/24");
    QTest::newRow("non-ASCII text") << "MRIP"
                                    << "LastIP" << QVariant(QString::fromUtf8("Büro"))
                                    << QString::fromUtf8("LastIP=Büro").toUtf8();
  }
  void roundTrip() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, line);
    SettingsFile ini(FPath);
    bool written = false;
    if (value.typeId() == QMetaType::Bool)
      written = ini.WriteBool(section, key, value.toBool());
    else if (value.typeId() == QMetaType::Int)
      written = ini.WriteInteger(section, key, value.toInt());
    else
      written = ini.WriteString(section, key, value.toString());
    QVERIFY(written);
    QVERIFY(ReadAll(FPath).split('\n').contains(line));
    QVERIFY(ReadAll(FPath).contains("[" + section.toUtf8() + "]"));

    const SettingsFile again(FPath);
    if (value.typeId() == QMetaType::Bool)
      QCOMPARE(again.ReadBool(section, key, !value.toBool()), value.toBool());
    else if (value.typeId() == QMetaType::Int)
      QCOMPARE(again.ReadInteger(section, key, 12345), value.toInt());
    else
      QCOMPARE(again.ReadString(section, key, QString()), value.toString());
  }

  void namesIgnoreLetterCase() {
    WriteAll(FPath, "[options]\nenablehints=0\nRecall Desktop Settings=0\n");
    SettingsFile ini(FPath);
    QCOMPARE(ini.ReadBool("Options", "EnableHints", true), false);
    QCOMPARE(ini.ReadBool("OPTIONS", "recall desktop settings", true), false);
    QVERIFY(ini.WriteBool("Options", "ENABLEHINTS", true));
    // Still one entry, under the name already in the file.
    QCOMPARE(ReadAll(FPath).count("enablehints"), 1);
    QCOMPARE(ReadAll(FPath).toLower().count("enablehints"), 1);
    QCOMPARE(ini.ReadBool("options", "enableHints", false), true);
  }

  void numbersThatAreNoNumbers_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("boolean");
    // Default 77 / true unless the text is a decimal number.
    QTest::newRow("abc") << QByteArray("abc") << 77 << true;
    QTest::newRow("empty") << QByteArray("") << 77 << true;
    QTest::newRow("12abc") << QByteArray("12abc") << 77 << true;
    QTest::newRow("0x10") << QByteArray("0x10") << 77 << true;
    QTest::newRow("1.5") << QByteArray("1.5") << 77 << true;
    QTest::newRow("-") << QByteArray("-") << 77 << true;
    QTest::newRow("99999999999") << QByteArray("99999999999") << 77 << true;
    QTest::newRow("-7") << QByteArray("-7") << -7 << true;
    QTest::newRow("+3") << QByteArray("+3") << 3 << true;
    QTest::newRow("0") << QByteArray("0") << 0 << false;
    QTest::newRow("2") << QByteArray("2") << 2 << true;
    QTest::newRow("' 42 '") << QByteArray(" 42 ") << 42 << true;
  }
  void numbersThatAreNoNumbers() {
    QFETCH(QByteArray, text);
    QFETCH(int, integer);
    QFETCH(bool, boolean);
    WriteAll(FPath, "[Size]\nMainTop=" + text + "\n");
    const SettingsFile ini(FPath);
    QCOMPARE(ini.ReadInteger("Size", "MainTop", 77), integer);
    QCOMPARE(ini.ReadBool("Size", "MainTop", true), boolean);
  }

  void unknownContentSurvivesWrites() {
    WriteAll(FPath,
             "; written by hand\n[Options]\n; hint switch\nEnableHints=1\nColour=blue\n\n"
             "[Private]\nnote=keep me\n; last words\n");
    SettingsFile ini(FPath);
    QVERIFY(ini.WriteInteger("Size", "MainTop", 5));
    QVERIFY(ini.WriteBool("Options", "EnableHints", false));
    QVERIFY(ini.DeleteKey("Size", "MainTop"));
    const QByteArray data = ReadAll(FPath);
    for (const char* kept : {"; written by hand", "; hint switch", "Colour=blue", "[Private]",
                             "note=keep me", "EnableHints=0"})
      QVERIFY2(data.contains(kept), kept);
    QCOMPARE(data.count("; last words"), 1);
    QVERIFY(!data.contains("MainTop"));
  }

  // A lone CR ends a line: the key behind it stays a key of its own section
  // and does not wander into the section the write adds (a fuzzing find).
  void keyBehindALoneCrKeepsItsSection() {
    WriteAll(FPath, "[MRIP]\nLastIP=10.0.0.1\n; a\rMainTop=7\n; b\n");
    SettingsFile ini(FPath);
    QVERIFY(ini.WriteInteger("Size", "Width1", 640));
    QCOMPARE(ini.ReadInteger("Size", "MainTop", -1), -1);
    QCOMPARE(ini.ReadInteger("MRIP", "MainTop", -1), 7);
    QCOMPARE(ini.ReadInteger("Size", "Width1", -1), 640);
  }

  // The main window keeps its object open while the tool windows save.
  void twoOpenObjectsKeepEachOthersWrites() {
    SettingsFile main(FPath);
    {
      SettingsFile child(FPath);
      QVERIFY(child.WriteInteger("Size", "Width1", 800));
    }
    QVERIFY(main.WriteInteger("Size", "MainTop", 10));
    const SettingsFile ini(FPath);
    QCOMPARE(ini.ReadInteger("Size", "Width1", 0), 800);
    QCOMPARE(ini.ReadInteger("Size", "MainTop", 0), 10);
  }

  void probeLeavesNoTrace_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no [MRIP]") << QByteArray("[Options]\nEnableHints=1\n");
    QTest::newRow("[MRIP] with keys") << QByteArray("[MRIP]\na=10.0.0.0\n");
  }
  void probeLeavesNoTrace() {
    QFETCH(QByteArray, before);
    WriteAll(FPath, before);
    QVERIFY(SettingsFile(FPath).Probe());
    const QByteArray after = ReadAll(FPath);
    QVERIFY(!after.contains("Test"));
    QCOMPARE(after.contains("[MRIP]"), before.contains("[MRIP]"));
  }

  void probeFailsWhereNothingCanBeWritten_data() {
    QTest::addColumn<QString>("place");
    QTest::newRow("read-only file") << "file";
    QTest::newRow("read-only folder") << "folder";
    QTest::newRow("path is a folder") << "dir";
    QTest::newRow("missing folder") << "missing";
  }
  void probeFailsWhereNothingCanBeWritten() {
    QFETCH(QString, place);
    QTemporaryDir dir;
    QString path = dir.filePath("orvex.ini");
    const QByteArray before("[MRIP]\nLastIP=10.1.1.1\n");
    if (place == "dir") {
      QVERIFY(QDir().mkpath(path));
    } else if (place == "missing") {
      path = dir.filePath("gone/orvex.ini");
    } else {
      WriteAll(path, before);
      // Reachable by the unprivileged user; only the named place is locked.
      chmod(QFile::encodeName(dir.path()).constData(), place == "folder" ? 0755 : 0777);
      chmod(QFile::encodeName(path).constData(), place == "folder" ? 0666 : 0444);
    }
    QVERIFY(!ProbeAsUnprivileged(path));
    if (place == "file" || place == "folder") {
      QCOMPARE(ReadAll(path), before);
      QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
  }

  // A full disk is imitated with a file size limit below the new content.
  void failedWriteKeepsOldFile_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("small file") << 200;
    QTest::newRow("file beyond the write buffer") << 40000;
  }
  void failedWriteKeepsOldFile() {
    QFETCH(int, size);
    QByteArray before("[Options]\nEnableHints=1\n[Notes]\n");
    for (int i = 0; before.size() < size; ++i) before += "n" + QByteArray::number(i) + "=xxxx\n";
    WriteAll(FPath, before);

    signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = rlim_t(size / 2);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = SettingsFile(FPath).WriteBool("Options", "EnableHints", false);
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY(!written);
    QCOMPARE(ReadAll(FPath), before);
    QCOMPARE(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
