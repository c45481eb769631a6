// What the IPv6 Calculator shows, computed without a window: the result
// lines of an address, the messages for bad input, pages of subnets at both
// ends of the 128-bit range, the EUI-64 builder and the saved state.
#include <QTemporaryDir>
#include <QtTest>

#include "common/settingsstore.h"
#include "ipv6calc/ipv6calccore.h"
#include "testfiles.h"

class TestIpv6CalcCore : public QObject {
  Q_OBJECT
  ipv6reserved FBlocks;

 private slots:
  void initTestCase();
  void lines_data();
  void lines();
  void badInput_data();
  void badInput();
  void prefixInTextWins();
  void resultText();
  void subnetPages_data();
  void subnetPages();
  void pageMoves_data();
  void pageMoves();
  void fromMac_data();
  void fromMac();
  void builtInList();
  void stateRoundTrip();
  void stateDefaults_data();
  void stateDefaults();
  void history();
};

void TestIpv6CalcCore::initTestCase() {
  // Only the copy built into the program: the test must not depend on files
  // lying about in its working directory.
  FBlocks.read(ReadReserved6({QStringLiteral(":/data/reserved6.lst")}).toStdString());
  QVERIFY(FBlocks.rows().size() > 20);
}

void TestIpv6CalcCore::lines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("prefix");
  QTest::addColumn<int>("line");
  QTest::addColumn<QString>("expected");
  const QString doc = QStringLiteral("2001:db8:abcd:12::1/64");
  QTest::newRow("doc compressed") << doc << 0 << int(v6Compressed) << "2001:db8:abcd:12::1";
  QTest::newRow("doc expanded") << doc << 0 << int(v6Expanded)
                                << "2001:0db8:abcd:0012:0000:0000:0000:0001";
  QTest::newRow("doc network") << doc << 0 << int(v6Network) << "2001:db8:abcd:12::/64";
  QTest::newRow("doc range") << doc << 0 << int(v6Range)
                             << "2001:db8:abcd:12:: - 2001:db8:abcd:12:ffff:ffff:ffff:ffff";
  QTest::newRow("doc count") << doc << 0 << int(v6Count) << "18446744073709551616 (2^64)";
  QTest::newRow("doc /64s") << doc << 0 << int(v6Subnets64) << "1";
  QTest::newRow("doc type") << doc << 0 << int(v6Type) << "Documentation (RFC3849), 2001:db8::/32";
  QTest::newRow("doc zone") << doc << 0 << int(v6Zone) << "none";
  QTest::newRow("doc ptr") << doc << 0 << int(v6Ptr)
                           << "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.2.1.0.0.d.c.b.a.8.b.d.0.1.0.0.2."
                              "ip6.arpa\nZone: 2.1.0.0.d.c.b.a.8.b.d.0.1.0.0.2.ip6.arpa";
  QTest::newRow("doc solicited") << doc << 0 << int(v6SolicitedNode) << "ff02::1:ff00:1";
  QTest::newRow("::/0 count") << "::/0" << 0 << int(v6Count)
                              << "340282366920938463463374607431768211456 (2^128)";
  QTest::newRow("::/0 /64s") << "::/0" << 0 << int(v6Subnets64) << "18446744073709551616 (2^64)";
  QTest::newRow("::/0 scope") << "::/0" << 0 << int(v6Scope) << "none";
  QTest::newRow("/127 count") << "2001:db8::/127" << 0 << int(v6Count) << "2 (2^1)";
  QTest::newRow("/65 /64s") << "2001:db8::/65" << 0 << int(v6Subnets64) << "none (longer than /64)";
  QTest::newRow("/128 count") << "::1" << 128 << int(v6Count) << "1";
  QTest::newRow("::1 type") << "::1" << 128 << int(v6Type) << "Loopback (RFC4291), ::1/128";
  QTest::newRow("last network range") << "ffff:ffff::/32" << 0 << int(v6Range)
                                      << "ffff:ffff:: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff";
  QTest::newRow("fe80::1%eth0 zone") << "fe80::1%eth0" << 64 << int(v6Zone) << "eth0";
  QTest::newRow("fe80::1%eth0 scope") << "fe80::1%eth0" << 64 << int(v6Scope) << "Link-Local (2)";
  QTest::newRow("ff02::1:ff00:1 mac")
      << "ff02::1:ff00:1" << 128 << int(v6MulticastMac) << "33:33:ff:00:00:01";
  QTest::newRow("ff02::1:ff00:1 solicited")
      << "ff02::1:ff00:1" << 128 << int(v6SolicitedNode) << "none (multicast)";
  QTest::newRow("ff05::2 scope") << "ff05::2" << 128 << int(v6Scope)
                                 << "Site-Local (5), flags: permanent";
  QTest::newRow("2001:db8::1 no multicast mac")
      << "2001:db8::1" << 64 << int(v6MulticastMac) << "none (not multicast)";
  QTest::newRow("eui-64 mac") << "2001:db8::211:22ff:fe33:4455" << 64 << int(v6Mac)
                              << "00:11:22:33:44:55";
  QTest::newRow("eui-64 interface id")
      << "2001:db8::211:22ff:fe33:4455" << 64 << int(v6InterfaceId) << "0211:22ff:fe33:4455";
  QTest::newRow("no eui-64") << "2001:db8::1" << 64 << int(v6Mac) << "none (no modified EUI-64)";
  QTest::newRow("mapped") << "::ffff:192.0.2.1" << 96 << int(v6Embedded)
                          << "IPv4-mapped: 192.0.2.1";
  QTest::newRow("6to4") << "2002:c000:204::1" << 48 << int(v6Embedded) << "6to4: 192.0.2.4";
  QTest::newRow("nat64") << "64:ff9b::192.0.2.33" << 96 << int(v6Embedded) << "NAT64: 192.0.2.33";
  QTest::newRow("teredo") << "2001:0:4136:e378:8000:63bf:3fff:fdd2" << 32 << int(v6Embedded)
                          << "Teredo: server 65.54.227.120, client 192.0.2.45, port 40000";
  QTest::newRow("no embedding") << "2001:db8::1" << 64 << int(v6Embedded) << "none";
  QTest::newRow("unlisted global")
      << "2a00::1" << 64 << int(v6Type) << "Global Unicast (RFC4291), 2000::/3";
}

void TestIpv6CalcCore::lines() {
  QFETCH(QString, text);
  QFETCH(int, prefix);
  QFETCH(int, line);
  QFETCH(QString, expected);
  const TV6Result r = ExamineV6(text, prefix, FBlocks);
  QVERIFY2(r.ok(), qPrintable(r.error));
  QCOMPARE(r.lines.size(), int(v6LineCount));
  QCOMPARE(r.lines.at(line), expected);
}

void TestIpv6CalcCore::badInput_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("prefix");
  QTest::addColumn<QString>("message");
  const QString address = InvalidAddressText();
  const QString prefix = InvalidPrefixText();
  QTest::newRow("empty") << "" << 64 << address;
  QTest::newRow("blanks") << "   " << 64 << address;
  QTest::newRow("two ::") << "2001::db8::1" << 64 << address;
  QTest::newRow("five digits") << "2001:db8:12345::1" << 64 << address;
  QTest::newRow("nine groups") << "1:2:3:4:5:6:7:8:9" << 64 << address;
  QTest::newRow("IPv4") << "192.0.2.1" << 64 << address;
  QTest::newRow("blank inside") << "2001:db8:: 1" << 64 << address;
  QTest::newRow("non-ASCII") << QStringLiteral("2001:db8::\u00e91") << 64 << address;
  QTest::newRow("bad address and prefix") << "x/200" << 64 << address;
  QTest::newRow("/129") << "2001:db8::/129" << 64 << prefix;
  QTest::newRow("/-1") << "2001:db8::/-1" << 64 << prefix;
  QTest::newRow("/+4") << "2001:db8::/+4" << 64 << prefix;
  QTest::newRow("/ 64") << "2001:db8::/ 64" << 64 << prefix;
  QTest::newRow("/ empty") << "2001:db8::/" << 64 << prefix;
  QTest::newRow("/0064") << "2001:db8::/0064" << 64 << prefix;
  QTest::newRow("spin 129") << "2001:db8::" << 129 << prefix;
  QTest::newRow("spin -1") << "2001:db8::" << -1 << prefix;
}

void TestIpv6CalcCore::badInput() {
  QFETCH(QString, text);
  QFETCH(int, prefix);
  QFETCH(QString, message);
  const TV6Result r = ExamineV6(text, prefix, FBlocks);
  QCOMPARE(r.error, message);
  QVERIFY(!r.net.is_valid());
  QVERIFY(r.lines.isEmpty());
}

void TestIpv6CalcCore::prefixInTextWins() {
  const TV6Result r = ExamineV6(QStringLiteral(" 2001:db8::1/48 "), 64, FBlocks);
  QVERIFY(r.ok());
  QCOMPARE(r.net.prefix(), 48);
  QCOMPARE(r.lines.at(v6Network), QStringLiteral("2001:db8::/48"));
}

void TestIpv6CalcCore::resultText() {
  const TV6Result r = ExamineV6(QStringLiteral("2001:db8::1/64"), 0, FBlocks);
  const QStringList lines = V6ResultText(r).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), int(v6LineCount));
  QCOMPARE(lines.first(), QStringLiteral("Address: 2001:db8::1"));
  // The reverse zone line is folded into its line.
  QVERIFY(lines.at(v6Ptr).startsWith(QStringLiteral("Reverse DNS: 1.0.0")));
  QVERIFY(lines.at(v6Ptr).contains(QStringLiteral(" Zone: ")));
}

void TestIpv6CalcCore::subnetPages_data() {
  QTest::addColumn<QString>("network");
  QTest::addColumn<int>("target");
  QTest::addColumn<QString>("start");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QString>("firstRow");
  QTest::addColumn<QString>("lastRow");
  QTest::newRow("/48 into /64, first") << "2001:db8::/48" << 64 << "0" << 256 << "2001:db8::/64"
                                       << "2001:db8:0:ff::/64";
  QTest::newRow("/48 into /64, last")
      << "2001:db8::/48" << 64 << "65280" << 256 << "2001:db8:0:ff00::/64"
      << "2001:db8:0:ffff::/64";
  QTest::newRow("/32 into /64, last")
      << "2001:db8::/32" << 64 << "4294967040" << 256 << "2001:db8:ffff:ff00::/64"
      << "2001:db8:ffff:ffff::/64";
  QTest::newRow("/32 into /64, hex index")
      << "2001:db8::/32" << 64 << "0x10000" << 256 << "2001:db8:1::/64"
      << "2001:db8:1:ff::/64";
  QTest::newRow("/62 into /64, short page") << "2001:db8::/62" << 64 << "0" << 4 << "2001:db8::/64"
                                            << "2001:db8:0:3::/64";
  QTest::newRow("::/0 into /128, last")
      << "::/0" << 128 << "340282366920938463463374607431768211454" << 2
      << "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/128"
      << "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128";
  QTest::newRow("/127 into /128") << "2001:db8::/127" << 128 << "0" << 2 << "2001:db8::/128"
                                  << "2001:db8::1/128";
}

void TestIpv6CalcCore::subnetPages() {
  QFETCH(QString, network);
  QFETCH(int, target);
  QFETCH(QString, start);
  QFETCH(int, rows);
  QFETCH(QString, firstRow);
  QFETCH(QString, lastRow);
  const ipv6net net(network.toStdString());
  ipv6count first;
  QVERIFY(ipv6count::from_text(start.toStdString(), &first));
  // Ask for more rows than there are: the page stops at the last subnet.
  const auto page = V6SubnetPage(net, target, first, 256);
  QCOMPARE(int(page.size()), rows);
  QCOMPARE(page.front().network, firstRow);
  QCOMPARE(page.back().network, lastRow);
  const ipv6net last(page.back().network.toStdString());
  QCOMPARE(page.back().range,
           QString::fromStdString(last.first().compressed() + " - " + last.last().compressed()));
}

void TestIpv6CalcCore::pageMoves_data() {
  QTest::addColumn<QString>("network");
  QTest::addColumn<int>("target");
  QTest::addColumn<QString>("from");
  QTest::addColumn<int>("delta");
  QTest::addColumn<QString>("to");
  QTest::newRow("next") << "2001:db8::/48" << 64 << "0" << 256 << "256";
  QTest::newRow("previous at start stays") << "2001:db8::/48" << 64 << "0" << -256 << "0";
  QTest::newRow("previous near start") << "2001:db8::/48" << 64 << "100" << -256 << "0";
  QTest::newRow("next at last page stays") << "2001:db8::/48" << 64 << "65280" << 256 << "65280";
  QTest::newRow("next near last page") << "2001:db8::/48" << 64 << "65200" << 256 << "65280";
  QTest::newRow("fewer subnets than a page") << "2001:db8::/62" << 64 << "0" << 256 << "0";
  QTest::newRow("::/0 into /128, next near end")
      << "::/0" << 128 << "340282366920938463463374607431768211000" << 256
      << "340282366920938463463374607431768211200";
  QTest::newRow("::/0 into /128, next at end")
      << "::/0" << 128 << "340282366920938463463374607431768211200" << 256
      << "340282366920938463463374607431768211200";
}

void TestIpv6CalcCore::pageMoves() {
  QFETCH(QString, network);
  QFETCH(int, target);
  QFETCH(QString, from);
  QFETCH(int, delta);
  QFETCH(QString, to);
  const ipv6net net(network.toStdString());
  ipv6count start;
  QVERIFY(ipv6count::from_text(from.toStdString(), &start));
  QCOMPARE(V6IndexText(V6MovePage(net, target, start, delta, 256)), to);
}

void TestIpv6CalcCore::fromMac_data() {
  QTest::addColumn<QString>("prefix");
  QTest::addColumn<QString>("mac");
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("error");
  QTest::newRow("colons") << "2001:db8:1:2::/64"
                          << "00:11:22:33:44:55"
                          << "2001:db8:1:2:211:22ff:fe33:4455"
                          << "";
  QTest::newRow("dashes, upper case") << "2001:db8:1:2::"
                                      << "02-AA-BB-CC-DD-EE"
                                      << "2001:db8:1:2:aa:bbff:fecc:ddee"
                                      << "";
  QTest::newRow("dotted, host bits dropped") << "fe80::1/64"
                                             << "0011.2233.4455"
                                             << "fe80::211:22ff:fe33:4455"
                                             << "";
  QTest::newRow("/48 prefix") << "2001:db8::/48"
                              << "00:11:22:33:44:55"
                              << ""
                              << "The prefix must be a /64.";
  QTest::newRow("bad prefix") << "2001:db8::1::"
                              << "00:11:22:33:44:55"
                              << ""
                              << "Invalid IPv6 address.";
  QTest::newRow("short MAC") << "2001:db8::/64"
                             << "00:11:22:33:44"
                             << ""
                             << "Invalid MAC address.";
  QTest::newRow("MAC with a sign") << "2001:db8::/64"
                                   << "+0:11:22:33:44:55"
                                   << ""
                                   << "Invalid MAC address.";
  QTest::newRow("MAC not hex") << "2001:db8::/64"
                               << "00:11:22:33:44:5g"
                               << ""
                               << "Invalid MAC address.";
}

void TestIpv6CalcCore::fromMac() {
  QFETCH(QString, prefix);
  QFETCH(QString, mac);
  QFETCH(QString, address);
  QFETCH(QString, error);
  const TV6FromMac r = V6AddressFromMac(prefix, mac);
  QCOMPARE(r.address, address);
  QCOMPARE(r.error, error);
}

void TestIpv6CalcCore::builtInList() {
  QTemporaryDir dir;
  WriteAll(dir.filePath(QStringLiteral("reserved6.lst")), "2001:db8::/32;Mine;RFC0\n");
  const QStringList order = Reserved6Candidates(dir.path(), QStringLiteral("/nonexistent"));
  QCOMPARE(order.size(), 4);
  QCOMPARE(order.last(), QStringLiteral(":/data/reserved6.lst"));
  QString used;
  QCOMPARE(ReadReserved6(order, &used), QByteArray("2001:db8::/32;Mine;RFC0\n"));
  QCOMPARE(used, order.first());
  // Without a file anywhere the built-in copy is read.
  const QStringList none =
      Reserved6Candidates(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
  QVERIFY(!ReadReserved6(none, &used).isEmpty());
  QCOMPARE(used, none.last());
}

void TestIpv6CalcCore::stateRoundTrip() {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("orvex.ini"));
  WriteAll(ini, "[MRIP]\nLastIP=10.0.0.1\n");
  TV6State s;
  s.lastAddress = QStringLiteral("fe80::1%eth0");
  s.prefix = 10;
  s.subnetPrefix = 12;
  for (int i = 0; i < kV6HistorySize; ++i) s.history << QStringLiteral("2001:db8::%1").arg(i);
  QVERIFY(SaveV6State(ini, s));
  const TV6State r = LoadV6State(ini);
  QCOMPARE(r.lastAddress, s.lastAddress);
  QCOMPARE(r.prefix, 10);
  QCOMPARE(r.subnetPrefix, 12);
  QCOMPARE(r.history, s.history);
  // Other sections are left alone; a shorter history drops the old keys.
  s.history = QStringList{QStringLiteral("::1")};
  QVERIFY(SaveV6State(ini, s));
  QCOMPARE(LoadV6State(ini).history, s.history);
  QCOMPARE(SettingsFile(ini).ReadString(QStringLiteral("MRIP"), QStringLiteral("LastIP"), {}),
           QStringLiteral("10.0.0.1"));
}

void TestIpv6CalcCore::stateDefaults_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("address");
  QTest::addColumn<int>("prefix");
  QTest::addColumn<int>("subnetPrefix");
  QTest::newRow("no file") << QByteArray() << "2001:db8::1" << 64 << 64;
  QTest::newRow("prefix 129") << QByteArray("[IPv6]\nLastPrefix=129\nLastSubnetPrefix=-1\n")
                              << "2001:db8::1" << 64 << 64;
  QTest::newRow("not numbers") << QByteArray("[IPv6]\nLastPrefix=x\nLastSubnetPrefix=4x\n")
                               << "2001:db8::1" << 64 << 64;
  QTest::newRow("empty address") << QByteArray("[IPv6]\nLastAddress=\nLastPrefix=0\n")
                                 << "2001:db8::1" << 0 << 64;
}

void TestIpv6CalcCore::stateDefaults() {
  QFETCH(QByteArray, content);
  QFETCH(QString, address);
  QFETCH(int, prefix);
  QFETCH(int, subnetPrefix);
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("orvex.ini"));
  if (!content.isEmpty()) WriteAll(ini, content);
  const TV6State s = LoadV6State(ini);
  QCOMPARE(s.lastAddress, address);
  QCOMPARE(s.prefix, prefix);
  QCOMPARE(s.subnetPrefix, subnetPrefix);
}

void TestIpv6CalcCore::history() {
  QStringList h;
  QVERIFY(AddV6History(h, QStringLiteral(" ::1 ")));
  QVERIFY(!AddV6History(h, QStringLiteral("::1")));
  QVERIFY(!AddV6History(h, QStringLiteral("  ")));
  for (int i = 0; i < 12; ++i) AddV6History(h, QStringLiteral("2001:db8::%1").arg(i));
  QCOMPARE(h.size(), kV6HistorySize);
  QCOMPARE(h.first(), QStringLiteral("2001:db8::11"));
  // An entry typed again moves to the front instead of appearing twice.
  QVERIFY(AddV6History(h, QStringLiteral("2001:db8::5")));
  QCOMPARE(h.count(QStringLiteral("2001:db8::5")), 1);
  QCOMPARE(h.first(), QStringLiteral("2001:db8::5"));
}

QTEST_GUILESS_MAIN(TestIpv6CalcCore)
#include "tst_ipv6calccore.moc"
