// The calculator's computations without a window: the mask readers, results
// the window tests do not reach, the supernet search against a slow
// reference, the viewer's usage line and the history rules.
#include <QtTest>
#include <random>

#include "ipcalc/netcalc.h"
#include "ipcalc/subnetmodel.h"

namespace {

// The inputs as the window hands them over after reading the fields.
NetCalcInput Input(const QString& addressText, const QString& maskText, bool classA) {
  NetCalcInput in;
  in.addressText = addressText;
  const ipv4host network(addressText.toStdString());
  if (network.is_valid())
    in.address = network.analysed_address;
  else
    in.address.assign_text(addressText.section(QLatin1Char('/'), 0, 0).toStdString());
  in.networkMask.assign_text(maskText.toStdString());
  in.maskText = maskText;
  in.classASupernets = classA;
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

const char* RowName(const char* text) {
  return *text ? text : "empty";
}

}  // namespace

class TestNetCalc : public QObject {
  Q_OBJECT
 private slots:
  void parseMaskText_data();
  void parseMaskText();
  void addressInput_data();
  void addressInput();
  void network_data();
  void network();
  void leftAsItIs_data();
  void leftAsItIs();
  void supernetMatchesReference();
  void viewerMaskCheck_data();
  void viewerMaskCheck();
  void historyToSave();
  void addressField_data();
  void addressField();
  void examineAgainLeavesNothingBehind();
  void subnetworkHosts_data();
  void subnetworkHosts();
};

void TestNetCalc::parseMaskText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("mask");  // "" when unread
  QTest::addColumn<bool>("ok");
  const struct {
    const char *text, *mask;
    bool ok;
  } rows[] = {
      {"255.255.255.0", "255.255.255.0", true},
      {"0.0.0.255", "0.0.0.255", false},
      {"-5", "255.255.255.252", true},
      {"2", "255.255.255.252", true},
      {"3", "255.255.255.248", true},
      {"254", "255.255.255.0", true},
      {"255", "255.255.254.0", true},
      {"16777214", "255.0.0.0", true},
      {"16777215", "254.0.0.0", false},
      {"1073741822", "192.0.0.0", false},
      {"1073741823", "128.0.0.0", false},
      {"2147483646", "128.0.0.0", false},
      {"2147483647", "", false},
      {"99999999999", "", false},
      {"1e3", "", false},
      {"", "", false},
      {"/1", "128.0.0.0", false},
      {"/8", "255.0.0.0", true},
      {"/31", "255.255.255.254", true},
      {"/32", "255.255.255.255", true},
      {"/0", "", false},
      {"/-1", "", false},
      {"/", "", false},
  };
  for (const auto& r : rows)
    QTest::newRow(RowName(r.text)) << QString(r.text) << QString(r.mask) << r.ok;
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

void TestNetCalc::addressInput_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("read");  // text|network|kept text|address|mask
  const struct {
    const char *name, *field, *read;
  } rows[] = {
      {"10.1.2.3/16 with blanks", " \t10.1.2.3/16 \x01",
       "10.1.2.3/16|1|10.1.2.3/16|10.1.2.3|255.255.0.0"},
      {"10.1.2.3 255.255.0.0", "10.1.2.3 255.255.0.0",
       "10.1.2.3 255.255.0.0|1|10.1.2.3 255.255.0.0|10.1.2.3|255.255.0.0"},
      {"10.1.2.3/33", "10.1.2.3/33", "10.1.2.3/33|0|10.1.2.3|10.1.2.3|"},
      {"10.1.2.3 255.0.255.0", "10.1.2.3 255.0.255.0", "10.1.2.3 255.0.255.0|0|10.1.2.3|10.1.2.3|"},
      {"abc/24", "abc/24", "abc/24|0|abc||"},
      {"10.1.2.3 /8", "10.1.2.3 /8", "10.1.2.3 /8|0|10.1.2.3|10.1.2.3|"},
      {"empty", "", "|0|||"},
  };
  for (const auto& r : rows) QTest::newRow(r.name) << QString(r.field) << QString(r.read);
}

void TestNetCalc::addressInput() {
  QFETCH(QString, field);
  QFETCH(QString, read);
  const AddressInput in = ReadAddressInput(field);
  QCOMPARE(QStringList({in.text, QString::number(in.network), in.addressText,
                        QtText(in.address.text()), in.maskText})
               .join(QLatin1Char('|')),
           read);
}

void TestNetCalc::network_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("classA");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("lines");  // network|supernet|previous|next|remarks
  using R = NetCalcResult;
  const struct {
    const char *address, *mask;
    bool classA;
    R::Kind kind;
    const char* lines;
  } rows[] = {
      {"1.0.0.0", "255.0.0.0", true, R::Network,
       "1.0.0.0  255.0.0.0|255.0.0.0|0.0.0.0|2.0.0.0|"
       "Class A base"},
      {"255.255.255.1", "255.255.255.0", true, R::Network,
       "255.255.255.0  255.255.255.0|255.255.255.0|255.255.254.0|0.0.0.0|Class E address."},
      {"200.1.2.3", "128.0.0.0", true, R::Network,
       "128.0.0.0  128.0.0.0|128.0.0.0|0.0.0.0|0.0.0.0|Class B base, Supernet"},
      {"10.0.0.0", "255.255.0.0", false, R::Network,
       "10.0.0.0  255.255.0.0|255.0.0.0|9.255.0.0|10.1.0.0|"
       "Class A base, 8 bit subnetting, private (RFC1918) network"},
      {"0.0.0.0/8", "255.255.255.0", true, R::ZeroNetwork, "||||\"This network.\""},
      {"0.0.0.5", "255.0.0.0", true, R::ZeroNetwork, "||||Class A supernet is too big."},
      {"224.1.1.1", "255.255.255.255", true, R::HostMask, "||||"},
      {"10.1.1.1", "0.0.0.255", true, R::InvalidMask, "||||"},
      {"10.1.1.1", "  ", true, R::MissingMask, "||||"},
      {"10.1.1", "255.255.255.0", true, R::NotAccepted, "||||Wrong IP address."},
  };
  for (const auto& r : rows)
    QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(r.address, r.mask)))
        << QString(r.address) << QString(r.mask) << r.classA << int(r.kind) << QString(r.lines);
}

void TestNetCalc::network() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(bool, classA);
  QFETCH(int, kind);
  QFETCH(QString, lines);
  const NetCalcResult r = ComputeNetwork(Input(address, mask, classA));
  QCOMPARE(int(r.kind), kind);
  QCOMPARE(QStringList({r.network, r.supernet, r.prevNetworkText, r.nextNetwork, r.remarks})
               .join(QLatin1Char('|')),
           lines);
  // The address field never keeps a prefix once examined.
  QVERIFY(!r.addressText.contains(QLatin1Char('/')));
}

// What a result leaves unset the window keeps from the examination before.
void TestNetCalc::leftAsItIs_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("fields");  // hosts shown|subnet table|network text; "-" unset
  const struct {
    const char *address, *mask, *fields;
  } rows[] = {
      {"192.168.1.10", "255.255.255.0", "1|-|192.168.1.0"},
      {"224.1.1.1", "255.255.255.0", "1|1|224.1.1.0"},
      {"224.1.1.1", "128.0.0.0", "1|1|128.0.0.0"},
      {"224.1.1.1", "255.255.255.255", "0|-|-"},
      {"0.0.0.5", "255.0.0.0", "1|-|-"},
      {"10.1.1.1", "0.0.0.255", "-|-|-"},
      {"10.1.1", "255.255.255.0", "-|0|-"},
  };
  for (const auto& r : rows)
    QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(r.address, r.mask)))
        << QString(r.address) << QString(r.mask) << QString(r.fields);
}

void TestNetCalc::leftAsItIs() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, fields);
  const NetCalcResult r = ComputeNetwork(Input(address, mask, true));
  const auto flag = [](const std::optional<bool>& b) {
    return b ? QString::number(*b) : QStringLiteral("-");
  };
  QCOMPARE(QStringList({flag(r.numberOfHostsVisible), flag(r.subnetTable),
                        r.networkText.value_or(QStringLiteral("-"))})
               .join(QLatin1Char('|')),
           fields);
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
  QTest::addColumn<QString>("usage");  // "" when no usage line
  const struct {
    const char* text;
    bool classA, usable;
    const char *mask, *usage;
  } rows[] = {
      {"0.0.0.1", false, true, "255.255.255.254", ""},
      {"1.255.255.255", true, true, "254.0.0.0", ""},
      {"1.255.255.255", false, false, "254.0.0.0", ""},
      {"248.0.0.0", false, false, "248.0.0.0", ""},
      {" 30 ", false, true, "255.255.255.224", "100%"},
      {"2147483646", false, false, "128.0.0.0", ""},
      // count * 100 does not fit 32 bits.
      {"2000000000", true, true, "128.0.0.0", "93%"},
      {"", true, false, "", ""},
  };
  for (const auto& r : rows)
    QTest::newRow(
        qPrintable(QStringLiteral("%1%2").arg(RowName(r.text), r.classA ? ", class A" : "")))
        << QString(r.text) << r.classA << r.usable << QString(r.mask) << QString(r.usage);
}

void TestNetCalc::viewerMaskCheck() {
  QFETCH(QString, text);
  QFETCH(bool, classA);
  QFETCH(bool, usable);
  QFETCH(QString, mask);
  QFETCH(QString, usage);
  const ViewerMaskCheck c = CheckViewerMask(text, classA);
  QCOMPARE(c.usable, usable);
  QCOMPARE(QtText(c.mask.text()), mask);
  QCOMPARE(c.usageShown, !usage.isEmpty());
  QCOMPARE(c.empty, text.isEmpty());
  const ViewerLabels l = ComputeViewerLabels(c.mask, true, c.usageShown, c.usageCount);
  QCOMPARE(l.usage, usage);
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

void TestNetCalc::addressField_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("field");    // the field's text afterwards
  QTest::addColumn<QString>("address");  // "" when unreadable
  QTest::addColumn<QString>("mask");     // the mask the text carries
  const struct {
    const char *text, *field, *address, *mask;
  } rows[] = {
      {"10.1.2.3/16", "10.1.2.3/16", "10.1.2.3", "255.255.0.0"},
      {"10.1.2.3 255.255.255.0", "10.1.2.3 255.255.255.0", "10.1.2.3", "255.255.255.0"},
      {"10.1.2.3", "10.1.2.3", "10.1.2.3", ""},
      {"10.1.2.3/33", "10.1.2.3", "10.1.2.3", ""},
      {"10.1.2.3 255.0.255.0", "10.1.2.3", "10.1.2.3", ""},
      {"10.1.2.3 0.0.0.255", "10.1.2.3", "10.1.2.3", ""},
      {"abc/24", "abc", "", ""},
      {"", "", "", ""},
  };
  for (const auto& r : rows)
    QTest::newRow(RowName(r.text))
        << QString(r.text) << QString(r.field) << QString(r.address) << QString(r.mask);
}

void TestNetCalc::addressField() {
  QFETCH(QString, text);
  QFETCH(QString, field);
  QFETCH(QString, address);
  QFETCH(QString, mask);
  const TAddressField f = ReadAddressField(text.toStdString());
  QCOMPARE(QtText(f.text), field);
  QCOMPARE(QtText(f.address.text()), address);
  QCOMPARE(QtText(f.maskText), mask);
}

void TestNetCalc::examineAgainLeavesNothingBehind() {
  // One result reused for many examinations equals a fresh one every time.
  std::mt19937 random(7);
  TNetFacts reused;
  for (int n = 0; n < 5000; ++n) {
    const ipv4 address(random() % 4 ? uint32_t(random()) : uint32_t(random() % 16) << 28);
    const ipv4 mask(PrefixMaskValue(1 + int(random() % 32)));
    const bool classDE = random() % 2, classA = random() % 2;
    const std::string text = address.text() + (random() % 2 ? "/8" : "");
    ExamineNetwork(text, address, mask, classDE, classA, 1, reused);
    const TNetFacts fresh = ExamineNetwork(text, address, mask, classDE, classA, 1);
    std::string a, b;
    for (int line = nlNetwork; line <= nlIPv6; ++line) {
      AppendNetLine(reused, TNetLine(line), a);
      AppendNetLine(fresh, TNetLine(line), b);
    }
    QCOMPARE(reused.kind, fresh.kind);
    QCOMPARE(a, b);
    QCOMPARE(reused.remarks, fresh.remarks);
    QCOMPARE(reused.multicastMac, fresh.multicastMac);
    QCOMPARE(reused.addressText, fresh.addressText);
    QCOMPARE(reused.networkValue, fresh.networkValue);
    QCOMPARE(reused.hasHostRange, fresh.hasHostRange);
    QCOMPARE(reused.hasBroadcast, fresh.hasBroadcast);
  }
}

void TestNetCalc::subnetworkHosts_data() {
  QTest::addColumn<QString>("network");
  QTest::addColumn<int>("prefix");
  QTest::addColumn<QString>("hosts");
  QTest::newRow("/26") << "192.168.1.64" << 26 << "192.168.1.65 - 192.168.1.126";
  QTest::newRow("/30") << "10.0.0.4" << 30 << "10.0.0.5 - 10.0.0.6";
  QTest::newRow("/31: both addresses") << "10.0.0.4" << 31 << "10.0.0.4 - 10.0.0.5";
  QTest::newRow("/32: the address")
      << "255.255.255.255" << 32 << "255.255.255.255 - 255.255.255.255";
  QTest::newRow("/1") << "128.0.0.0" << 1 << "128.0.0.1 - 255.255.255.254";
}

void TestNetCalc::subnetworkHosts() {
  QFETCH(QString, network);
  QFETCH(int, prefix);
  QFETCH(QString, hosts);
  const TSubnetworkHosts h = SubnetworkHosts(ipv4(network.toStdString()).value(), prefix);
  QCOMPARE(QtText(ipv4(h.first).text()) + " - " + QtText(ipv4(h.last).text()), hosts);
}

QTEST_APPLESS_MAIN(TestNetCalc)
#include "tst_netcalc.moc"
