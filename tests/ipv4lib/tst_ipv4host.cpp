#include <QRandomGenerator>
#include <QTest>

#include "ipv4lib/ipv4host.h"
#include "rowname.h"

namespace {
std::string_view view(const QByteArray& b) {
  return {b.constData(), std::size_t(b.size())};
}
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

class tst_ipv4host : public QObject {
  Q_OBJECT
 private slots:
  void read_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<QString>("joined");  // text()
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("broadcast");
    QTest::addColumn<QString>("next");
    QTest::addColumn<uint>("hosts");
    const auto ok = [](const QByteArray& t, uint f, const char* j, const char* n, const char* b,
                       const char* x, uint h) {
      QTest::newRow(rowName(t).constData()) << t << f << j << n << b << x << h;
    };
    ok("192.168.10.77/24", 0x05, "192.168.10.77 255.255.255.0", "192.168.10.0", "192.168.10.255",
       "192.168.11.0", 254);
    ok("192.168.10.0 255.255.255.0", 0x09, "192.168.10.0 255.255.255.0", "192.168.10.0",
       "192.168.10.255", "192.168.11.0", 254);
    ok("192.168.10.255/24", 0x11, "192.168.10.255 255.255.255.0", "192.168.10.0", "192.168.10.255",
       "192.168.11.0", 254);
    ok("10.0.0.1/32", 0x03, "10.0.0.1 255.255.255.255", "10.0.0.1", "10.0.0.1", "10.0.0.2", 1);
    ok("10.0.0.0/31", 0x05, "10.0.0.0 255.255.255.254", "10.0.0.0", "10.0.0.1", "10.0.0.2", 2);
    ok("10.0.0.1/31", 0x05, "10.0.0.1 255.255.255.254", "10.0.0.0", "10.0.0.1", "10.0.0.2", 2);
    ok("10.0.0.2/30", 0x05, "10.0.0.2 255.255.255.252", "10.0.0.0", "10.0.0.3", "10.0.0.4", 2);
    ok("10.0.0.0/240", 0x09, "10.0.0.0 255.255.255.0", "10.0.0.0", "10.0.0.255", "10.0.1.0", 254);
    ok("10.0.0.0/ 8", 0x09, "10.0.0.0 255.0.0.0", "10.0.0.0", "10.255.255.255", "11.0.0.0",
       16777214);
    ok("10.0.0.0/8.", 0x09, "10.0.0.0 255.0.0.0", "10.0.0.0", "10.255.255.255", "11.0.0.0",
       16777214);
    ok("10.0.0.0/+8", 0x09, "10.0.0.0 255.0.0.0", "10.0.0.0", "10.255.255.255", "11.0.0.0",
       16777214);
    ok("10.9.0.0/9.9", 0x05, "10.9.0.0 255.128.0.0", "10.0.0.0", "10.127.255.255", "10.128.0.0",
       8388606);
    ok("/10.0.0.1/8", 0x05, "10.0.0.1 255.192.0.0", "10.0.0.0", "10.63.255.255", "10.64.0.0",
       4194302);  // the prefix follows the first slash
    ok("10.0.0.1   255.0.0.0   extra", 0x05, "10.0.0.1 255.0.0.0", "10.0.0.0", "10.255.255.255",
       "11.0.0.0", 16777214);
    ok("  10.0.0.1 128.0.0.0", 0x05, "10.0.0.1 128.0.0.0", "0.0.0.0", "127.255.255.255",
       "128.0.0.0", 2147483646);
    ok("128.0.0.0/1", 0x09, "128.0.0.0 128.0.0.0", "128.0.0.0", "255.255.255.255", "0.0.0.0",
       2147483646);
    ok("255.255.255.255/24", 0x11, "255.255.255.255 255.255.255.0", "255.255.255.0",
       "255.255.255.255", "0.0.0.0", 254);
    ok("255.255.255.254/31", 0x05, "255.255.255.254 255.255.255.254", "255.255.255.254",
       "255.255.255.255", "0.0.0.0", 2);
    ok("255.255.255.255/32", 0x03, "255.255.255.255 255.255.255.255", "255.255.255.255",
       "255.255.255.255", "0.0.0.0", 1);
    ok("0.0.0.0/1", 0x09, "0.0.0.0 128.0.0.0", "0.0.0.0", "127.255.255.255", "128.0.0.0",
       2147483646);
    // Cut to 31 characters: the mask still fits, then loses its last digit.
    ok("10.0.0.1          255.255.255.0", 0x05, "10.0.0.1 255.255.255.0", "10.0.0.0", "10.0.0.255",
       "10.0.1.0", 254);

    const auto bad = [](const QByteArray& t) {
      QTest::newRow(rowName(t).constData()) << t << 0u << ""
                                            << ""
                                            << ""
                                            << "" << 0u;
    };
    for (const char* t : {"", "10.0.0.1", "10.0.0.0/33", "10.0.0.0/0", "10.0.0.0/x", "10.0.0.0/",
                          "10.0.0.0/8 ", "10.0.0.0/-8", "10.0.0.0/.8", "10.0.0.0/1e", "/24",
                          "10.0.0.256/8", "10.0.0.1 255.0.255.0", "10.0.0.1 0.0.0.0",
                          "10.0.0.1 10.0.0.1", "10.0.0.1 ", "10.0.0.1           255.255.255.0",
                          // wildcards are no network masks (the first was a fuzzing find)
                          "  0.0.0.8  0.0.0.7 |", "10.0.0.1 0.0.0.255", "10.0.0.0 127.255.255.255"})
      bad(t);
    bad(QByteArray("10.0.0.1/2\0", 11));
    bad(QByteArray("10.0.0.1\0/24", 12));
    bad(QByteArray("10.0.0.1 255.0.0.0\0", 19));
    bad("10.0.0.1/\xC2\xB2");
    bad("10.0.0.\xD9\xA1 255.0.0.0");
    bad(QByteArray(10000, '/'));
    bad(QByteArray(10000, ' '));
    bad(QByteArray(10000, '1'));
    bad("10.0.0.1/" + QByteArray(9990, '8'));
  }
  void read() {
    QFETCH(QByteArray, text);
    QFETCH(uint, flags);
    QFETCH(QString, joined);
    const ipv4host h(view(text));
    QCOMPARE(QString::number(h.flags(), 16), QString::number(flags, 16));
    QCOMPARE(q(h.text()), joined);
    if (!flags) return;
    QFETCH(QString, network);
    QFETCH(QString, broadcast);
    QFETCH(QString, next);
    QFETCH(uint, hosts);
    QCOMPARE(q(h.network_text()), network);
    QCOMPARE(q(h.network.text()), network);
    QCOMPARE(q(h.broadcast_text()), broadcast);
    QCOMPARE(q(h.next_network_text()), next);
    QCOMPARE(h.host_count(), hosts);
  }

  // Each analysis checked against plain arithmetic, for numbers and both notations.
  void randomNetworksMatchArithmetic() {
    QRandomGenerator rng(7);
    for (int i = 0; i < 20000; ++i) {
      const uint32_t a = i % 3 ? rng.generate() : (rng.bounded(2) ? 0u : ~0u) ^ rng.bounded(4u);
      const int p = int(rng.bounded(1, 33));
      const uint32_t m = ~0u << (32 - p);
      const uint32_t net = a & m, bc = net | ~m;
      const uint32_t want = p == 32    ? 0x03
                            : p == 31  ? 0x05
                            : a == net ? 0x09
                            : a == bc  ? 0x11
                                       : 0x05;
      const uint32_t hosts = p == 32 ? 1 : p == 31 ? 2 : uint32_t((uint64_t{1} << (32 - p)) - 2);
      const std::string addr = ipv4(a).text();
      for (const ipv4host& h : {ipv4host(a, m), ipv4host(addr + "/" + std::to_string(p)),
                                ipv4host(addr + " " + ipv4(m).text())}) {
        if (h.flags() != want || h.network_value() != net || h.broadcast_value() != bc ||
            h.next_network_value() != bc + 1 || h.host_count() != hosts || !h.contains(addr))
          QFAIL(qPrintable(QString("%1/%2 read as %3").arg(q(addr)).arg(p).arg(q(h.text()))));
      }
    }
  }

  void failedReadKeepsMask() {
    ipv4host h("172.16.0.9/16");
    h.assign_text("10.0.0.1");  // neither form: nothing assigned
    QCOMPARE(q(h.text()), QString("172.16.0.9 255.255.0.0"));
    h.assign_text("10.0.0.1/99");
    QCOMPARE(q(h.text()), QString("10.0.0.1 255.255.0.0"));
    h.assign_text("10.0.1.1 ");
    QCOMPARE(q(h.text()), QString("10.0.1.1 255.255.0.0"));
    // A failed analysis leaves the analysed members as they were.
    h.assign_text("10.0.0.1 255.0.255.0");
    QVERIFY(!h.is_valid());
    QCOMPARE(q(h.analysed_address.text()), QString("10.0.1.1"));
    QCOMPARE(q(h.analysed_mask.text()), QString("255.255.0.0"));
    QVERIFY(!ipv4host(0x0A000001u, 0xFF00FF00u).is_valid());
    QVERIFY(!ipv4host(0x0A000001u, 0u).is_valid());
  }

  void contains_data() {
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("inside");
    QTest::newRow("first") << "192.168.10.77/24"
                           << "192.168.10.0" << true;
    QTest::newRow("last") << "192.168.10.77/24"
                          << "192.168.10.255" << true;
    QTest::newRow("inside") << "192.168.10.77/24"
                            << "192.168.10.200" << true;
    QTest::newRow("next") << "192.168.10.77/24"
                          << "192.168.11.1" << false;
    QTest::newRow("below") << "192.168.10.77/24"
                           << "192.168.9.255" << false;
    QTest::newRow("unreadable outside") << "10.0.0.0/8"
                                        << "10.0.0" << false;
    QTest::newRow("unreadable as 0.0.0.0") << "0.0.0.0/8"
                                           << "junk" << true;
  }
  void contains() {
    QFETCH(QString, network);
    QFETCH(QString, address);
    QFETCH(bool, inside);
    QCOMPARE(ipv4host(network.toStdString()).contains(address.toStdString()), inside);
  }

  void widenAndNarrow() {
    ipv4host h("10.0.0.0/8");
    h.narrow_mask();
    QCOMPARE(h.prefix_length(), 9);
    QCOMPARE(h.flags(), 0x09u);
    QCOMPARE(q(h.analysed_mask.text()), QString("255.128.0.0"));

    ipv4host w("192.168.11.5/24");
    w.widen_mask();
    QCOMPARE(q(w.mask_text()), QString("255.255.254.0"));
    QCOMPARE(q(w.analysed_mask.text()), QString("255.255.254.0"));
    QCOMPARE(w.flags(), 0x05u);                              // not re-analysed
    QCOMPARE(q(w.network.text()), QString("192.168.11.0"));  // still the old network
    QCOMPARE(q(w.network_text()), QString("192.168.10.0"));  // computed from the new mask
    QCOMPARE(w.host_count(), 510u);

    ipv4host top("1.2.3.4/32");
    top.narrow_mask();
    QCOMPARE(top.prefix_length(), 32);
    QCOMPARE(top.flags(), 0x03u);
  }
};

QTEST_APPLESS_MAIN(tst_ipv4host)
#include "tst_ipv4host.moc"
