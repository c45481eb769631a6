// The calculator's computations without a window: mask readers, the result
// panel, the supernet search, the viewer labels and the history rules.
#include <QtTest>
#include <random>

#include "ipcalc/netcalc.h"

namespace {

std::string Std(const QString& s) {
  return s.toStdString();
}

// The inputs as the window hands them over after reading the fields.
NetCalcInput Input(const QString& addressText, const QString& maskText, bool classA, bool classDE) {
  NetCalcInput in;
  in.addressText = addressText;
  const ipv4host network(Std(addressText));
  if (network.is_valid()) {
    in.address = network.analysed_address;
  } else {
    QString t = addressText.section(QLatin1Char('/'), 0, 0).section(QLatin1Char(' '), 0, 0);
    in.address.assign_text(Std(t));
  }
  in.networkMask.assign_text(Std(maskText));
  in.maskText = maskText;
  in.classASupernets = classA;
  in.classDESubnets = classDE;
  return in;
}

// Slow reference: the shortest prefix that keeps the network address.
uint32_t ReferenceSupernet(uint32_t address, int prefix) {
  const uint32_t network = address & PrefixMaskValue(prefix);
  if (network == 0x80000000u) return PrefixMaskValue(qMax(1, prefix - 1));
  int q = prefix;
  while (q > 1 && (network & PrefixMaskValue(q - 1)) == network) --q;
  return PrefixMaskValue(q);
}

}  // namespace

class TestNetCalc : public QObject {
  Q_OBJECT
 private slots:
  void parseMaskText_data();
  void parseMaskText();
  void network_data();
  void network();
  void supernetMatchesReference();
  void viewerMaskCheck_data();
  void viewerMaskCheck();
  void usageOfLargeCounts();
  void historyToSave();
};

void TestNetCalc::parseMaskText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("mask");  // "" when unread
  QTest::addColumn<bool>("ok");
  QTest::newRow("255.255.255.0") << "255.255.255.0"
                                 << "255.255.255.0" << true;
  QTest::newRow("0.0.0.255 is read but no mask") << "0.0.0.255"
                                                 << "0.0.0.255" << false;
  QTest::newRow("-5") << "-5"
                      << "255.255.255.252" << true;
  QTest::newRow("0") << "0"
                     << "255.255.255.252" << true;
  QTest::newRow("2") << "2"
                     << "255.255.255.252" << true;
  QTest::newRow("3") << "3"
                     << "255.255.255.248" << true;
  QTest::newRow("100") << "100"
                       << "255.255.255.128" << true;
  QTest::newRow("254") << "254"
                       << "255.255.255.0" << true;
  QTest::newRow("255") << "255"
                       << "255.255.254.0" << true;
  QTest::newRow("16777214") << "16777214"
                            << "255.0.0.0" << true;
  QTest::newRow("16777215") << "16777215"
                            << "254.0.0.0" << false;
  QTest::newRow("1073741822") << "1073741822"
                              << "192.0.0.0" << false;
  QTest::newRow("1073741823") << "1073741823"
                              << "128.0.0.0" << false;
  QTest::newRow("2147483646") << "2147483646"
                              << "128.0.0.0" << false;
  QTest::newRow("2147483647") << "2147483647"
                              << "" << false;
  QTest::newRow("99999999999") << "99999999999"
                               << "" << false;
  QTest::newRow("1e3") << "1e3"
                       << "" << false;
  QTest::newRow("abc") << "abc"
                       << "" << false;
  QTest::newRow("empty") << ""
                         << "" << false;
  QTest::newRow("/1") << "/1"
                      << "128.0.0.0" << false;
  QTest::newRow("/8") << "/8"
                      << "255.0.0.0" << true;
  QTest::newRow("/31") << "/31"
                       << "255.255.255.254" << true;
  QTest::newRow("/32") << "/32"
                       << "255.255.255.255" << true;
  QTest::newRow("/0") << "/0"
                      << "" << false;
  QTest::newRow("/33") << "/33"
                       << "" << false;
  QTest::newRow("/-1") << "/-1"
                       << "" << false;
  QTest::newRow("/x") << "/x"
                      << "" << false;
  QTest::newRow("/") << "/"
                     << "" << false;
}

void TestNetCalc::parseMaskText() {
  QFETCH(QString, text);
  QFETCH(QString, mask);
  QFETCH(bool, ok);
  bool isOk = !ok;
  const ipv4 m = ParseMaskText(text, isOk);
  QCOMPARE(QtText(m.text()), mask);
  QCOMPARE(m.is_valid(), !mask.isEmpty());
  QCOMPARE(isOk, ok);
}

void TestNetCalc::network_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("classA");
  QTest::addColumn<bool>("classDE");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("network");
  QTest::addColumn<QString>("supernet");
  QTest::addColumn<QString>("prev");
  QTest::addColumn<QString>("next");
  QTest::addColumn<QString>("remarks");
  using R = NetCalcResult;
  QTest::newRow("192.168.1.10/24")
      << "192.168.1.10"
      << "255.255.255.0" << true << true << int(R::Network) << "192.168.1.0  255.255.255.0"
      << "255.255.255.0"
      << "192.168.0.0"
      << "192.168.2.0"
      << "Class C base, private (RFC1918) network";
  QTest::newRow("1.0.0.0/8 steps back to 0.0.0.0")
      << "1.0.0.0"
      << "255.0.0.0" << true << true << int(R::Network) << "1.0.0.0  255.0.0.0"
      << "255.0.0.0"
      << "0.0.0.0"
      << "2.0.0.0"
      << "Class A base";
  QTest::newRow("255.255.255.1/24 wraps to 0.0.0.0")
      << "255.255.255.1"
      << "255.255.255.0" << true << true << int(R::Network) << "255.255.255.0  255.255.255.0"
      << "255.255.255.0"
      << "255.255.254.0"
      << "0.0.0.0"
      << "Class E address.";
  QTest::newRow("200.1.2.3/1 supernet stays /1")
      << "200.1.2.3"
      << "128.0.0.0" << true << true << int(R::Network) << "128.0.0.0  128.0.0.0"
      << "128.0.0.0"
      << "0.0.0.0"
      << "0.0.0.0"
      << "Class B base, Supernet";
  QTest::newRow("10.0.0.0/16 class A off shows 255.0.0.0")
      << "10.0.0.0"
      << "255.255.0.0" << false << true << int(R::Network) << "10.0.0.0  255.255.0.0"
      << "255.0.0.0"
      << "9.255.0.0"
      << "10.1.0.0"
      << "Class A base, 8 bit subnetting, private (RFC1918) network";
  QTest::newRow("10.0.0.0/1 too big") << "10.0.0.0"
                                      << "128.0.0.0" << true << true << int(R::ZeroNetwork) << ""
                                      << ""
                                      << ""
                                      << ""
                                      << "Class A supernet is too big.";
  QTest::newRow("0.0.0.0/8 typed with prefix is this network")
      << "0.0.0.0/8"
      << "255.255.255.0" << true << true << int(R::ZeroNetwork) << ""
      << ""
      << ""
      << ""
      << "\"This network.\"";
  QTest::newRow("0.0.0.5/8 is no typed 0.0.0.0")
      << "0.0.0.5"
      << "255.0.0.0" << true << true << int(R::ZeroNetwork) << ""
      << ""
      << ""
      << ""
      << "Class A supernet is too big.";
  QTest::newRow("host mask 10.255.255.255")
      << "10.255.255.255"
      << "255.255.255.255" << true << true << int(R::HostMask) << ""
      << ""
      << ""
      << ""
      << "Class A broadcast address";
  QTest::newRow("host mask class D gives no remark")
      << "224.1.1.1"
      << "255.255.255.255" << true << true << int(R::HostMask) << ""
      << ""
      << ""
      << ""
      << "";
  QTest::newRow("mask given as 1000")
      << "172.16.9.9"
      << "1000" << true << true << int(R::Network) << "172.16.8.0  255.255.252.0"
      << "255.255.248.0"
      << "172.16.4.0"
      << "172.16.12.0"
      << "Class B base, 6 bit subnetting, private (RFC1918) "
         "network";
  QTest::newRow("wildcard is no network mask")
      << "10.1.1.1"
      << "0.0.0.255" << true << true << int(R::InvalidMask) << ""
      << ""
      << ""
      << ""
      << "";
  QTest::newRow("blank mask") << "10.1.1.1"
                              << "  " << true << true << int(R::MissingMask) << ""
                              << ""
                              << ""
                              << ""
                              << "";
  QTest::newRow("unreadable address")
      << "10.1.1"
      << "255.255.255.0" << true << true << int(R::NotAccepted) << ""
      << ""
      << ""
      << ""
      << "Wrong IP address.";
}

void TestNetCalc::network() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(bool, classA);
  QFETCH(bool, classDE);
  QFETCH(int, kind);
  QFETCH(QString, network);
  QFETCH(QString, supernet);
  QFETCH(QString, prev);
  QFETCH(QString, next);
  QFETCH(QString, remarks);
  const NetCalcResult r = ComputeNetwork(Input(address, mask, classA, classDE));
  QCOMPARE(int(r.kind), kind);
  QCOMPARE(r.network, network);
  QCOMPARE(r.supernet, supernet);
  QCOMPARE(r.prevNetworkText, prev);
  QCOMPARE(r.nextNetwork, next);
  QCOMPARE(r.remarks, remarks);
  // The address field never keeps a prefix or mask once examined.
  QVERIFY(!r.addressText.contains(QLatin1Char('/')));
  if (r.kind != NetCalcResult::Network) QCOMPARE(r.hostRange, QString());
}

void TestNetCalc::supernetMatchesReference() {
  std::mt19937 random(20261208);
  for (int n = 0; n < 20000; ++n) {
    const uint32_t address = random();
    const int prefix = 1 + static_cast<int>(random() % 32);
    if ((address & PrefixMaskValue(prefix)) == 0) continue;
    const uint32_t got = SupernetMask(address, PrefixMaskValue(prefix)).value();
    const uint32_t want = ReferenceSupernet(address, prefix);
    if (got != want)
      QFAIL(qPrintable(QStringLiteral("%1/%2: %3, expected %4")
                           .arg(QtText(ipv4(address).text()))
                           .arg(prefix)
                           .arg(QtText(ipv4(got).text()), QtText(ipv4(want).text()))));
  }
}

void TestNetCalc::viewerMaskCheck_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("classA");
  QTest::addColumn<bool>("usable");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("usage");
  QTest::newRow("wildcard 0.0.0.1") << "0.0.0.1" << false << true << "255.255.255.254" << false;
  QTest::newRow("short wildcard, class A on")
      << "1.255.255.255" << true << true << "254.0.0.0" << false;
  QTest::newRow("short wildcard, class A off")
      << "1.255.255.255" << false << false << "254.0.0.0" << false;
  QTest::newRow("248.0.0.0, class A off") << "248.0.0.0" << false << false << "248.0.0.0" << false;
  QTest::newRow("host count with blanks") << " 30 " << false << true << "255.255.255.224" << true;
  QTest::newRow("host count 2147483646, class A on")
      << "2147483646" << true << true << "128.0.0.0" << true;
  QTest::newRow("host count 2147483646, class A off")
      << "2147483646" << false << false << "128.0.0.0" << false;
  QTest::newRow("empty") << "" << true << false << "" << false;
}

void TestNetCalc::viewerMaskCheck() {
  QFETCH(QString, text);
  QFETCH(bool, classA);
  QFETCH(bool, usable);
  QFETCH(QString, mask);
  QFETCH(bool, usage);
  const ViewerMaskCheck c = CheckViewerMask(text, classA);
  QCOMPARE(c.usable, usable);
  QCOMPARE(QtText(c.mask.text()), mask);
  QCOMPARE(c.usageShown, usage);
  QCOMPARE(c.empty, text.isEmpty());
}

void TestNetCalc::usageOfLargeCounts() {
  // count * 100 does not fit 32 bits here.
  const ViewerMaskCheck c = CheckViewerMask(QStringLiteral("2000000000"), true);
  QVERIFY(c.usable);
  const ViewerLabels l = ComputeViewerLabels(c.mask, true, c.usageShown, c.usageCount);
  QCOMPARE(l.prefix, QStringLiteral("/1"));
  QCOMPARE(l.usage, QStringLiteral("93%"));
}

void TestNetCalc::historyToSave() {
  QStringList history{"10.0.0.1", "10.0.0.2",    "255.255.255.0", "0.0.0.0",
                      "abc",      "10.9.0.0/16", "10.0.0.7",      "10.0.0.8",
                      "10.0.0.9", "10.0.0.10",   "10.0.0.11",     "172.16.0.0 255.240.0.0"};
  // The first two fall out as older than the last ten; masks, 0.0.0.0 and
  // unreadable texts are never written.
  QCOMPARE(HistoryToSave(history),
           (QStringList{"10.9.0.0/16", "10.0.0.7", "10.0.0.8", "10.0.0.9", "10.0.0.10", "10.0.0.11",
                        "172.16.0.0 255.240.0.0"}));
}

QTEST_APPLESS_MAIN(TestNetCalc)
#include "tst_netcalc.moc"
