// Damaged and hostile files, and disks that refuse to be written: the program
// keeps working, says only what it would say anyway, and never loses or cuts
// short a file it did not mean to change.

#include <QDir>
#include <QMdiArea>
#include <QRandomGenerator>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/settingsstore.h"
#include "guifixture.h"
#include "hostlist/hostlistmodel.h"
#include "hostlist/tfrmhostlist.h"
#include "ipcalc/tcipcalc.h"
#include "scratchmounts.h"
#include "shell/mainwindow.h"
#include "shell/optionsdialog.h"
#include "testfiles.h"

namespace {

QByteArray Garbage(int size) {
  QByteArray b(size, Qt::Uninitialized);
  QRandomGenerator random(4711);
  for (char& c : b) c = char(random.bounded(256));
  return b;
}

}  // namespace

class TestDamagedFiles : public QObject, protected GuiFixture {
  Q_OBJECT
  QString FFolder;

  // A whole session: start, one window of each tool, an examination, close.
  void Session() {
    std::unique_ptr<TfrmMain> m(CreateOrvexWindows());
    m->show();
    m->tmrSplashTimer();
    for (int kind : {wkIpCalc, wkMaskChart, wkIntConv}) m->OpenToolWindow(kind);
    for (TcChild* w : m->ToolWindows())
      if (auto* calc = qobject_cast<TcIpCalc*>(w)) calc->Examine(true);
    m->close();
  }

 private slots:
  void init() {
    SetUpGui();
    FFolder = QFileInfo(FIni).path();
    WorkInFolder();
  }
  void cleanup() {
    ScratchMounts::Unmount(FFolder);
    TearDownGui();
  }

  // The settings file as the user may find it. "kept" is text that must
  // survive the session's writes; "height" what [Size] MainHeight reads.
  void settingsFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<int>("height");
    const QByteArray custom = "[Custom]\nkeep=yes\n";
    QTest::newRow("empty") << QByteArray("") << QByteArray() << 750;
    QTest::newRow("binary garbage") << Garbage(4096) << QByteArray() << 750;
    QTest::newRow("NUL bytes in the middle")
        << QByteArray("[Size]\nMainHeight=600\n\0\0[Custom]\nkeep=yes\n", 42) << custom << 600;
    QTest::newRow("10 MB long") << "[Size]\nMainHeight=600\n" + custom +
                                       QByteArray(10 << 20, 'x').replace(70, 1, "\n") + "\n"
                                << custom << 600;
    QTest::newRow("duplicate sections and keys")
        << "[Size]\nMainHeight=600\n" + custom + "[size]\nMAINHEIGHT=600\nMainWidth=900\n"
        << custom << 600;
    QTest::newRow("BOM and CR LF")
        << QByteArray("\xEF\xBB\xBF[Size]\r\nMainHeight=600\r\n[Custom]\r\nkeep=yes\r\n") << custom
        << 600;
    QTest::newRow("not a number") << QByteArray("[Size]\nMainHeight=6OO\n") << QByteArray() << 750;
  }
  void settingsFiles() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, kept);
    QFETCH(int, height);
    WriteAll(FIni, content);
    QCOMPARE(
        SettingsFile(FIni).ReadInteger(QStringLiteral("Size"), QStringLiteral("MainHeight"), 750),
        height);
    Session();
    QVERIFY2(FServices->boxes.isEmpty(), qPrintable(FServices->BoxTexts().join('|')));
    const QByteArray after = ReadAll(FIni);
    QVERIFY(after.contains("MainHeight="));
    if (!kept.isEmpty()) QVERIFY(after.contains(kept));
    QCOMPARE(after.count("MainHeight="), 1);
  }

  // Places the program cannot write: the file stays byte for byte, and
  // nobody is told (the saves stop silently).
  void unwritableSettings_data() {
    QTest::addColumn<QString>("what");
    for (const char* what : {"read-only disk", "a folder in its place", "full disk"})
      QTest::newRow(what) << QString(what);
  }
  void unwritableSettings() {
    QFETCH(QString, what);
    const QByteArray content = "[Size]\nMainHeight=600\n[MRIP]\na=10.1.1.1\n; note\n";
    if (what == QLatin1String("a folder in its place")) {
      QDir().mkpath(FIni + QStringLiteral("/inside"));
    } else {
      if (!ScratchMounts::Available()) QSKIP("no private mounts on this machine");
      QVERIFY(ScratchMounts::MountSmallDisk(FFolder, 64 * 1024));
      WriteAll(FIni, content);
      if (what == QLatin1String("full disk"))
        ScratchMounts::FillDisk(FFolder);
      else
        QVERIFY(ScratchMounts::MakeReadOnly(FFolder));
    }
    Session();
    // The options dialog's Ok writes too.
    {
      std::unique_ptr<TfrmMain> m(CreateOrvexWindows());
      m->frmLOptions->WriteOptions();
    }
    QVERIFY2(FServices->boxes.isEmpty(), qPrintable(FServices->BoxTexts().join('|')));
    if (what == QLatin1String("a folder in its place"))
      QVERIFY(QFileInfo(FIni + QStringLiteral("/inside")).isDir());
    else
      QCOMPARE(ReadAll(FIni), content);
  }

  // A settings folder that does not exist is made at start.
  void missingFolder() {
    const QString deep = FDir->filePath(QStringLiteral("a/b"));
    qputenv("XDG_CONFIG_HOME", deep.toLocal8Bit());
    Session();
    QVERIFY(ReadAll(deep + QStringLiteral("/orvex/orvex.ini")).contains("MainHeight="));
  }

  // The special-address list in the working folder, as the user may find it;
  // "rows" is what the chart shows.
  void reservedLists_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rows");
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
      many += QByteArray::number(i >> 16) + '.' + QByteArray::number((i >> 8) & 255) + '.' +
              QByteArray::number(i & 255) + ".0/24;Block " + QByteArray::number(i) + ";RFC " +
              QByteArray::number(i) + '\n';
    QTest::newRow("NUL bytes") << QByteArray(
                                      "10.0.0.0/8;Private\0;RFC1918\n\0\0\n127.0.0.0/8;Loop\n", 48)
                               << 2;
    QTest::newRow("100,000 lines") << many << 100000;
    QTest::newRow("lines of 10,000 characters")
        << "10.0.0.0/8;" + QByteArray(10000, 'u') + "\n" + QByteArray(10000, ';') +
               "\n127.0.0.0/8;Loopback;RFC1122\n"
        << 2;
    QTest::newRow("CR LF") << QByteArray("10.0.0.0/8;Private;RFC1918\r\n127.0.0.0/8;Loop;R\r\n")
                           << 2;
    QTest::newRow("binary garbage") << Garbage(20000) << -1;
    QTest::newRow("empty") << QByteArray() << 0;
  }
  void reservedLists() {
    QFETCH(QByteArray, content);
    QFETCH(int, rows);
    WriteAll(QDir::current().filePath(QStringLiteral("reserved.lst")), content);
    auto* calc = new TcIpCalc;
    QMdiArea area;
    area.addSubWindow(calc);
    TOptionsRec options;
    options.IniFileName = FIni;
    calc->ApplyOptions(options);
    calc->show();
    auto* chart = calc->findChild<QTreeWidget*>(QStringLiteral("lvIPv4Chart"));
    QVERIFY(chart);
    if (rows >= 0) QCOMPARE(chart->topLevelItemCount(), rows);
    calc->Examine(true);
    QVERIFY(FServices->boxes.isEmpty());
  }

  // Host list files as the user may open them into a list of 192.168.1.0/24;
  // "names" are the names of rows 0 and 1 afterwards. The file is only read.
  void hostListFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("what");  // "file", "deleted" (after the dialog), "folder"
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("box");  // %1: the path
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
      many += "192.168.1." + QByteArray::number(i % 300) + ";n" + QByteArray::number(i) + '\n';
    QTest::newRow("NUL bytes") << QByteArray("192.168.1.0;a\0b\n\0\n192.168.1.1;c\n", 32) << "file"
                               << "a|c" << QString();
    QTest::newRow("100,000 lines") << many << "file"
                                   << "n0|n1" << QString();
    QTest::newRow("lines of 10,000 characters")
        << "192.168.1.0;" + QByteArray(10000, 'x') + "\n" + QByteArray(10000, ';') +
               "\n192.168.1.1;b\n"
        << "file" << QString(10000, QLatin1Char('x')) + "|b" << QString();
    QTest::newRow("CR LF") << QByteArray("192.168.1.0;a\r\n192.168.1.1;b\r\n") << "file"
                           << "a|b" << QString();
    QTest::newRow("binary garbage") << Garbage(20000) << "file"
                                    << "nwc0a80100|hc0a80101"
                                    << "Did not find any IP address match.";
    QTest::newRow("deleted after the dialog") << QByteArray("192.168.1.0;a\n") << "deleted"
                                              << "nwc0a80100|hc0a80101"
                                              << "Couldn't open %1";
    QTest::newRow("a folder in its place") << QByteArray() << "folder"
                                           << "nwc0a80100|hc0a80101"
                                           << "Couldn't open %1";
  }
  void hostListFiles() {
    QFETCH(QByteArray, content);
    QFETCH(QString, what);
    QFETCH(QString, names);
    QFETCH(QString, box);
    const QString path = FDir->filePath(QStringLiteral("hosts.csv"));
    if (what == QLatin1String("folder"))
      QDir().mkpath(path);
    else
      WriteAll(path, content);
    TfrmHostList editor;
    editor.FTitle = QStringLiteral("IP Host List for 192.168.1.0/24");
    editor.FNetwork = HostListNetwork(QStringLiteral("192.168.1.0/24"));
    editor.FCsvDelimiter = QLatin1Char(';');
    editor.show();
    FServices->openAnswer = path;
    FServices->filterAnswer = 1;  // semicolon
    if (what == QLatin1String("deleted")) QFile::remove(path);
    editor.OpenHostList();
    QCOMPARE(editor.model->Name(0) + QLatin1Char('|') + editor.model->Name(1), names);
    QCOMPARE(FServices->BoxTexts(), box.isEmpty() ? QStringList() : QStringList{box.arg(path)});
    if (what == QLatin1String("file")) QCOMPARE(ReadAll(path), content);
  }

  // Saving a host list onto a full disk: the old file stays as it was.
  void hostListOnAFullDisk() {
    if (!ScratchMounts::Available()) QSKIP("no private mounts on this machine");
    QVERIFY(ScratchMounts::MountSmallDisk(FFolder, 64 * 1024));
    const QString path = FFolder + QStringLiteral("/hosts.csv");
    const QByteArray old = "IP Address;Host Name\n192.168.1.0;keep\n";
    WriteAll(path, old);
    ScratchMounts::FillDisk(FFolder);
    TfrmHostList editor;
    editor.FTitle = QStringLiteral("IP Host List for 10.0.0.0/20");
    editor.FNetwork = HostListNetwork(QStringLiteral("10.0.0.0/20"));
    editor.show();
    editor.FModified = true;
    FServices->saveAnswer = path;
    FServices->filterAnswer = 1;
    editor.SaveHostList();
    QCOMPARE(FServices->BoxTexts(), QStringList{QStringLiteral("Couldn't write ") + path});
    QCOMPARE(ReadAll(path), old);
    QVERIFY(editor.FModified);
  }
};

int main(int argc, char** argv) {
  // Before any thread starts.
  ScratchMounts::Enter();
  QApplication app(argc, argv);
  TestDamagedFiles test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_damagedfiles.moc"
