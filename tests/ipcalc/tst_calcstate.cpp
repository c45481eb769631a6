// The calculator's state in the settings file without a window: the keys and
// their order, which texts are kept, and how a damaged or partial section
// reads back.

#include <QTemporaryDir>
#include <QtTest>

#include "ipcalc/calcstate.h"
#include "testfiles.h"

class TestCalcState : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FPath;

  static TCalcState Full() {
    TCalcState s;
    s.history = QStringList{"192.168.1.10", "10.0.0.0/8", "172.16.0.1"};
    s.address = QStringLiteral("192.168.1.10");
    s.viewerMask = QStringLiteral("255.255.255.192");
    s.networkMask = QStringLiteral("255.255.0.0");
    s.subnetRow = 3;
    s.subnetworkRow = 17;
    return s;
  }

 private slots:
  void init() {
    QVERIFY(FDir.isValid());
    FPath = FDir.filePath(QStringLiteral("orvex.ini"));
    QFile::remove(FPath);
  }

  void roundTrip() {
    QVERIFY(SaveCalcState(FPath, Full()));
    QCOMPARE(ReadAll(FPath), QByteArray("[MRIP]\n"
                                        "a=192.168.1.10\n"
                                        "b=10.0.0.0/8\n"
                                        "c=172.16.0.1\n"
                                        "LastIP=192.168.1.10\n"
                                        "LastMask=255.255.255.192\n"
                                        "LastNetworkMask=255.255.0.0\n"
                                        "LastSubnetMaskIndex=3\n"
                                        "LastSubnetworkIndex=17\n"));
    const TCalcState back = LoadCalcState(FPath);
    const TCalcState want = Full();
    QCOMPARE(back.history, want.history);
    QCOMPARE(back.address, want.address);
    QCOMPARE(back.viewerMask, want.viewerMask);
    QCOMPARE(back.networkMask, want.networkMask);
    QCOMPARE(back.subnetRow, want.subnetRow);
    QCOMPARE(back.subnetworkRow, want.subnetworkRow);
  }

  // A text that would not read back as an address, network or dotted mask
  // leaves the value saved before.
  void unreadableTextsKeepTheSavedOnes_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("address abc") << "address"
                                 << "abc"
                                 << "LastIP";
    QTest::newRow("address empty") << "address" << QString() << "LastIP";
    QTest::newRow("address 10.0.0.1/33") << "address"
                                         << "10.0.0.1/33"
                                         << "LastIP";
    QTest::newRow("viewer mask /24") << "viewer"
                                     << "/24"
                                     << "LastMask";
    QTest::newRow("viewer mask 254") << "viewer"
                                     << "254"
                                     << "LastMask";
    QTest::newRow("network mask 255.255.255") << "network"
                                              << "255.255.255"
                                              << "LastNetworkMask";
  }
  void unreadableTextsKeepTheSavedOnes() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QVERIFY(SaveCalcState(FPath, Full()));
    TCalcState s = Full();
    (field == "address" ? s.address : field == "viewer" ? s.viewerMask : s.networkMask) = text;
    s.subnetRow = 5;
    QVERIFY(SaveCalcState(FPath, s));
    const TCalcState back = LoadCalcState(FPath);
    QCOMPARE(back.address, Full().address);
    QCOMPARE(back.viewerMask, Full().viewerMask);
    QCOMPARE(back.networkMask, Full().networkMask);
    QCOMPARE(back.subnetRow, 5);  // the writes after it still happen
    QVERIFY(ReadAll(FPath).contains(key.toLatin1() + '='));
  }

  // Of the history only the last ten entries that are an address with a
  // class or a network are written, from "a" on.
  void historyKeepsWhatReadsBack() {
    TCalcState s = Full();
    s.history = QStringList{"1.1.1.1", "2.2.2.2", "0.0.0.0", "3.3.3.3", "garbage", "4.4.4.4",
                            "5.5.5.5", "6.6.6.6", "7.7.7.7", "8.8.8.8", "9.9.9.9", "10.0.0.0/8"};
    QVERIFY(SaveCalcState(FPath, s));
    QCOMPARE(LoadCalcState(FPath).history,
             (QStringList{"3.3.3.3", "4.4.4.4", "5.5.5.5", "6.6.6.6", "7.7.7.7", "8.8.8.8",
                          "9.9.9.9", "10.0.0.0/8"}));
  }

  void loadsWhatAFileHolds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");  // history|address|viewer|network|rows
    QTest::newRow("no file") << QByteArray() << "|10.0.0.0|255.255.255.0|255.255.255.0|0 0";
    QTest::newRow("gap after b") << QByteArray("[MRIP]\na=1.1.1.1\nb=2.2.2.2\nd=4.4.4.4\n")
                                 << "1.1.1.1,2.2.2.2|10.0.0.0|255.255.255.0|255.255.255.0|0 0";
    QTest::newRow("same entry twice") << QByteArray("[MRIP]\na=1.1.1.1\nb=1.1.1.1\nc=3.3.3.3\n")
                                      << "1.1.1.1,3.3.3.3|10.0.0.0|255.255.255.0|255.255.255.0|0 0";
    QTest::newRow("empty LastIP") << QByteArray("[MRIP]\nLastIP=\nLastMask=\n")
                                  << "|10.0.0.0||255.255.255.0|0 0";
    QTest::newRow("rows not numbers")
        << QByteArray("[mrip]\nlastsubnetmaskindex=x\nLastSubnetworkIndex=7\n")
        << "|10.0.0.0|255.255.255.0|255.255.255.0|0 7";
  }
  void loadsWhatAFileHolds() {
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    if (!file.isEmpty()) WriteAll(FPath, file);
    const TCalcState s = LoadCalcState(FPath);
    QCOMPARE(QStringList({s.history.join(','), s.address, s.viewerMask, s.networkMask,
                          QStringLiteral("%1 %2").arg(s.subnetRow).arg(s.subnetworkRow)})
                 .join('|'),
             expected);
  }

  void unwritablePlaceWritesNothing() {
    const QString path = FDir.filePath(QStringLiteral("missing/orvex.ini"));
    QVERIFY(!SaveCalcState(path, Full()));
    QVERIFY(!QFile::exists(path));
  }
};

QTEST_GUILESS_MAIN(TestCalcState)
#include "tst_calcstate.moc"
